// 1,000 measurements appended one after the other to one file set and to one combined file: exactly
// 1,000 value blocks, each whole, in order, and nothing else changed.
#include "support/CliFixture.h"
#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

using namespace testing_support;

namespace {

constexpr int kMeasurements = 1000;

// The moment of measurement i: 05.12.2026 14:03:12 plus i seconds.
config::CalendarTime momentOf(int i)
{
    const int seconds = 14 * 3600 + 3 * 60 + 12 + i;
    return {2026, 12, 5, seconds / 3600, seconds / 60 % 60, seconds % 60};
}

std::string example(const std::string& name)
{
    return readBytes(testDataDir() / "conversions" / name);
}

class RepeatedRuns : public RunFixture, public ::testing::WithParamInterface<bool> {
protected:
    std::string stampOf(int i) const { return regional.shortDate(momentOf(i)) + "/" + regional.longTime(momentOf(i)); }

    // The example's value blocks of measurements from .. to - 1, each with its own stamp.
    std::string blocks(int from, int to) const
    {
        const std::string block = example("example/PUMP.dfx");
        const std::size_t at = block.find(stampOf(0));
        std::string all;
        for (int i = from; i < to; ++i)
            all += std::string(block).replace(at, stampOf(0).size(), stampOf(i));
        return all;
    }
};

} // namespace

TEST_P(RepeatedRuns, AThousandAppendsInOneProgram)
{
    const bool combined = GetParam();
    run.Settings.SettingKommentare = "1";
    run.Settings.SettingDFQ = combined ? "1" : "0";
    attach(exampleApplication());
    for (int i = 0; i < kMeasurements; ++i) {
        clock = app::FixedClock(momentOf(i));
        ASSERT_EQ(start().outcome, app::RunOutcome::ValuesWritten) << "measurement " << i;
    }
    EXPECT_TRUE(messages.messages.empty());
    const DirectoryBytes expected = combined ? DirectoryBytes{{"PUMP HOUSING A1.dfq", example("example-combined/PUMP.dfq") + blocks(1, kMeasurements)}}
                                             : DirectoryBytes{{"PUMP HOUSING A1.dfd", example("example/PUMP.dfd")},
                                                              {"PUMP HOUSING A1.dfx", blocks(0, kMeasurements)}};
    const DirectoryBytes written = contentsOf(dir.path());
    ASSERT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : expected)
        EXPECT_EQ(firstDifference(written.at(name), bytes), "") << name;
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, RepeatedRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
