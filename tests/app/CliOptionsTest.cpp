#include "cli/CliOptions.h"

#include "support/Files.h"

#include <gtest/gtest.h>

using app::parseCliOptions;
using app::UsageError;

// Every option is used by the process cases; here what none of them writes: the ASCII spelling of
// NAMENSLÄNGE and an empty value.
TEST(CliOptions, TakesNamenslaengeForItsStoreKeyAndAnEmptyValue)
{
    const auto options = parseCliOptions({"--set", "NAMENSLAENGE=1", "--set", "DFQ="});
    const std::vector<std::pair<std::string, std::string>> expected{{"NAMENSL\xC3\x84NGE", "1"}, {"DFQ", ""}};
    EXPECT_EQ(options.settings, expected);
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
