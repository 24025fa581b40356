#include "kfield/WriteMeasuredValues.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

constexpr char DC4 = '\x14';
constexpr char SI = '\x0F';

std::string group(std::initializer_list<std::string> fields)
{
    std::string text;
    for (const auto& field : fields)
        text += field + DC4;
    text.back() = SI;
    return text;
}

class ValuesWriter : public ConversionFixture {
protected:
    ValuesOutcome write(source::MemoryApplication& application) { return run(application, kfield::WriteMeasuredValues); }

    ValuesOutcome writeWith(std::vector<source::CommandRecord> commands)
    {
        source::MemoryApplication application(applicationWith(std::move(commands)));
        return write(application);
    }
};

} // namespace

TEST_F(ValuesWriter, WritesTheExampleBlockUnderAPoint)
{
    source::MemoryApplication application(exampleApplication());
    EXPECT_EQ(write(application), ValuesOutcome::Written);
    EXPECT_EQ(file("PUMP.dfx"), golden("example-values-point.dfx"));
    EXPECT_EQ(dir.listing(), "PUMP.dfx");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ValuesWriter, WritesTheExampleBlockUnderAComma)
{
    regional = FixedRegionalSettings(",");
    source::MemoryApplication application(exampleApplication());
    write(application);
    EXPECT_EQ(file("PUMP.dfx"), golden("example-values-comma.dfx"));
}

TEST_F(ValuesWriter, AppendsOneBlockPerMeasurement)
{
    source::MemoryApplication application(exampleApplication());
    write(application);
    stamp = "05.12.2026/14:05:00";
    write(application);
    const std::string first = golden("example-values-point.dfx");
    std::string second = first;
    second.replace(second.find("14:03:12"), 8, "14:05:00");
    EXPECT_EQ(file("PUMP.dfx"), first + second);
}

TEST_F(ValuesWriter, GivesAnInvalidValueAttribute255AndItsValue)
{
    auto command = singleDimension(1101, "D", {}, 1.5);
    command.valueValid = false;
    writeWith({command});
    EXPECT_EQ(file("PUMP.dfx"), group({"1.5000", "255", stamp, "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, BuildsTheFirstGroupWhenThereIsNoCharacteristic)
{
    writeWith({plainCommand(300)});
    EXPECT_EQ(file("PUMP.dfx"), group({"", "", stamp, "", "", "", "", ""}) + "\r\n");
    writeWith({});
    EXPECT_EQ(file("PUMP.dfx"), (group({"", "", stamp, "", "", "", "", ""}) + "\r\n") + group({"", "", stamp, "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, PlacesEveryNamedValueInItsField)
{
    writeWith({
        namedValueCommand("field4", "1,2"),          // field 4 of characteristic 1
        namedValueCommand("FIELD5", "#LOT7"),
        namedValueCommand("FIELD6", "12"),
        namedValueCommand("FIELD7", " 7 "),
        singleDimension(1101, "A", {}, 1),
        namedValueCommand("FIELD8", "3"),            // field 8 of characteristic 2
        singleDimension(1101, "B", {}, 2),
        namedValueCommand("K0012", "5"),
        namedValueCommand("K0053", "ORDER 1"),
        namedValueCommand("FIELD8", "9"),            // past the last characteristic: no group uses it
    });
    EXPECT_EQ(file("PUMP.dfx"), group({"1.0000", "0", stamp, "1,2", "#LOT7", "12", "7", ""}) +
                                    group({"2.0000", "0", "", "", "", "", "", "3"}) + "\r\nK0053/0 ORDER 1\r\nK0012/0 5\r\n");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(ValuesWriter, WritesAnEmptyK0053WithKeyAndBlank)
{
    writeWith({namedValueCommand("K0053", "")});
    EXPECT_EQ(file("PUMP.dfx"), group({"", "", stamp, "", "", "", "", ""}) + "\r\nK0053/0 \r\n");
}

TEST_F(ValuesWriter, LetsTheLaterOfTwoNamedValuesWin)
{
    writeWith({namedValueCommand("FIELD6", "1"), namedValueCommand("FIELD6", "2"), singleDimension(1101, "A", {}, 1)});
    EXPECT_EQ(file("PUMP.dfx"), group({"1.0000", "0", stamp, "", "", "2", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, IgnoresNamesThatAreNoValueKeyword)
{
    writeWith({namedValueCommand("K2060", "5"), namedValueCommand("UNKNOWN", "x"), namedValueCommand("field 4", "1")});
    EXPECT_EQ(file("PUMP.dfx"), group({"", "", stamp, "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, ForgetsTheRunDataOfEarlierMeasurements)
{
    source::MemoryApplication first(applicationWith({namedValueCommand("FIELD5", "#A"), namedValueCommand("K0012", "1")}));
    write(first);
    std::filesystem::remove(dir / "PUMP.dfx");
    source::MemoryApplication second(applicationWith({}));
    write(second);
    EXPECT_EQ(file("PUMP.dfx"), group({"", "", stamp, "", "", "", "", ""}) + "\r\n");
}

struct KeywordCase {
    std::string name;
    std::string value;
    std::string message;
};

void PrintTo(const KeywordCase& c, std::ostream* out)
{
    *out << c.name << "=\"" << c.value << "\"";
}

class ValueKeywordChecks : public ValuesWriter, public ::testing::WithParamInterface<KeywordCase> {};

TEST_P(ValueKeywordChecks, AbortWithTheirMessageAndChangeNoFile)
{
    const KeywordCase& c = GetParam();
    writeBytes(dir / "PUMP.dfx", "earlier\r\n");
    const auto outcome = writeWith({singleDimension(1101, "A", {}, 1), namedValueCommand(c.name, c.value), singleDimension(1101, "B", {}, 2)});
    EXPECT_EQ(outcome, ValuesOutcome::Aborted);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, c.message);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages.messages[0].progressShown);
    EXPECT_EQ(file("PUMP.dfx"), "earlier\r\n");
    EXPECT_EQ(dir.listing(), "PUMP.dfx");
    EXPECT_FALSE(progress.visible);
}

INSTANTIATE_TEST_SUITE_P(EveryCheck, ValueKeywordChecks,
    ::testing::Values(
        KeywordCase{"FIELD4", "1;2", "L35 L56"},
        KeywordCase{"FIELD4", "1.5", "L35 L56"},
        KeywordCase{"FIELD5", "#123456789012345", "L36 L56"},
        KeywordCase{"FIELD5", "LOT7", "L37 L56"},
        KeywordCase{"FIELD5", "", "L37 L56"},
        KeywordCase{"FIELD6", "x", "L38 L56"},
        KeywordCase{"FIELD6", "40000", "L38 L56"},
        KeywordCase{"FIELD6", "123.25", "L39 L56"},
        KeywordCase{"FIELD7", "", "L40 L56"},
        KeywordCase{"FIELD7", "-12345", "L41 L56"},
        KeywordCase{"FIELD8", "abc", "L42 L56"},
        KeywordCase{"FIELD8", "1.0e02", "L43 L56"},
        KeywordCase{"K0053", "123456789012345678901", "L44 L56"},
        KeywordCase{"K0012", "twelve", "L58 K0012 L60 L56"},
        KeywordCase{"K0012", "00012.0", "L58 K0012 L59 L56"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(ValuesWriter, AbortInCombinedModeChangesNeitherFile)
{
    settings.DFQ = true;
    writeBytes(dir / "PUMP.dfq", "description\r\n");
    EXPECT_EQ(writeWith({namedValueCommand("FIELD5", "no hash")}), ValuesOutcome::Aborted);
    EXPECT_EQ(file("PUMP.dfq"), "description\r\n");
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(ValuesWriter, CombinedModeMovesTheBlockIntoTheCombinedFile)
{
    settings.DFQ = true;
    writeBytes(dir / "PUMP.dfq", "description\r\n");
    source::MemoryApplication application(exampleApplication());
    write(application);
    const std::string block = golden("example-values-point.dfx");
    EXPECT_EQ(file("PUMP.dfq"), "description\r\n" + block);
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
    write(application);
    EXPECT_EQ(file("PUMP.dfq"), "description\r\n" + block + block);
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(ValuesWriter, CombinedModeJoinsALeftOverValuesFile)
{
    settings.DFQ = true;
    writeBytes(dir / "PUMP.dfq", "description\r\n");
    writeBytes(dir / "PUMP.dfx", "old block\r\n");
    source::MemoryApplication application(exampleApplication());
    write(application);
    EXPECT_EQ(file("PUMP.dfq"), "description\r\nold block\r\n" + golden("example-values-point.dfx"));
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(ValuesWriter, DrivesTheProgressDisplayAndHidesItAtTheEnd)
{
    source::MemoryApplication application(exampleApplication());
    write(application);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"L10"});
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(progress.value, 5);
    EXPECT_EQ(progress.updates, 5);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.hides, 1);
}

TEST_F(ValuesWriter, SwitchesUpdatesOffForTheWalkAndPutsThemBack)
{
    auto record = exampleApplication();
    record.updatesEnabled = false;
    source::MemoryApplication application(record);
    write(application);
    EXPECT_FALSE(application.record().updatesEnabled);
    EXPECT_EQ(application.updatesEnabledWrites(), 2);

    source::MemoryApplication enabled(exampleApplication());
    writeWith({});
    write(enabled);
    EXPECT_TRUE(enabled.record().updatesEnabled);
}

TEST_F(ValuesWriter, PutsUpdatesBackAfterAnAbort)
{
    source::MemoryApplication application(applicationWith({namedValueCommand("FIELD6", "x")}));
    EXPECT_EQ(write(application), ValuesOutcome::Aborted);
    EXPECT_TRUE(application.record().updatesEnabled);
}

TEST_F(ValuesWriter, NumbersLikeTheDescriptionWalk)
{
    // A single dimension of an unknown type takes no number, and a block start with selector 1 closes
    // the block that was open: its lines give no characteristics.
    writeWith({
        singleDimension(1115, "UNKNOWN", {}, 9),
        blockStart(1000, "AX1", 0, 1),
        axisLine(1002, {}, 1),
        blockStart(1000, "AX2", 1, 1),
        axisLine(1003, {}, 8),
        blockEnd(1001),
        singleDimension(1101, "S", {}, 2),
    });
    EXPECT_EQ(file("PUMP.dfx"), group({"1.0000", "0", stamp, "", "", "", "", ""}) + group({"2.0000", "0", "", "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, TakesPositionResultsAndAxesAsConfigured)
{
    const std::vector<source::CommandRecord> block{
        blockStart(1200, "POS1", 0, 1),
        positionLine(1202, {}, 1),
        positionLine(1209, {}, 99, 0.125),
        positionLine(1230, {}, 3), // no type name: still a number
        blockEnd(1201),
    };
    writeWith(block);
    EXPECT_EQ(file("PUMP.dfx"), group({"0.1250", "0", stamp, "", "", "", "", ""}) + "\r\n");
    std::filesystem::remove(dir / "PUMP.dfx");
    settings.PosAchse = true;
    writeWith(block);
    EXPECT_EQ(file("PUMP.dfx"), group({"1.0000", "0", stamp, "", "", "", "", ""}) + group({"0.1250", "0", "", "", "", "", "", ""}) +
                                    group({"3.0000", "0", "", "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, CountsACommandThatIsAxisAndPositionLineTwice)
{
    auto both = axisLine(1209, {}, 4);
    both.dimensionData->isPositionLine = true;
    both.dimensionData->positionResult = 5;
    writeWith({blockStart(1200, "P", 2, 1), both, blockEnd(1201), namedValueCommand("FIELD8", "7")});
    EXPECT_EQ(file("PUMP.dfx"), group({"4.0000", "0", stamp, "", "", "", "", ""}) + group({"5.0000", "0", "", "", "", "", "", ""}) + "\r\n");
}

TEST_F(ValuesWriter, IgnoresAxisLinesOutsideBlocksAndType1011)
{
    writeWith({axisLine(1002, {}, 1), blockStart(1000, "A", 0, 1), axisLine(1011, {}, 2), axisLine(1021, {}, 3), blockEnd(1001), axisLine(1002, {}, 4)});
    EXPECT_EQ(file("PUMP.dfx"), group({"3.0000", "0", stamp, "", "", "", "", ""}) + "\r\n");
}
