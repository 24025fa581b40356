#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Snapshot.h"

#include "support/ValuesFixture.h"

#include <algorithm>

using namespace testing_support;
using bench::syntheticApplication;
using kfield::ValuesOutcome;

namespace {

const source::PartProgramRecord& programOf(const source::ApplicationRecord& application)
{
    return *application.activePartProgram;
}

bool isAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isBlockStart(int type)
{
    return type == 1000 || type == 1200;
}

bool isBlockEnd(int type)
{
    return type == 1001 || type == 1201;
}

// How many commands of each kind a part program holds.
struct CommandMix {
    std::size_t plain = 0;
    std::size_t singles = 0;
    std::size_t unconvertedSingles = 0; // selector neither 0 nor 2
    std::size_t axisLines = 0;
    std::size_t positionLines = 0;
    std::size_t positionResults = 0;
    std::size_t comments = 0;           // comment commands and comments on dimensions
    std::size_t namedValues = 0;
    std::size_t blocks = 0;
    std::size_t closedBlocks = 0;       // blocks whose start has a selector other than 0 and 2
    std::size_t nonAsciiTexts = 0;

    explicit CommandMix(const source::PartProgramRecord& program)
    {
        for (const source::CommandRecord& command : program.commands) {
            comments += command.comment ? 1 : 0;
            namedValues += command.namedValue ? 1 : 0;
            if (command.comment && !isAscii(command.comment->text))
                ++nonAsciiTexts;
            if (!command.isDimension) {
                plain += !command.comment && !command.namedValue && !isBlockEnd(command.commandType) ? 1 : 0;
                continue;
            }
            const source::DimensionRecord& dimension = *command.dimensionData;
            if (!isAscii(dimension.feature1) || !isAscii(dimension.feature2) || !isAscii(dimension.feature3))
                ++nonAsciiTexts;
            const bool converted = dimension.outputSelector == 0 || dimension.outputSelector == 2;
            if (isBlockStart(command.commandType)) {
                ++blocks;
                closedBlocks += converted ? 0 : 1;
            } else if (dimension.isAxisLine) {
                ++axisLines;
            } else if (dimension.isPositionLine) {
                ++positionLines;
                positionResults += command.commandType == 1209 ? 1 : 0;
            } else {
                ++singles;
                unconvertedSingles += converted ? 0 : 1;
            }
        }
    }
};

double share(std::size_t part, std::size_t whole)
{
    return static_cast<double>(part) / static_cast<double>(whole);
}

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

std::size_t linesStartingWith(const std::string& bytes, const std::string& key)
{
    const auto lines = linesOf(bytes);
    return static_cast<std::size_t>(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(key); }));
}

} // namespace

TEST(SyntheticProgram, HasExactlyTheRequestedNumberOfCommands)
{
    for (const std::size_t size : {0u, 1u, 4u, 5u, 17u, 999u, 10007u})
        EXPECT_EQ(programOf(syntheticApplication(size)).commands.size(), size) << size << " commands asked for";
}

TEST(SyntheticProgram, IsTheSameForTheSameSeedAndDiffersForAnother)
{
    const std::string first = source::writeSnapshot(syntheticApplication(3000, 7));
    EXPECT_EQ(source::writeSnapshot(syntheticApplication(3000, 7)), first);
    EXPECT_NE(source::writeSnapshot(syntheticApplication(3000, 8)), first);
}

TEST(SyntheticProgram, MixesTheKindsOfCommandOfARealProgram)
{
    const source::ApplicationRecord application = syntheticApplication(20000);
    const CommandMix mix(programOf(application));
    const std::size_t all = programOf(application).commands.size();

    // Shares of all commands, with room for the randomness of 20,000 commands.
    EXPECT_GT(share(mix.plain, all), 0.10);
    EXPECT_LT(share(mix.plain, all), 0.18);
    EXPECT_GT(share(mix.singles, all), 0.10);
    EXPECT_LT(share(mix.singles, all), 0.17);
    EXPECT_GT(share(mix.axisLines, all), 0.18);
    EXPECT_LT(share(mix.axisLines, all), 0.29);
    EXPECT_GT(share(mix.positionLines, all), 0.15);
    EXPECT_LT(share(mix.positionLines, all), 0.25);
    EXPECT_GT(share(mix.comments, all), 0.03);
    EXPECT_LT(share(mix.comments, all), 0.07);
    EXPECT_GT(share(mix.namedValues, all), 0.02);
    EXPECT_LT(share(mix.namedValues, all), 0.05);

    // A few blocks and single dimensions that the part program does not output, and some texts
    // beyond ASCII for the code page.
    EXPECT_GT(share(mix.closedBlocks, mix.blocks), 0.05);
    EXPECT_LT(share(mix.closedBlocks, mix.blocks), 0.20);
    EXPECT_GT(share(mix.unconvertedSingles, mix.singles), 0.01);
    EXPECT_LT(share(mix.unconvertedSingles, mix.singles), 0.06);
    EXPECT_GT(mix.nonAsciiTexts, 20u);
    EXPECT_GT(mix.positionResults, 0u);
}

TEST(SyntheticProgram, ClosesEveryBlockItOpensAndPutsLinesOnlyInBlocks)
{
    for (const std::size_t size : {6u, 100u, 997u, 5003u}) {
        const source::ApplicationRecord application = syntheticApplication(size);
        int open = 0; // the start type of the open block, 0 outside
        for (const source::CommandRecord& command : programOf(application).commands) {
            const int type = command.commandType;
            const bool axisLine = command.dimensionData && command.dimensionData->isAxisLine;
            const bool positionLine = command.dimensionData && command.dimensionData->isPositionLine;
            if (isBlockStart(type)) {
                ASSERT_EQ(open, 0) << "nested block in " << size << " commands";
                open = type;
            } else if (isBlockEnd(type)) {
                ASSERT_EQ(open + 1, type) << "block end without its start in " << size << " commands";
                open = 0;
            } else if (axisLine || positionLine) {
                ASSERT_EQ(open, axisLine ? 1000 : 1200) << "block line outside its block in " << size << " commands";
            }
        }
        EXPECT_EQ(open, 0) << "a block is left open at the end of " << size << " commands";
    }
}

namespace {

class SyntheticConversion : public ConversionFixture {
protected:
    SyntheticConversion()
    {
        settings.Kommentare = true;
        settings.PosAchse = true;
        settings.NordaPos = true;
    }
};

} // namespace

TEST_F(SyntheticConversion, ConvertsWithoutAnyMessageAndUsesEveryKindOfLine)
{
    source::MemoryApplication application(syntheticApplication(4000));
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), ValuesOutcome::Written);
    ASSERT_EQ(run(application, kfield::WriteMeasuredValues), ValuesOutcome::Written);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{});

    const std::string description = file("PUMP.dfd");
    const std::size_t characteristics = linesStartingWith(description, "K2001/");
    EXPECT_TRUE(description.starts_with("K0100 " + std::to_string(characteristics) + "\r\n"));
    EXPECT_GT(characteristics, 1500u);
    for (const char* key : {"K1101 ", "K1303 ", "K2900/", "K2005/", "K2022/", "K2008/", "K2030/", "K2031/"})
        EXPECT_GT(linesStartingWith(description, key), 0u) << key;
    const auto lines = linesOf(description);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("K2060/") && !line.ends_with(" 0"); }));

    // Two measurements, one group per characteristic each, and the run data given once.
    const auto values = linesOf(file("PUMP.dfx"));
    ASSERT_EQ(values.size(), 6u); // the value line, K0053 and K0012, twice
    EXPECT_EQ(std::vector(values.begin(), values.begin() + 3), std::vector(values.begin() + 3, values.end()));
    EXPECT_EQ(static_cast<std::size_t>(std::count(values[0].begin(), values[0].end(), '\x0F')), characteristics);
    EXPECT_TRUE(values[1].starts_with("K0053/0 "));
    EXPECT_TRUE(values[2].starts_with("K0012/0 "));
}

TEST_F(SyntheticConversion, ConvertsTheSameFromItsSnapshotFile)
{
    source::ApplicationRecord record = syntheticApplication(3000);
    const source::ApplicationRecord reread = source::parseSnapshot(source::writeSnapshot(record), "synthetic");
    source::MemoryApplication fromMemory(std::move(record));
    source::MemoryApplication fromSnapshot(reread);

    ASSERT_EQ(run(fromMemory, kfield::ConvertPartProgram), ValuesOutcome::Written);
    const std::string description = file("PUMP.dfd");
    const std::string values = file("PUMP.dfx");
    std::filesystem::remove(dir / "PUMP.dfd");
    std::filesystem::remove(dir / "PUMP.dfx");
    ASSERT_EQ(run(fromSnapshot, kfield::ConvertPartProgram), ValuesOutcome::Written);
    EXPECT_EQ(file("PUMP.dfd"), description);
    EXPECT_EQ(file("PUMP.dfx"), values);
}
