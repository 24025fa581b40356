#include "WindowsRegionalSettings.h"

#include "WindowsText.h"
#include "platform/PlatformError.h"

#include <windows.h>

#include <system_error>

namespace config {
namespace {

[[noreturn]] void fail(const char* what)
{
    const auto error = static_cast<int>(GetLastError());
    throw PlatformError(std::string("Cannot read the regional setting for ") + what + ": " +
                        std::system_category().message(error));
}

std::wstring localeInfo(LCTYPE type, const char* what)
{
    const int needed = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, nullptr, 0);
    if (needed <= 0)
        fail(what);
    std::wstring value(static_cast<std::size_t>(needed), L'\0');
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, value.data(), needed) <= 0)
        fail(what);
    value.resize(static_cast<std::size_t>(needed - 1)); // without the terminating zero
    return value;
}

SYSTEMTIME systemTime(const CalendarTime& time)
{
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    return st;
}

} // namespace

std::string WindowsRegionalSettings::decimalSeparator() const
{
    return utf8FromWide(localeInfo(LOCALE_SDECIMAL, "the decimal separator"));
}

std::string WindowsRegionalSettings::groupingSeparator() const
{
    return utf8FromWide(localeInfo(LOCALE_STHOUSAND, "the grouping separator"));
}

std::string WindowsRegionalSettings::shortDate(const CalendarTime& time) const
{
    const std::wstring picture = localeInfo(LOCALE_SSHORTDATE, "the short date");
    const SYSTEMTIME st = systemTime(time);
    wchar_t text[128];
    const int length = GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, picture.c_str(), text, 128, nullptr);
    if (length <= 0)
        fail("the short date");
    return utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
}

std::string WindowsRegionalSettings::longTime(const CalendarTime& time) const
{
    const std::wstring picture = localeInfo(LOCALE_STIMEFORMAT, "the long time");
    const SYSTEMTIME st = systemTime(time);
    wchar_t text[128];
    const int length = GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &st, picture.c_str(), text, 128);
    if (length <= 0)
        fail("the long time");
    return utf8FromWide(std::wstring_view(text, static_cast<std::size_t>(length - 1)));
}

} // namespace config
