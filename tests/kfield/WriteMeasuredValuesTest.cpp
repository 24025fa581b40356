// The value lines themselves are proven by the full-write cases under tests/data/conversions, appends
// by the repeated runs (tests/reliability).
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

TEST_F(ValuesWriter, ForgetsTheRunDataOfEarlierMeasurements)
{
    writeWith({namedValueCommand("FIELD5", "#A"), namedValueCommand("K0012", "1"), namedValueCommand("FIELD4", "1"),
               namedValueCommand("FIELD8", "1")});
    std::filesystem::remove(dir / "PUMP.dfx");
    writeWith({});
    EXPECT_EQ(file("PUMP.dfx"), readBytes(testDataDir() / "conversions" / "no-commands" / "PUMP.dfx"));
}

// In combined mode too, where a values file left over from separate mode would move into the combined file.
TEST_F(ValuesWriter, RejectedValueAbortsWithItsMessageAndChangesNoFile)
{
    for (const bool combined : {false, true}) {
        settings.DFQ = combined;
        const DirectoryBytes before{{"PUMP.dfq", "description\r\n"}, {"PUMP.dfx", "earlier\r\n"}};
        for (const auto& [name, bytes] : before)
            writeBytes(dir / name, bytes);
        for (const TableRow& row : tableRows("kfield/rejected-values.txt")) {
            SCOPED_TRACE(row[0] + "=" + row[1] + (combined ? " combined" : ""));
            messages.messages.clear();
            source::MemoryApplication application(applicationWith(
                {singleDimension(1101, "A", {}, 1), namedValueCommand(row[0], row[1]), singleDimension(1101, "B", {}, 2)}));
            EXPECT_EQ(write(application), ValuesOutcome::Aborted);
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(messages.messages[0].text, row[2]);
            EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
            EXPECT_TRUE(messages.messages[0].progressShown);
            EXPECT_EQ(contentsOf(dir.path()), before);
            EXPECT_FALSE(progress.visible);
            EXPECT_TRUE(application.record().updatesEnabled);
        }
    }
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
}
