// Many norda-cli processes converting the same part program at the same moment, as an unattended run
// started several times: one description, and every measurement lands whole, in some order.
#include "support/CliFixture.h"

#include <memory>
#include <set>

using namespace testing_support;

namespace {

constexpr int kProcesses = 24;

// A distinct moment per process, so that each value block says whose it is.
std::string isoMomentOf(int i)
{
    return "2026-12-05T14:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ":00";
}

std::string stampOf(int i)
{
    return "05.12.2026/14:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ":00";
}

// A part program large enough that a conversion takes a while: without the lock the runs would
// overlap between deciding and writing.
std::string largeSnapshot()
{
    std::string commands;
    for (int i = 0; i < 3000; ++i) {
        commands += std::string(i == 0 ? "" : ",") + R"({"commandType": 1106, "isDimension": true, "valueValid": true,
            "dimensionData": {"id": "D)" + std::to_string(i) + R"(", "nominal": 25, "plusTolerance": 0.1,
            "minusTolerance": 0.1, "measured": )" + std::to_string(25 + i / 1000.0) + "}}";
    }
    return R"({"activePartProgram": {"partName": "PUMP", "fileName": "PUMP.PRG", "commands": [)" + commands + "]}}";
}

class SimultaneousRuns : public CliFixture, public ::testing::WithParamInterface<bool> {
protected:
    std::vector<std::string> settings() const { return {"--set", std::string("DFQ=") + (GetParam() ? "1" : "0")}; }

    // The description and the value block (of measurement 0) of one conversion on its own.
    void SetUp() override
    {
        CliFixture::SetUp();
        writeBytes(in / "large.json", largeSnapshot());
        std::vector<std::string> alone = arguments(in / "large.json", settings(), isoMomentOf(0));
        alone[3] = "DIR=" + in.string();
        const auto result = cli(alone);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const std::string values = readBytes(in / (GetParam() ? "PUMP.dfq" : "PUMP.dfx"));
        if (GetParam()) {
            const auto lastLine = values.rfind("\r\n", values.size() - 3) + 2;
            description = values.substr(0, lastLine);
            firstBlock = values.substr(lastLine);
        } else {
            description = readBytes(in / "PUMP.dfd");
            firstBlock = values;
        }
        ASSERT_NE(firstBlock.find(stampOf(0)), std::string::npos);
        std::filesystem::remove(in / "PUMP.dfd");
        std::filesystem::remove(in / "PUMP.dfx");
        std::filesystem::remove(in / "PUMP.dfq");
    }

    std::string blockOf(int i) const
    {
        std::string block = firstBlock;
        return block.replace(block.find(stampOf(0)), stampOf(0).size(), stampOf(i));
    }

    std::string description;
    std::string firstBlock;

    // The values are exactly the blocks of processes `from` to `to` - 1, each once and whole.
    void expectEveryBlockOnce(const std::string& values, int from, int to)
    {
        std::set<std::string> expected;
        for (int i = from; i < to; ++i)
            expected.insert(blockOf(i));
        std::size_t at = 0;
        while (at < values.size()) {
            const std::size_t end = values.find("\r\n", at);
            ASSERT_NE(end, std::string::npos) << "a block without its line end at byte " << at;
            const std::string block = values.substr(at, end + 2 - at);
            EXPECT_EQ(expected.erase(block), 1u) << "not one of the expected blocks, or twice: " << block;
            at = end + 2;
        }
        EXPECT_TRUE(expected.empty()) << expected.size() << " measurements are missing";
    }
};

} // namespace

TEST_P(SimultaneousRuns, OneDescriptionAndEveryMeasurementWhole)
{
    const bool combined = GetParam();

    // First the race for the full write, then a second wave that only appends.
    for (int wave = 1; wave <= 2; ++wave) {
        SCOPED_TRACE("wave " + std::to_string(wave));
        const int base = (wave - 1) * kProcesses;
        // Every process is started before the first is waited for.
        std::vector<std::unique_ptr<ChildProcess>> running;
        for (int i = 0; i < kProcesses; ++i)
            running.push_back(std::make_unique<ChildProcess>(
                kCli, arguments(in / "large.json", settings(), isoMomentOf(base + i)), options));
        int fullWrites = 0;
        for (auto& process : running) {
            const auto result = process->wait();
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.err, "");
            fullWrites += result.out.starts_with("created ") ? 1 : 0;
        }
        EXPECT_EQ(fullWrites, wave == 1 ? 1 : 0);

        const DirectoryBytes files = contentsOf(out);
        if (combined) {
            ASSERT_EQ(files.size(), 1u) << files.begin()->first;
            const std::string& all = files.at("PUMP.dfq");
            ASSERT_TRUE(all.starts_with(description));
            expectEveryBlockOnce(all.substr(description.size()), 0, base + kProcesses);
        } else {
            ASSERT_EQ(files.size(), 2u);
            EXPECT_EQ(files.at("PUMP.dfd"), description);
            expectEveryBlockOnce(files.at("PUMP.dfx"), 0, base + kProcesses);
        }
    }
    expectNothingOutsideTheOutputDirectory();
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, SimultaneousRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
