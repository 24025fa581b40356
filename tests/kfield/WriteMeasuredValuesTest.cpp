#include "kfield/WriteMeasuredValues.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

const std::string kStamp = "05.12.2026/14:03:12";

// One characteristic's eight fields, DC4 between them and SI after them.
std::string group(std::initializer_list<std::string> fields)
{
    std::string text;
    for (const auto& field : fields)
        text += field + '\x14';
    text.back() = '\x0F';
    return text;
}

const std::string kEmptyLine = group({"", "", kStamp, "", "", "", "", ""}) + "\r\n";

std::string firstGroup(const std::string& value, const std::string& attribute = "0")
{
    return group({value, attribute, kStamp, "", "", "", "", ""});
}

std::string laterGroup(const std::string& value)
{
    return group({value, "0", "", "", "", "", "", ""});
}

source::CommandRecord invalid(source::CommandRecord command)
{
    command.valueValid = false;
    return command;
}

source::CommandRecord axisAndPositionLine()
{
    auto both = axisLine(1209, {}, 4);
    both.dimensionData->isPositionLine = true;
    both.dimensionData->positionResult = 5;
    return both;
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

TEST_F(ValuesWriter, AppendsTheExampleBlockUnderEitherSeparator)
{
    source::MemoryApplication application(exampleApplication());
    EXPECT_EQ(write(application), ValuesOutcome::Written);
    stamp = "05.12.2026/14:05:00";
    write(application);
    const std::string first = golden("example-values-point.dfx");
    std::string second = first;
    second.replace(second.find("14:03:12"), 8, "14:05:00");
    EXPECT_EQ(file("PUMP.dfx"), first + second);
    EXPECT_EQ(dir.listing(), "PUMP.dfx");
    EXPECT_TRUE(messages.messages.empty());

    std::filesystem::remove(dir / "PUMP.dfx");
    stamp = kStamp;
    regional = FixedRegionalSettings(",");
    write(application);
    EXPECT_EQ(file("PUMP.dfx"), golden("example-values-comma.dfx"));
}

TEST_F(ValuesWriter, BuildsTheValueLineFromTheWalk)
{
    const struct {
        const char* name;
        bool positionAxes;
        std::vector<source::CommandRecord> commands;
        std::string bytes;
    } cases[] = {
        {"no characteristic", false, {plainCommand(300)}, kEmptyLine},
        {"no command", false, {}, kEmptyLine},
        {"invalid value", false, {invalid(singleDimension(1101, "D", {}, 1.5))}, firstGroup("1.5000", "255") + "\r\n"},
        {"every named value in its field", false,
         {namedValueCommand("field4", "1,2"), namedValueCommand("FIELD5", "#LOT7"), namedValueCommand("FIELD6", "12"),
          namedValueCommand("FIELD7", " 7 "), singleDimension(1101, "A", {}, 1), namedValueCommand("FIELD8", "3"),
          singleDimension(1101, "B", {}, 2), namedValueCommand("K0012", "5"), namedValueCommand("K0053", "ORDER 1"),
          namedValueCommand("FIELD8", "9")}, // past the last characteristic: no group takes it
         group({"1.0000", "0", kStamp, "1,2", "#LOT7", "12", "7", ""}) + group({"2.0000", "0", "", "", "", "", "", "3"}) +
             "\r\nK0053/0 ORDER 1\r\nK0012/0 5\r\n"},
        {"empty K0053", false, {namedValueCommand("K0053", "")}, kEmptyLine + "K0053/0 \r\n"},
        {"the later named value wins", false,
         {namedValueCommand("FIELD6", "1"), namedValueCommand("FIELD6", "2"), singleDimension(1101, "A", {}, 1)},
         group({"1.0000", "0", kStamp, "", "", "2", "", ""}) + "\r\n"},
        {"names that are no value keyword", false,
         {namedValueCommand("K2060", "5"), namedValueCommand("UNKNOWN", "x"), namedValueCommand("field 4", "1")}, kEmptyLine},
        // An unknown single type takes no number; a block start with selector 1 closes the open block.
        {"numbers like the description walk", false,
         {singleDimension(1115, "UNKNOWN", {}, 9), blockStart(1000, "AX1", 0, 1), axisLine(1002, {}, 1),
          blockStart(1000, "AX2", 1, 1), axisLine(1003, {}, 8), blockEnd(1001), singleDimension(1101, "S", {}, 2)},
         firstGroup("1.0000") + laterGroup("2.0000") + "\r\n"},
        {"position result only", false,
         {blockStart(1200, "P", 0, 1), positionLine(1202, {}, 1), positionLine(1209, {}, 99, 0.125),
          positionLine(1230, {}, 3), blockEnd(1201)},
         firstGroup("0.1250") + "\r\n"},
        {"position axes too", true,
         {blockStart(1200, "P", 2, 1), positionLine(1202, {}, 1), positionLine(1209, {}, 99, 0.125),
          positionLine(1230, {}, 3), blockEnd(1201)},
         firstGroup("1.0000") + laterGroup("0.1250") + laterGroup("3.0000") + "\r\n"},
        {"axis and position line at once", false,
         {blockStart(1200, "P", 2, 1), axisAndPositionLine(), blockEnd(1201), namedValueCommand("FIELD8", "7")},
         firstGroup("4.0000") + laterGroup("5.0000") + "\r\n"},
        {"axis lines outside blocks and of type 1011", false,
         {axisLine(1002, {}, 1), blockStart(1000, "A", 0, 1), axisLine(1011, {}, 2), axisLine(1021, {}, 3), blockEnd(1001),
          axisLine(1002, {}, 4)},
         firstGroup("3.0000") + "\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dir / "PUMP.dfx");
        settings.PosAchse = c.positionAxes;
        EXPECT_EQ(writeWith(c.commands), ValuesOutcome::Written);
        EXPECT_EQ(file("PUMP.dfx"), c.bytes);
        EXPECT_TRUE(messages.messages.empty());
    }
}

TEST_F(ValuesWriter, ForgetsTheRunDataOfEarlierMeasurements)
{
    writeWith({namedValueCommand("FIELD5", "#A"), namedValueCommand("K0012", "1"), namedValueCommand("FIELD4", "1"),
               namedValueCommand("FIELD8", "1")});
    std::filesystem::remove(dir / "PUMP.dfx");
    writeWith({});
    EXPECT_EQ(file("PUMP.dfx"), kEmptyLine);
}

TEST_F(ValuesWriter, RejectedValueAbortsWithItsMessageAndChangesNoFile)
{
    const struct {
        const char* name;
        const char* value;
        const char* message;
    } cases[] = {
        {"FIELD4", "1;2", "L35 L56"},        {"FIELD4", "1.5", "L35 L56"},
        {"FIELD5", "#123456789012345", "L36 L56"}, {"FIELD5", "LOT7", "L37 L56"}, {"FIELD5", "", "L37 L56"},
        {"FIELD6", "x", "L38 L56"},          {"FIELD6", "40000", "L38 L56"},  {"FIELD6", "123.25", "L39 L56"},
        {"FIELD7", "", "L40 L56"},           {"FIELD7", "-12345", "L41 L56"}, {"FIELD8", "abc", "L42 L56"},
        {"FIELD8", "1.0e02", "L43 L56"},     {"K0053", "123456789012345678901", "L44 L56"},
        {"K0012", "twelve", "L58 K0012 L60 L56"}, {"K0012", "00012.0", "L58 K0012 L59 L56"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "=" + c.value);
        messages.messages.clear();
        writeBytes(dir / "PUMP.dfx", "earlier\r\n");
        source::MemoryApplication application(applicationWith(
            {singleDimension(1101, "A", {}, 1), namedValueCommand(c.name, c.value), singleDimension(1101, "B", {}, 2)}));
        EXPECT_EQ(write(application), ValuesOutcome::Aborted);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, c.message);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
        EXPECT_TRUE(messages.messages[0].progressShown);
        EXPECT_EQ(file("PUMP.dfx"), "earlier\r\n");
        EXPECT_EQ(dir.listing(), "PUMP.dfx");
        EXPECT_FALSE(progress.visible);
        EXPECT_TRUE(application.record().updatesEnabled);
    }
}

TEST_F(ValuesWriter, CombinedModeMovesTheBlocksIntoTheCombinedFile)
{
    settings.DFQ = true;
    writeBytes(dir / "PUMP.dfq", "description\r\n");
    EXPECT_EQ(writeWith({namedValueCommand("FIELD5", "no hash")}), ValuesOutcome::Aborted);
    EXPECT_EQ(file("PUMP.dfq"), "description\r\n");

    writeBytes(dir / "PUMP.dfx", "old block\r\n"); // left over from an interrupted run
    source::MemoryApplication application(exampleApplication());
    write(application);
    write(application);
    const std::string block = golden("example-values-point.dfx");
    EXPECT_EQ(file("PUMP.dfq"), "description\r\nold block\r\n" + block + block);
    EXPECT_EQ(dir.listing(), "PUMP.dfq");
}

TEST_F(ValuesWriter, ShowsProgressAndPutsTheUpdatesFlagBack)
{
    auto record = exampleApplication();
    record.updatesEnabled = false;
    source::MemoryApplication disabled(record);
    write(disabled);
    EXPECT_FALSE(disabled.record().updatesEnabled);
    EXPECT_EQ(disabled.updatesEnabledWrites(), 2);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"L10"});
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(progress.value, 5);
    EXPECT_EQ(progress.updates, 5);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.hides, 1);

    source::MemoryApplication enabled(exampleApplication());
    write(enabled);
    EXPECT_TRUE(enabled.record().updatesEnabled);
}
