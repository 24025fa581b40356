// 1,000 measurements appended one after the other to one file set and to one combined file: exactly
// 1,000 value blocks, each whole, in order, and nothing else changed. In one program through
// ConversionRun, and by norda-cli processes.
#include "support/CliFixture.h"
#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <cstdio>
#include <cstdlib>

using namespace testing_support;

namespace {

constexpr int kMeasurements = 1000;

// The moment of measurement i: 05.12.2026 14:03:12 plus i seconds.
config::CalendarTime momentOf(int i)
{
    const int seconds = 14 * 3600 + 3 * 60 + 12 + i;
    return {2026, 12, 5, seconds / 3600, seconds / 60 % 60, seconds % 60};
}

std::string stampOf(int i)
{
    const config::CalendarTime t = momentOf(i);
    char text[32];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d/%02d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
    return text;
}

std::string isoMomentOf(int i)
{
    const config::CalendarTime t = momentOf(i);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

std::string golden(const std::string& name)
{
    return readBytes(testDataDir() / "golden" / name);
}

// The example's value blocks of measurements from .. to - 1, each with its own stamp.
std::string blocks(int from, int to)
{
    const std::string block = golden("example-values-point.dfx");
    const std::size_t at = block.find(stampOf(0));
    std::string all;
    for (int i = from; i < to; ++i)
        all += std::string(block).replace(at, stampOf(0).size(), stampOf(i));
    return all;
}

class RepeatedRuns : public RunFixture, public ::testing::WithParamInterface<bool> {};
class RepeatedCliRuns : public CliFixture, public ::testing::WithParamInterface<bool> {};

} // namespace

TEST_P(RepeatedRuns, AThousandAppendsInOneProgram)
{
    const bool combined = GetParam();
    run.Settings.SettingKommentare = "1";
    run.Settings.SettingDFQ = combined ? "1" : "0";
    attach(exampleApplication());
    for (int i = 0; i < kMeasurements; ++i) {
        const app::FixedClock moment(momentOf(i));
        ASSERT_EQ(run.start({texts, regional, *codePage, files, locks, messages, progress, nameDisplay, connector, moment}).outcome,
                  app::RunOutcome::ValuesWritten)
            << "measurement " << i;
    }
    EXPECT_TRUE(messages.messages.empty());
    const DirectoryBytes expected = combined ? DirectoryBytes{{"PUMP HOUSING A1.dfq", golden("example-point.dfq") + blocks(1, kMeasurements)}}
                                             : DirectoryBytes{{"PUMP HOUSING A1.dfd", golden("example-point.dfd")},
                                                              {"PUMP HOUSING A1.dfx", blocks(0, kMeasurements)}};
    const DirectoryBytes written = contentsOf(dir.path());
    ASSERT_EQ(written.size(), expected.size());
    for (const auto& [name, bytes] : expected)
        EXPECT_EQ(firstDifference(written.at(name), bytes), "") << name;
}

// A process takes 20 to 150 ms here, too long for 1,000 of them in every CI run: CI starts 20, and
// NORDA_LONG_RUNS=1 in the environment starts all 1,000.
TEST_P(RepeatedCliRuns, AppendsByOneProcessEach)
{
    const bool combined = GetParam();
    const int runs = std::getenv("NORDA_LONG_RUNS") != nullptr ? kMeasurements : 20;
    for (int i = 0; i < runs; ++i) {
        const auto result = cli(arguments(kPumpSnapshot, {"--set", "KOMMENTARE=1", "--set", combined ? "DFQ=1" : "DFQ=0"},
                                          isoMomentOf(i)));
        ASSERT_EQ(result.exitCode, 0) << "measurement " << i << ": " << result.err;
    }
    const DirectoryBytes expected = combined ? DirectoryBytes{{"PUMP HOUSING A1.dfq", golden("cli/pump-housing.dfd") + blocks(0, runs)}}
                                             : DirectoryBytes{{"PUMP HOUSING A1.dfd", golden("cli/pump-housing.dfd")},
                                                              {"PUMP HOUSING A1.dfx", blocks(0, runs)}};
    EXPECT_EQ(contentsOf(out), expected);
    expectNothingOutsideTheOutputDirectory();
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, RepeatedRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, RepeatedCliRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
