#include "config/RegionalSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

const config::CalendarTime kExampleMoment{2026, 12, 5, 14, 3, 12};

// Sets one of the user's regional values for the test and puts the old one back afterwards.
class RegionalValue {
public:
    RegionalValue(LCTYPE type, const wchar_t* value) : m_type(type)
    {
        wchar_t old[80] = L"";
        GetLocaleInfoW(LOCALE_USER_DEFAULT, type, old, 80);
        m_old = old;
        m_set = SetLocaleInfoW(LOCALE_USER_DEFAULT, type, value) != FALSE;
    }
    ~RegionalValue() { SetLocaleInfoW(LOCALE_USER_DEFAULT, m_type, m_old.c_str()); }
    RegionalValue(const RegionalValue&) = delete;
    RegionalValue& operator=(const RegionalValue&) = delete;
    bool isSet() const { return m_set; }

private:
    LCTYPE m_type;
    std::wstring m_old;
    bool m_set = false;
};

} // namespace

// The suite runs under LC_ALL=en_US.UTF-8: Wine's English regional settings.
TEST(WindowsRegionalSettings, EnglishLocaleGivesPointAndEnglishFormats)
{
    const auto regional = config::systemRegionalSettings();
    EXPECT_EQ(regional->decimalSeparator(), ".");
    EXPECT_EQ(regional->shortDate(kExampleMoment), "12/5/2026");
    EXPECT_EQ(regional->longTime(kExampleMoment), "2:03:12 PM");
}

TEST(WindowsRegionalSettings, FollowsTheUsersChangesAtOnce)
{
    const auto regional = config::systemRegionalSettings(); // made before the change
    const RegionalValue decimal(LOCALE_SDECIMAL, L",");
    const RegionalValue date(LOCALE_SSHORTDATE, L"dd.MM.yyyy");
    const RegionalValue time(LOCALE_STIMEFORMAT, L"HH:mm:ss");
    ASSERT_TRUE(decimal.isSet() && date.isSet() && time.isSet());
    EXPECT_EQ(regional->decimalSeparator(), ",");
    EXPECT_EQ(regional->shortDate(kExampleMoment), "05.12.2026");
    EXPECT_EQ(regional->longTime(kExampleMoment), "14:03:12");
}

TEST(WindowsRegionalSettings, KeepsTextsBeyondAscii)
{
    const auto regional = config::systemRegionalSettings();
    const RegionalValue date(LOCALE_SSHORTDATE, L"d'\u00E9'M'\u00E9'yyyy");
    ASSERT_TRUE(date.isSet());
    EXPECT_EQ(regional->shortDate(kExampleMoment), "5\xC3\xA9" "12\xC3\xA9" "2026");
}
