#include "config/RegionalSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::unique_ptr<config::RegionalSettings> settingsUnder(const char* locale)
{
    ::setenv("LC_ALL", locale, 1);
    auto settings = config::systemRegionalSettings();
    ::unsetenv("LC_ALL");
    return settings;
}

const config::CalendarTime kExampleMoment{2026, 12, 5, 14, 3, 12};

} // namespace

TEST(RegionalSettings, GermanLocaleGivesCommaAndGermanFormats)
{
    const auto german = settingsUnder("de_DE.UTF-8");
    EXPECT_EQ(german->decimalSeparator(), ",");
    EXPECT_EQ(german->shortDate(kExampleMoment), "05.12.2026");
    EXPECT_EQ(german->longTime(kExampleMoment), "14:03:12");
}

TEST(RegionalSettings, EnglishLocaleGivesPoint)
{
    const auto english = settingsUnder("en_US.UTF-8");
    EXPECT_EQ(english->decimalSeparator(), ".");
    EXPECT_EQ(english->shortDate(kExampleMoment), "12/05/2026");
}

TEST(RegionalSettings, UnknownLocaleFallsBackToC)
{
    const auto fallback = settingsUnder("xx_NOWHERE.UTF-8");
    EXPECT_EQ(fallback->decimalSeparator(), ".");
    EXPECT_EQ(fallback->longTime(kExampleMoment), "14:03:12");
}
