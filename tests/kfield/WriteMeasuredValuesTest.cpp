// The value lines themselves are proven by the full-write cases under tests/data/conversions.
#include "kfield/WriteMeasuredValues.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

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

TEST_F(ValuesWriter, AppendsOneBlockPerMeasurement)
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
}

TEST_F(ValuesWriter, ForgetsTheRunDataOfEarlierMeasurements)
{
    writeWith({namedValueCommand("FIELD5", "#A"), namedValueCommand("K0012", "1"), namedValueCommand("FIELD4", "1"),
               namedValueCommand("FIELD8", "1")});
    std::filesystem::remove(dir / "PUMP.dfx");
    writeWith({});
    EXPECT_EQ(file("PUMP.dfx"), readBytes(testDataDir() / "conversions" / "no-commands" / "PUMP.dfx"));
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
