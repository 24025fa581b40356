// 1,000 measurements appended one after the other to one file set and to one combined file: exactly
// 1,000 value blocks, each whole, in order, and nothing else changed. In one program through
// ConversionRun, and by norda-cli processes.
#include "CliFixture.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <cstdio>
#include <cstdlib>

using namespace testing_support;

namespace {

constexpr int kMeasurements = 1000;

// A process takes 20 to 150 ms here, too long for 1,000 of them in every CI run: CI starts 100, and
// NORDA_LONG_RUNS=1 in the environment starts all 1,000.
int processRuns()
{
    return std::getenv("NORDA_LONG_RUNS") != nullptr ? kMeasurements : 100;
}

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

std::string golden(const std::string& name)
{
    return readBytes(testDataDir() / "golden" / name);
}

// The example's value block with the stamp of measurement i in place of the one it was written with.
std::string blockOf(int i)
{
    std::string block = golden("example-values-point.dfx");
    const std::string first = stampOf(0);
    const auto at = block.find(first);
    EXPECT_NE(at, std::string::npos);
    return block.replace(at, first.size(), stampOf(i));
}

std::string blocks(int from, int to)
{
    std::string all;
    for (int i = from; i < to; ++i)
        all += blockOf(i);
    return all;
}

class RepeatedRuns : public RunFixture, public ::testing::WithParamInterface<bool> {
protected:
    app::RunResult startAt(int i)
    {
        const app::FixedClock moment(momentOf(i));
        return run.start({texts, regional, *codePage, files, messages, progress, nameDisplay, connector, moment});
    }
};

class RepeatedCliRuns : public reliability::CliFixture, public ::testing::WithParamInterface<bool> {};

std::string isoMomentOf(int i)
{
    const config::CalendarTime t = momentOf(i);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

} // namespace

TEST_P(RepeatedRuns, AThousandAppendsInOneProgram)
{
    const bool combined = GetParam();
    run.SettingKommentare = "1";
    run.SettingDFQ = combined ? "1" : "0";
    attach(exampleApplication());
    for (int i = 0; i < kMeasurements; ++i)
        ASSERT_EQ(startAt(i).outcome, app::RunOutcome::ValuesWritten) << "measurement " << i;

    EXPECT_TRUE(messages.messages.empty());
    if (combined) {
        EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.dfq");
        EXPECT_EQ(reliability::firstDifference(file("PUMP HOUSING A1.dfq"), golden("example-point.dfq") + blocks(1, kMeasurements)), "");
    } else {
        EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
        EXPECT_EQ(reliability::firstDifference(file("PUMP HOUSING A1.dfd"), golden("example-point.dfd")), "");
        EXPECT_EQ(reliability::firstDifference(file("PUMP HOUSING A1.dfx"), blocks(0, kMeasurements)), "");
    }
}

TEST_P(RepeatedCliRuns, AppendsByOneProcessEach)
{
    const bool combined = GetParam();
    const std::vector<std::string> settings{"--set", "KOMMENTARE=1", "--set", std::string("DFQ=") + (combined ? "1" : "0")};
    const int runs = processRuns();
    for (int i = 0; i < runs; ++i) {
        const auto result =
            reliability::ChildProcess(reliability::kCli, arguments(reliability::kExamples / "pump-housing.json", settings, isoMomentOf(i)),
                                      options())
                .wait();
        ASSERT_EQ(result.exitCode, 0) << "measurement " << i << ": " << result.err;
    }
    if (combined) {
        EXPECT_EQ(reliability::contentsOf(out).size(), 1u);
        EXPECT_EQ(reliability::firstDifference(readBytes(out / "PUMP HOUSING A1.dfq"), golden("cli/pump-housing.dfd") + blocks(0, runs)), "");
    } else {
        EXPECT_EQ(reliability::contentsOf(out).size(), 2u);
        EXPECT_EQ(reliability::firstDifference(readBytes(out / "PUMP HOUSING A1.dfd"), golden("cli/pump-housing.dfd")), "");
        EXPECT_EQ(reliability::firstDifference(readBytes(out / "PUMP HOUSING A1.dfx"), blocks(0, runs)), "");
    }
    expectNothingOutsideTheOutputDirectory();
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, RepeatedRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, RepeatedCliRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
