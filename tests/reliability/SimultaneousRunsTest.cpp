// Many norda-cli processes converting the same part program at the same moment, as an unattended run
// started several times: one description, and every measurement lands whole, in some order.
#include "source/Snapshot.h"

#include "support/CliFixture.h"
#include "support/ModelBuilder.h"

#include <set>

using namespace testing_support;

namespace {

constexpr int kProcesses = 24;

// A part program large enough that a conversion takes a while: without the lock the runs would
// overlap between deciding and writing.
std::string largeSnapshot()
{
    std::vector<source::CommandRecord> commands;
    for (int i = 0; i < 3000; ++i)
        commands.push_back(singleDimension(1106, "D" + std::to_string(i), {25, 0.1, 0.1}, 25 + i / 1000.0));
    return source::writeSnapshot(applicationWith(std::move(commands)));
}

// The value blocks behind the description, one line each: one per process, each once, and all alike
// but for their moments, so none was torn or mixed with another.
void expectEveryBlockOnce(const std::string& values, int processes)
{
    std::set<std::string> moments;
    std::string firstBlock;
    for (std::size_t at = 0, end; at < values.size(); at = end + 2) {
        end = values.find("\r\n", at);
        ASSERT_NE(end, std::string::npos) << "a block without its line end at byte " << at;
        std::string block = values.substr(at, end - at);
        const std::size_t moment = block.find("05.12.2026/14:");
        ASSERT_NE(moment, std::string::npos) << block;
        EXPECT_TRUE(moments.insert(block.substr(moment, 19)).second) << "twice: " << block;
        block.erase(moment, 19);
        EXPECT_EQ(block, firstBlock.empty() ? block : firstBlock);
        firstBlock = block;
    }
    EXPECT_EQ(moments.size(), static_cast<std::size_t>(processes));
}

class SimultaneousRuns : public CliFixture, public ::testing::WithParamInterface<bool> {};

} // namespace

TEST_P(SimultaneousRuns, OneDescriptionAndEveryMeasurementWhole)
{
    const bool combined = GetParam();
    writeBytes(in / "large.json", largeSnapshot());
    std::string firstDescription;

    // First the race for the full write, then a second wave that only appends.
    for (int wave = 0; wave < 2; ++wave) {
        SCOPED_TRACE("wave " + std::to_string(wave));
        // Every process is started before the first is waited for, each at a minute of its own.
        std::vector<ChildProcess> running;
        for (int i = wave * kProcesses; i < (wave + 1) * kProcesses; ++i) {
            const std::string now = "2026-12-05T14:" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ":00";
            const std::vector<std::string> arguments{"--snapshot", (in / "large.json").string(), "--set", "DIR=" + out.string(),
                                                     "--now", now, "--set", combined ? "DFQ=1" : "DFQ=0"};
            running.emplace_back(kCli, arguments, environment);
        }
        int fullWrites = 0;
        for (auto& process : running) {
            const auto result = process.wait();
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(result.err, "");
            fullWrites += result.out.starts_with("created ") ? 1 : 0;
        }
        EXPECT_EQ(fullWrites, wave == 0 ? 1 : 0);

        // The description, written once, stays as the first wave left it.
        const DirectoryBytes files = contentsOf(out);
        ASSERT_EQ(files.size(), combined ? 1u : 2u) << files.begin()->first;
        std::string values = files.at(combined ? "PUMP HOUSING A1.dfq" : "PUMP HOUSING A1.dfx");
        std::string description = combined ? "" : files.at("PUMP HOUSING A1.dfd");
        if (combined) {
            const std::size_t blocks = values.rfind("\r\n", values.find("05.12.2026/14:")) + 2;
            description = values.substr(0, blocks);
            values.erase(0, blocks);
        }
        EXPECT_TRUE(description.starts_with("K0100 ")) << description.substr(0, 40);
        EXPECT_EQ(description, firstDescription.empty() ? description : firstDescription);
        firstDescription = description;
        expectEveryBlockOnce(values, (wave + 1) * kProcesses);
    }
    // Nothing was created next to the output directory, the inputs or the settings store.
    EXPECT_EQ(root.listing(), "config in out");
    EXPECT_TRUE(std::filesystem::is_empty(root / "config"));
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, SimultaneousRuns, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
