#pragma once

#include <locale.h>

#include "RegionalSettings.h"

namespace config {

// Regional settings of a POSIX locale: decimal separator, D_FMT and T_FMT as the C library gives them.
class LocaleRegionalSettings final : public RegionalSettings {
public:
    // The locale named by the environment; the "C" locale when that one is not installed.
    LocaleRegionalSettings();
    ~LocaleRegionalSettings() override;
    LocaleRegionalSettings(const LocaleRegionalSettings&) = delete;
    LocaleRegionalSettings& operator=(const LocaleRegionalSettings&) = delete;

    std::string decimalSeparator() const override;
    std::string groupingSeparator() const override;
    std::string shortDate(const CalendarTime& time) const override;
    std::string longTime(const CalendarTime& time) const override;

private:
    std::string format(const char* pattern, const CalendarTime& time) const;
    locale_t m_locale;
};

} // namespace config
