// The two writes: a full write's handling of named values and settings, and what the values writer
// does beyond the value lines. The files they write, and those they leave alone when they abort, are
// proven byte by byte by the cases under tests/data/conversions and tests/data/kfield/conversions,
// appends by the repeated runs (tests/reliability).
#include "kfield/ConvertPartProgram.h"
#include "files/FileError.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Snapshot.h"

#include "support/ErrorText.h"
#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

using namespace testing_support;
using kfield::MessageIcon;
using kfield::ValuesOutcome;

namespace {

class FullWrite : public ConversionFixture {
protected:
    // Into an output directory without the files of an earlier write.
    std::optional<ValuesOutcome> convert(source::ApplicationRecord record)
    {
        std::filesystem::remove(dir / "PUMP.dfd");
        std::filesystem::remove(dir / "PUMP.dfx");
        messages.messages.clear();
        source::MemoryApplication application(std::move(record));
        return run(application, kfield::ConvertPartProgram);
    }
};

using ValuesWriter = ConversionFixture;

} // namespace

TEST_F(FullWrite, ChecksReplacesOrCutsANamedValue)
{
    for (const TableRow& row : tableRows("kfield/named-values.txt")) {
        SCOPED_TRACE(row[0] + "=\"" + row[1] + "\"");
        regional = FixedRegionalSettings(row[2]);
        EXPECT_EQ(convert(applicationWith({namedValueCommand(row[0], row[1]), singleDimension(1101, "A", {}, 0)})), ValuesOutcome::Written);
        std::string shown;
        for (const std::string& text : messageTexts())
            shown += (shown.empty() ? "" : ";") + text;
        EXPECT_EQ(shown, row[3]);
        for (const auto& message : messages.messages)
            EXPECT_EQ(message.icon, MessageIcon::Information);
        EXPECT_NE(file("PUMP.dfd").find("\n" + row[4] + "\r\n"), std::string::npos) << file("PUMP.dfd");
    }
}

// After a program that ends in a comment, and one with a part-level named value.
TEST_F(FullWrite, CarriesNothingIntoTheNextFullWrite)
{
    settings.Kommentare = true;
    for (const std::string earlier : {"comments", "named-values"}) {
        convert(source::readSnapshotFile(testDataDir() / "conversions" / earlier / "program.json"));
        convert(applicationWith({singleDimension(1101, "A", {}, 0)}));
        EXPECT_EQ(file("PUMP.dfd").find("K1101"), std::string::npos) << earlier;
        EXPECT_EQ(file("PUMP.dfd").find("dangling"), std::string::npos) << earlier;
    }
}

TEST_F(FullWrite, NeverMatchesAKeywordLineWithLowerCase)
{
    texts.setLine(160, "k1101");
    convert(applicationWith({namedValueCommand("k1101", "x"), namedValueCommand("K1101", "y")}));
    EXPECT_EQ(file("PUMP.dfd").find("K1101"), std::string::npos);
}

// The description's body, and in combined mode the values left over from separate mode, are copied
// from scratch files; one that fails before its end stops the write with the file's name.
TEST_F(FullWrite, RefusesAScratchFileThatCannotBeReadToItsEnd)
{
    writeBytes(dir / "PUMP.dfx", "values left over\r\n");
    files.failReadsAfter(5);
    source::MemoryApplication application(exampleApplication());
    const auto expectCannotRead = [&](const std::string& scratch, auto operation) {
        EXPECT_EQ(errorText<kfield::FileError>([&] { run(application, operation); }),
                  "Cannot read \"" + (dir / scratch).string() + "\": the file could not be read to its end");
    };
    expectCannotRead("PUMP.tmp", kfield::ConvertPartProgram);
    settings.DFQ = true;
    expectCannotRead("PUMP.dfx", kfield::WriteMeasuredValues);
}

// After a program whose last values follow its last dimension.
TEST_F(ValuesWriter, ForgetsTheRunDataOfEarlierMeasurements)
{
    const std::filesystem::path conversions = testDataDir() / "conversions";
    for (const char* name : {"value-fields", "no-commands"}) {
        std::filesystem::remove(dir / "PUMP.dfx");
        source::MemoryApplication application(source::readSnapshotFile(conversions / name / "program.json"));
        run(application, kfield::WriteMeasuredValues);
    }
    EXPECT_EQ(file("PUMP.dfx"), readBytes(conversions / "no-commands" / "PUMP.dfx"));
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
            EXPECT_EQ(run(application, kfield::WriteMeasuredValues), ValuesOutcome::Aborted);
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
    run(disabled, kfield::WriteMeasuredValues);
    EXPECT_FALSE(disabled.record().updatesEnabled);
    EXPECT_EQ(disabled.updatesEnabledWrites(), 2);
    EXPECT_EQ(progress.captions, std::vector<std::string>{"L10"});
    EXPECT_EQ(progress.maximum, 5);
    EXPECT_EQ(progress.value, 5);
    EXPECT_EQ(progress.updates, 5);
    EXPECT_FALSE(progress.visible);
    EXPECT_EQ(progress.hides, 1);
}
