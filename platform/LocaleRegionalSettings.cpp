#include "LocaleRegionalSettings.h"

#include <langinfo.h>

#include <ctime>

namespace config {

LocaleRegionalSettings::LocaleRegionalSettings()
{
    m_locale = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
    if (m_locale == static_cast<locale_t>(0))
        m_locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
}

LocaleRegionalSettings::~LocaleRegionalSettings()
{
    freelocale(m_locale);
}

std::string LocaleRegionalSettings::decimalSeparator() const
{
    const char* radix = nl_langinfo_l(RADIXCHAR, m_locale);
    return radix && *radix ? radix : ".";
}

std::string LocaleRegionalSettings::groupingSeparator() const
{
    const char* separator = nl_langinfo_l(THOUSEP, m_locale);
    return separator ? separator : "";
}

std::string LocaleRegionalSettings::shortDate(const CalendarTime& time) const
{
    return format(nl_langinfo_l(D_FMT, m_locale), time);
}

std::string LocaleRegionalSettings::longTime(const CalendarTime& time) const
{
    return format(nl_langinfo_l(T_FMT, m_locale), time);
}

std::string LocaleRegionalSettings::format(const char* pattern, const CalendarTime& time) const
{
    std::tm tm{};
    tm.tm_year = time.year - 1900;
    tm.tm_mon = time.month - 1;
    tm.tm_mday = time.day;
    tm.tm_hour = time.hour;
    tm.tm_min = time.minute;
    tm.tm_sec = time.second;
    tm.tm_isdst = -1;
    char buffer[128];
    const std::size_t length = strftime_l(buffer, sizeof buffer, pattern, &tm, m_locale);
    return std::string(buffer, length);
}

} // namespace config
