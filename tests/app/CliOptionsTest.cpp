#include "app/CliOptions.h"

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

TEST(CliOptions, RefusesWhatItDoesNotKnow)
{
    EXPECT_THROW(parseCliOptions({"/a"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--snapshot"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "COLOUR=red"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "dir=/x"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--set", "DIR"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--now", "2026-12-05 14:03:12"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--now", "2026-13-05T14:03:12"}), UsageError);
    EXPECT_THROW(parseCliOptions({"--now", "2026-12-05T14:03:12Z"}), UsageError);
}
