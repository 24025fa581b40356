#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteError.h"
#include "source/ReadError.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

std::vector<std::string> linesOf(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(bytes.substr(start, end - start));
    return lines;
}

bool hasLine(const std::string& bytes, const std::string& line)
{
    const auto lines = linesOf(bytes);
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class FullWrite : public ConversionFixture {
protected:
    std::optional<ValuesOutcome> convert(source::MemoryApplication& application) { return run(application, kfield::ConvertPartProgram); }

    std::optional<ValuesOutcome> convertWith(std::vector<source::CommandRecord> commands)
    {
        source::MemoryApplication application(applicationWith(std::move(commands)));
        return convert(application);
    }

    std::string description() { return file("PUMP.dfd"); }
};

} // namespace

TEST_F(FullWrite, WritesTheExampleDescriptionAndValues)
{
    settings.Kommentare = true;
    source::MemoryApplication application(exampleApplication());
    EXPECT_EQ(convert(application), ValuesOutcome::Written);
    EXPECT_EQ(description(), golden("example-point.dfd"));
    EXPECT_EQ(file("PUMP.dfx"), golden("example-values-point.dfx"));
    EXPECT_EQ(dir.listing(), "PUMP.dfd PUMP.dfx");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_TRUE(application.record().updatesEnabled);
    EXPECT_EQ(progress.captions, (std::vector<std::string>{"L11", "L10"}));
    EXPECT_FALSE(progress.visible);
}

TEST_F(FullWrite, WritesTheExampleUnderARegionalComma)
{
    settings.Kommentare = true;
    regional = FixedRegionalSettings(",");
    source::MemoryApplication application(exampleApplication());
    convert(application);
    EXPECT_EQ(description(), golden("example-comma.dfd"));
    EXPECT_EQ(file("PUMP.dfx"), golden("example-values-comma.dfx"));
}

TEST_F(FullWrite, WritesOneCombinedFileInCombinedMode)
{
    settings.Kommentare = true;
    settings.DFQ = true;
    source::MemoryApplication application(exampleApplication());
    convert(application);
    EXPECT_EQ(file("PUMP.dfq"), golden("example-point.dfq"));
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(FullWrite, LeavesOutCommentsWhenTheSettingIsOff)
{
    source::MemoryApplication application(exampleApplication());
    convert(application);
    EXPECT_EQ(description().find("K2900"), std::string::npos);
    EXPECT_EQ(application.log().count(source::Member::CommandHasComment), 0u);
}

TEST_F(FullWrite, WritesTheHeaderOfAPartProgramWithoutCharacteristics)
{
    auto record = applicationWith({plainCommand(100)});
    record.activePartProgram->serialNumber = "";
    source::MemoryApplication application(record);
    convert(application);
    EXPECT_EQ(description(), "K0100 0\r\nK1001 \r\nK1002 PUMP HOUSING A1\r\nK1004 B\r\n"
                             "K1900 ********* SENDING SYSTEM: Veltrum - Norda Converter Version 1.3.3 *********\r\n");
    convertWith({}); // no commands at all
    EXPECT_TRUE(hasLine(description(), "K0100 0"));
}

TEST_F(FullWrite, GroupsPositionAxesWithTheirResult)
{
    settings.PosAchse = true;
    settings.NordaPos = true;
    std::vector<source::CommandRecord> commands;
    for (const char* id : {"POS1", "POS2"}) {
        commands.push_back(blockStart(1200, id, 0, 1, "HOLE"));
        for (int type : {1202, 1203, 1204, 1207, 1208, 1205, 1206, 1210})
            commands.push_back(positionLine(type, {1, 0.1, 0.1}, 1));
        commands.push_back(positionLine(1209, {0.5, 0.25, 0}, 0, 0.1));
        commands.push_back(blockEnd(1201));
    }
    convertWith(commands);
    const std::string text = description();
    for (int n : {1, 2, 3, 4, 5})
        EXPECT_TRUE(hasLine(text, "K2031/" + std::to_string(n) + " 1")) << n;
    for (int n : {10, 11, 12, 13, 14})
        EXPECT_TRUE(hasLine(text, "K2031/" + std::to_string(n) + " 2")) << n;
    // Nine lines per axis, K2031 only on the five linked ones, eleven lines per position result.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5 + 2 * (8 * 9 + 5 + 11));
    EXPECT_TRUE(hasLine(text, "K2008/9 2"));
    EXPECT_TRUE(hasLine(text, "K2030/9 1"));
    EXPECT_TRUE(hasLine(text, "K2030/18 2"));
    EXPECT_FALSE(hasLine(text, "K2031/9 1"));
    EXPECT_TRUE(hasLine(text, "K2101/9 0.5000"));
    EXPECT_TRUE(hasLine(text, "K2113/9 0.2500"));
    EXPECT_TRUE(hasLine(text, "K2112/9 0.0000"));
    EXPECT_TRUE(hasLine(text, "K2120/9 2"));
    EXPECT_TRUE(hasLine(text, "K2002/9 T132.HOLE"));
    EXPECT_TRUE(hasLine(text, "K2002/1 T129.HOLE"));
    EXPECT_TRUE(hasLine(text, "K2002/6 T118.HOLE"));
}

TEST_F(FullWrite, WritesSingleTypesWithTheirLimitsAndUnits)
{
    auto angle = singleDimension(1108, "ANG", {90, 0.5, 0.25}, 90, "PLN1");
    angle.dimensionData->feature3 = "PLN3"; // F2 empty: the type text alone
    auto flatness = singleDimension(1102, "FLAT", {0, 0.02, 0.7}, 0);
    flatness.dimensionData->unitCode = 7;
    auto inch = singleDimension(1100, "D", {1, 0, 0}, 1, "A");
    inch.dimensionData->feature2 = "B";
    inch.dimensionData->unitCode = 0;
    convertWith({angle, flatness, inch});
    const std::string text = description();
    EXPECT_TRUE(hasLine(text, "K2002/1 T135"));
    EXPECT_TRUE(hasLine(text, "K2142/1 DEG"));
    EXPECT_TRUE(hasLine(text, "K2120/1 1"));
    EXPECT_TRUE(hasLine(text, "K2112/1 -0.25000"));
    EXPECT_TRUE(hasLine(text, "K2120/2 2"));
    EXPECT_TRUE(hasLine(text, "K2112/2 0.00000"));
    EXPECT_TRUE(hasLine(text, "K2142/2 "));
    EXPECT_TRUE(hasLine(text, "K2002/3 T147.A.B"));
    EXPECT_TRUE(hasLine(text, "K2142/3 INCH"));
}

TEST_F(FullWrite, ReportsUnknownTypesAndNumbersAsTheValuesDo)
{
    settings.PosAchse = true;
    convertWith({
        singleDimension(1115, "ODD", {}, 0),
        blockStart(1000, "AX", 0, 1),
        axisLine(1021, {}, 0),
        blockEnd(1001),
        blockStart(1200, "P", 0, 1),
        positionLine(1230, {}, 0),
        blockEnd(1201),
        singleDimension(1101, "S", {}, 5),
    });
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"L33 1115 L55", "L31 1021 L55", "L32 1230 L55"}));
    for (const auto& message : messages.messages)
        EXPECT_EQ(message.icon, MessageIcon::Critical);
    const std::string text = description();
    EXPECT_TRUE(hasLine(text, "K0100 3"));
    EXPECT_TRUE(hasLine(text, "K2001/1 AX"));
    EXPECT_EQ(text.find("K2002/1"), std::string::npos);
    // The position line keeps its number with the block's identifier alone, as the axis line does.
    EXPECT_TRUE(hasLine(text, "K2001/2 P"));
    EXPECT_EQ(text.find("K2002/2"), std::string::npos);
    EXPECT_TRUE(hasLine(text, "K2001/3 S"));
    // The values give the third group to the single dimension.
    EXPECT_NE(file("PUMP.dfx").find("\x0F" "5.0000\x14" "0"), std::string::npos);
}

TEST_F(FullWrite, GivesEveryNumberAtLeastItsIdentifierLine)
{
    // A K-field reader refuses a file set whose values carry a characteristic that the description
    // never declares: every unknown type, in every setting, keeps at least its K2001 line.
    for (int setting = 0; setting < 8; ++setting) {
        settings.PosAchse = (setting & 1) != 0;
        settings.NordaPos = (setting & 2) != 0;
        settings.Kommentare = (setting & 4) != 0;
        std::filesystem::remove(dir / "PUMP.dfd");
        std::filesystem::remove(dir / "PUMP.dfx");
        convertWith({singleDimension(1115, "ODD", {}, 0), commentCommand("note"), blockStart(1000, "AX", 0, 1),
                     axisLine(1021, {}, 0), axisLine(1002, {}, 0), blockEnd(1001), blockStart(1200, "P", 2, 1),
                     positionLine(1230, {}, 0), positionLine(1202, {}, 0), positionLine(1209, {}, 0, 1), blockEnd(1201)});
        const std::string text = description();
        std::smatch count;
        ASSERT_TRUE(std::regex_search(text, count, std::regex("K0100 (\\d+)\r\n")));
        const int characteristics = std::stoi(count[1]);
        EXPECT_EQ(characteristics, settings.PosAchse ? 5 : 3) << "setting " << setting;
        for (int n = 1; n <= characteristics; ++n)
            EXPECT_NE(text.find("K2001/" + std::to_string(n) + " "), std::string::npos) << "setting " << setting << ", characteristic " << n;
    }
}

TEST_F(FullWrite, CleansComments)
{
    settings.Kommentare = true;
    convertWith({commentCommand("  A,B\r\nC  "), singleDimension(1101, "S", {}, 0)});
    EXPECT_TRUE(hasLine(description(), "K2900/1 A_B  C"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(FullWrite, CutsALongCommentTo255Characters)
{
    settings.Kommentare = true;
    convertWith({commentCommand(std::string(300, 'x')), singleDimension(1101, "S", {}, 0)});
    EXPECT_TRUE(hasLine(description(), "K2900/1 " + std::string(255, 'x')));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "L30");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Information);
}

TEST_F(FullWrite, GivesEachCommentToTheNextCharacteristic)
{
    settings.Kommentare = true;
    auto commented = singleDimension(1101, "B", {}, 0);
    commented.comment = source::CommentRecord{1, "own", {}};
    convertWith({
        commentCommand("first"),
        commentCommand("second"),
        singleDimension(1101, "A", {}, 0),
        commented,
        commentCommand("kind 2", 2),
        singleDimension(1101, "C", {}, 0),
    });
    const std::string text = description();
    EXPECT_TRUE(hasLine(text, "K2900/1 second"));
    EXPECT_EQ(text.find("first"), std::string::npos);
    EXPECT_TRUE(hasLine(text, "K2900/2 own"));
    EXPECT_EQ(text.find("K2900/3"), std::string::npos);
}

TEST_F(FullWrite, StartsEveryFullWriteWithoutAnEarlierPartProgramsData)
{
    settings.Kommentare = true;
    convertWith({namedValueCommand("K1101", "drawing 1"), singleDimension(1101, "A", {}, 0), commentCommand("dangling")});
    EXPECT_TRUE(hasLine(description(), "K1101 drawing 1"));
    std::filesystem::remove(dir / "PUMP.dfd");
    convertWith({singleDimension(1101, "A", {}, 0)});
    EXPECT_EQ(description().find("K1101"), std::string::npos);
    EXPECT_EQ(description().find("dangling"), std::string::npos);
}

struct NamedValueCase {
    std::string name;
    std::string value;
    std::vector<std::string> messages;
    std::string line; // the line the value ends up in
    std::string decimal = ".";
};

void PrintTo(const NamedValueCase& c, std::ostream* out)
{
    *out << c.name << "=\"" << c.value << "\"";
}

class DescriptionKeywords : public FullWrite, public ::testing::WithParamInterface<NamedValueCase> {};

TEST_P(DescriptionKeywords, CheckReplaceOrCutTheValue)
{
    const NamedValueCase& c = GetParam();
    regional = FixedRegionalSettings(c.decimal);
    EXPECT_EQ(convertWith({namedValueCommand(c.name, c.value), singleDimension(1101, "A", {}, 0)}), ValuesOutcome::Written);
    EXPECT_EQ(messageTexts(), c.messages);
    for (const auto& message : messages.messages)
        EXPECT_EQ(message.icon, MessageIcon::Information);
    EXPECT_TRUE(hasLine(description(), c.line)) << description();
}

INSTANTIATE_TEST_SUITE_P(EveryCheck, DescriptionKeywords,
    ::testing::Values(
        NamedValueCase{"K2060", "123456", {"L34"}, "K2060/1 0"},
        NamedValueCase{"K2060", "12a", {"L34"}, "K2060/1 0"},
        NamedValueCase{"k2060 ", " -5 ", {}, "K2060/1 -5"},
        NamedValueCase{"K2005", "7", {"L58 K2005 L62"}, "K2005/1 1"},
        NamedValueCase{"K2005", "-1", {"L58 K2005 L61"}, "K2005/1 -"},
        NamedValueCase{"K2005", "3", {}, "K2005/1 3"},
        NamedValueCase{"K2022", "12", {"L58 K2022 L59 L63 4 L64"}, "K2022/1 4"},
        NamedValueCase{"K2022", "x", {"L58 K2022 L60 L63 4 L64"}, "K2022/1 4"},
        NamedValueCase{"K1101", std::string(45, 'd'), {"L58 K1101 L61"}, "K1101 " + std::string(40, 'd')},
        NamedValueCase{"K1303", std::string(21, 'p'), {"L58 K1303 L61"}, "K1303 " + std::string(20, 'p')},
        NamedValueCase{"K1007", "Type 7", {}, "K1007 Type 7"},
        NamedValueCase{"K1011", std::string(25, 'v'), {"L58 K1011 L61"}, "K1011 " + std::string(20, 'v')},
        NamedValueCase{"K2404", "1.5", {}, "K2404/0 1.5"},
        // The regional grouping separator counts for nothing, and the text stays as given.
        NamedValueCase{"K2404", "1.5", {}, "K2404/0 1.5", ","},
        NamedValueCase{"K2404", "2.500,25", {}, "K2404/0 2.500,25", ","},
        NamedValueCase{"K2005", "1.5", {"L58 K2005 L62"}, "K2005/1 1", ","},
        NamedValueCase{"K2060", "1,5", {}, "K2060/1 1,5"},
        NamedValueCase{"K2404", "1.00000000000000000000001", {"L58 K2404 L61"}, "K2404/0 1." + std::string(20, '0')}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(FullWrite, WritesK2404AsTheLastLineOfTheDescription)
{
    convertWith({namedValueCommand("K2404", "1.5"), singleDimension(1101, "A", {}, 0), namedValueCommand("K2060", "4")});
    const auto lines = linesOf(description());
    EXPECT_EQ(lines.back(), "K2404/0 1.5");
    EXPECT_EQ(lines[lines.size() - 2], "K2060/1 0"); // the K2060 after the last characteristic has no effect
}

TEST_F(FullWrite, LetsTheLaterNamedValueWinAndGoesToTheNextCharacteristic)
{
    auto carrier = singleDimension(1101, "A", {}, 0);
    carrier.namedValue = source::NamedValueRecord{"K2060", "9", {}};
    convertWith({namedValueCommand("K2060", "1"), namedValueCommand("K2060", "2"), carrier, singleDimension(1101, "B", {}, 0),
                 namedValueCommand("K1007", "one"), namedValueCommand("K1007", "two")});
    const std::string text = description();
    EXPECT_TRUE(hasLine(text, "K2060/1 2"));
    EXPECT_TRUE(hasLine(text, "K2060/2 9"));
    EXPECT_TRUE(hasLine(text, "K1007 two"));
}

TEST_F(FullWrite, WritesTheHeaderFieldsInTheirOrder)
{
    convertWith({namedValueCommand("K1101", "d"), namedValueCommand("K1303", "c"), namedValueCommand("K1011", "b"),
                 namedValueCommand("K1007", "a")});
    const auto lines = linesOf(description());
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.begin() + 9),
              (std::vector<std::string>{"K1007 a", "K1011 b", "K1303 c", "K1101 d",
                                        "K1900 ********* SENDING SYSTEM: Veltrum - Norda Converter Version 1.3.3 *********"}));
}

TEST_F(FullWrite, NeverMatchesAKeywordLineWithLowerCase)
{
    texts.setLine(160, "k1101");
    convertWith({namedValueCommand("k1101", "x"), namedValueCommand("K1101", "y")});
    EXPECT_EQ(description().find("K1101"), std::string::npos);
}

TEST_F(FullWrite, AbortsOnAK2005ThatIsNoWholeNumber)
{
    writeBytes(dir / "PUMP.dfx", "earlier\r\n");
    source::MemoryApplication application(applicationWith({singleDimension(1101, "A", {}, 0), namedValueCommand("K2005", "x"),
                                                           singleDimension(1101, "B", {}, 0)}));
    EXPECT_EQ(convert(application), std::nullopt);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"L58 K2005 L60"});
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(dir.listing(), "PUMP.dfx");
    EXPECT_EQ(file("PUMP.dfx"), "earlier\r\n");
    EXPECT_TRUE(application.record().updatesEnabled);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"L11"});
}

TEST_F(FullWrite, AbortsOnAK2404ThatIsNoNumber)
{
    settings.DFQ = true;
    EXPECT_EQ(convertWith({namedValueCommand("K2404", "1.5.0")}), std::nullopt);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"L58 K2404 L60 L56"});
    EXPECT_EQ(dir.listing(), "");
}

TEST_F(FullWrite, KeepsTheDescriptionWhenTheValuesAbort)
{
    EXPECT_EQ(convertWith({singleDimension(1101, "A", {}, 0), namedValueCommand("FIELD5", "no hash")}), ValuesOutcome::Aborted);
    EXPECT_EQ(dir.listing(), "PUMP.dfd");
}

TEST_F(FullWrite, NumbersDescriptionAndValuesAlike)
{
    settings.Kommentare = true;
    settings.PosAchse = true;
    source::MemoryApplication application(realisticApplication());
    convert(application);
    const std::string text = description();
    std::set<int> numbers;
    const std::regex key("^K2001/([0-9]+) ");
    for (const auto& line : linesOf(text)) {
        std::smatch match;
        if (std::regex_search(line, match, key))
            numbers.insert(std::stoi(match[1]));
    }
    const std::string values = file("PUMP.dfx");
    const auto groups = std::count(values.begin(), values.end(), '\x0F');
    EXPECT_EQ(static_cast<long>(numbers.size()), groups);
    EXPECT_EQ(*numbers.rbegin(), groups);
    EXPECT_TRUE(hasLine(text, "K0100 " + std::to_string(groups)));
    // The single dimension with the named value FIELD8 17 is followed by characteristic 3.
    EXPECT_TRUE(hasLine(text, "K2001/2 ANG1"));
    EXPECT_NE(values.find("\x14" "17\x0F"), std::string::npos);
}

TEST_F(FullWrite, FailingReadsLeaveNoFileBehind)
{
    settings.Kommentare = true;
    settings.PosAchse = true;
    settings.NordaPos = true;
    std::uint64_t reads = 0;
    {
        source::MemoryApplication application(realisticApplication());
        application.log().reset();
        convert(application);
        reads = application.log().total();
    }
    for (std::uint64_t n = 1; n <= reads; ++n) {
        SCOPED_TRACE("failing call " + std::to_string(n));
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        source::MemoryApplication application(realisticApplication());
        application.log().reset();
        application.log().failAtCall(n);
        try {
            convert(application);
        } catch (const source::ReadError&) {
            EXPECT_EQ(dir.listing(), "");
        }
        EXPECT_TRUE(application.record().updatesEnabled);
        EXPECT_FALSE(progress.visible);
        const std::string listing = dir.listing();
        EXPECT_TRUE(listing.empty() || listing == "PUMP.dfd PUMP.dfx") << listing;
    }
}

TEST_F(FullWrite, FailingFileOperationsLeaveNoFileBehind)
{
    for (bool combined : {false, true}) {
        settings.DFQ = combined;
        int operations = 0;
        {
            std::filesystem::remove_all(dir.path());
            std::filesystem::create_directories(dir.path());
            source::MemoryApplication application(realisticApplication());
            const int before = files.operations();
            convert(application);
            operations = files.operations() - before;
        }
        for (int n = 1; n <= operations; ++n) {
            SCOPED_TRACE("failing operation " + std::to_string(n) + (combined ? " combined" : " separate"));
            std::filesystem::remove_all(dir.path());
            std::filesystem::create_directories(dir.path());
            source::MemoryApplication application(realisticApplication());
            files.failOperation(n);
            EXPECT_THROW(convert(application), kfield::WriteError);
            files.failOperation(0);
            EXPECT_EQ(dir.listing(), "");
        }
    }
}

TEST_F(FullWrite, AFullDiskLeavesNoFileBehind)
{
    std::int64_t descriptionSize = 0;
    {
        source::MemoryApplication application(realisticApplication());
        convert(application);
        descriptionSize = static_cast<std::int64_t>(description().size());
    }
    for (std::int64_t budget : {std::int64_t{0}, std::int64_t{100}, descriptionSize - 1}) {
        SCOPED_TRACE(budget);
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        files.failWritesAfter(budget);
        source::MemoryApplication application(realisticApplication());
        EXPECT_THROW(convert(application), kfield::WriteError);
        EXPECT_EQ(dir.listing(), "");
    }
}
