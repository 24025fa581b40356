#include "cli/CliOptions.h"

#include "support/Files.h"

#include <gtest/gtest.h>

using app::parseCliOptions;
using app::UsageError;

TEST(CliOptions, ReadsEveryOption)
{
    const auto options = parseCliOptions({"--snapshot", "s.json", "--texts", "German.dll", "--set", "DIR=/data/out", "--set",
                                          "NAMENSLAENGE=1", "--set", "DFQ=", "--now", "2026-12-05T14:03:12"});
    EXPECT_EQ(options.snapshot, "s.json");
    EXPECT_EQ(options.texts, "German.dll");
    ASSERT_EQ(options.settings.size(), 3u);
    EXPECT_EQ(options.settings[0], (std::pair<std::string, std::string>{"DIR", "/data/out"}));
    EXPECT_EQ(options.settings[1].first, "NAMENSL\xC3\x84NGE");
    EXPECT_EQ(options.settings[2].second, "");
    EXPECT_EQ(options.now, (config::CalendarTime{2026, 12, 5, 14, 3, 12}));
    EXPECT_FALSE(options.help);
    EXPECT_TRUE(parseCliOptions({"--help"}).help);
}

TEST(CliOptions, TakesEveryMomentOfTheDayAndOfTheYear)
{
    EXPECT_EQ(parseCliOptions({"--now", "2026-01-01T00:00:00"}).now, (config::CalendarTime{2026, 1, 1, 0, 0, 0}));
    EXPECT_EQ(parseCliOptions({"--now", "2026-12-31T23:59:59"}).now, (config::CalendarTime{2026, 12, 31, 23, 59, 59}));
}

TEST(CliOptions, RefusesWhatItDoesNotKnow)
{
    for (const testing_support::TableRow& arguments : testing_support::tableRows("cli/usage-errors.txt"))
        EXPECT_THROW(parseCliOptions(arguments), UsageError) << testing::PrintToString(arguments);
}
