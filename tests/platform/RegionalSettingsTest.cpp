#include "platform/RegionalSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(RegionalSettings, FollowTheLocaleAndFallBackToC)
{
    const config::CalendarTime moment{2026, 12, 5, 14, 3, 12};
    const struct {
        const char* locale;
        const char* decimal;
        const char* date; // nullptr: not checked
        const char* time;
    } cases[] = {{"de_DE.UTF-8", ",", "05.12.2026", "14:03:12"},
                 {"en_US.UTF-8", ".", "12/05/2026", nullptr},
                 {"xx_NOWHERE.UTF-8", ".", nullptr, "14:03:12"}};
    for (const auto& c : cases) {
        ::setenv("LC_ALL", c.locale, 1);
        const auto settings = config::systemRegionalSettings();
        ::unsetenv("LC_ALL");
        EXPECT_EQ(settings->decimalSeparator(), c.decimal) << c.locale;
        if (c.date) {
            EXPECT_EQ(settings->shortDate(moment), c.date) << c.locale;
        }
        if (c.time) {
            EXPECT_EQ(settings->longTime(moment), c.time) << c.locale;
        }
    }
}
