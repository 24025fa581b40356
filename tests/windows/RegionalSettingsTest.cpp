#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const config::CalendarTime kExampleMoment{2026, 12, 5, 14, 3, 12};

// Sets one of the user's regional values (none: null) for the test and puts the old one back afterwards.
class RegionalValue {
public:
    RegionalValue(LCTYPE type, const wchar_t* value) : m_type(type)
    {
        wchar_t old[80] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, type, old, 80);
        m_old = old;
        EXPECT_TRUE(!value || SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value)) << "cannot set " << type;
    }
    ~RegionalValue() { SetLocaleInfoW(LOCALE_USER_DEFAULT, m_type, m_old.c_str()); }
    RegionalValue(const RegionalValue&) = delete;
    RegionalValue& operator=(const RegionalValue&) = delete;

private:
    LCTYPE m_type;
    std::wstring m_old;
};

} // namespace

// The suite runs under LC_ALL=en_US.UTF-8, Wine's English regional settings. The user's changes count
// at once, also for settings made before them, and keep texts beyond ASCII.
TEST(WindowsRegionalSettings, FollowTheUsersSettingsAtOnce)
{
    const auto regional = config::systemRegionalSettings();
    const struct {
        const wchar_t* decimal; // null: as Wine has it
        const wchar_t* date;
        const wchar_t* time;
        const char* expectedDecimal;
        const char* expectedDate;
        const char* expectedTime;
    } cases[] = {
        {nullptr, nullptr, nullptr, ".", "12/5/2026", "2:03:12 PM"},
        {L",", L"dd.MM.yyyy", L"HH:mm:ss", ",", "05.12.2026", "14:03:12"},
        {nullptr, L"d'\u00E9'M'\u00E9'yyyy", nullptr, ".", "5\xC3\xA9" "12\xC3\xA9" "2026", "2:03:12 PM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expectedDate);
        const RegionalValue decimal(LOCALE_SDECIMAL, c.decimal);
        const RegionalValue date(LOCALE_SSHORTDATE, c.date);
        const RegionalValue time(LOCALE_STIMEFORMAT, c.time);
        EXPECT_EQ(regional->decimalSeparator(), c.expectedDecimal);
        EXPECT_EQ(regional->shortDate(kExampleMoment), c.expectedDate);
        EXPECT_EQ(regional->longTime(kExampleMoment), c.expectedTime);
    }
}
