#include "cli/CliOptions.h"

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
    EXPECT_THROW(parseCliOptions({"/a"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--snapshot"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "COLOUR=red"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "dir=/x"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "DIR"}), UsageError);
    for (const char* moment : {"2026-12-05 14:03:12", "2026-12-05T14:03:12Z", "2026-13-05T14:03:12", "2026-00-05T14:03:12",
                               "2026-12-32T14:03:12", "2026-12-00T14:03:12", "2026-12-05T24:03:12", "2026-12-05T14:60:12",
                               "2026-12-05T14:03:60", "2026-12-05T-1:03:12"})
        EXPECT_THROW(parseCliOptions({"--now", moment}), UsageError) << moment;
}
