#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include "support/Files.h"
#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

std::string errorOf(const std::string& document)
{
    try {
        source::parseSnapshot(document, "test.json");
    } catch (const source::SnapshotError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(Snapshot, ReadsTheDocumentedExample)
{
    const auto record = source::parseSnapshot(R"({"updatesEnabled": true,
      "activePartProgram": {
        "partName": "PUMP HOUSING A1", "directory": "D:\\MESSDATEN", "revisionNumber": "B",
        "serialNumber": "4711", "fileName": "PUMP1.PRG",
        "commands": [
          {"commandType": 1106, "id": "DIM1", "isDimension": true, "valueValid": true,
           "comment": {"commentKind": 1, "text": "Bore check"},
           "namedValue": {"name": "SOMEKEY", "value": "12"},
           "dimensionData": {"id": "DIM1", "feature1": "CIR1", "feature2": "", "feature3": "",
             "nominal": 25, "measured": 25.03124, "minusTolerance": 0.05, "plusTolerance": 0.1,
             "positionResult": 0, "outputSelector": 0, "unitCode": 1,
             "isAxisLine": false, "isPositionLine": false},
           "failingReads": ["id"]}]}})",
                                              "example");
    source::MemoryApplication application(record);
    const auto program = application.ActivePartProgram();
    ASSERT_TRUE(program);
    EXPECT_EQ(program->Directory(), "D:\\MESSDATEN");
    const auto commands = program->Commands();
    EXPECT_EQ(commands->Count(), 1);
    const auto command = commands->Enumerate()->Next();
    EXPECT_EQ(command->CommandType(), 1106);
    EXPECT_THROW(command->Id(), source::ReadError);
    EXPECT_TRUE(command->HasComment());
    EXPECT_EQ(command->Comment()->Text(), "Bore check");
    EXPECT_EQ(command->NamedValue()->Value(), "12");
    EXPECT_DOUBLE_EQ(command->DimensionData()->Measured(), 25.03124);
    EXPECT_EQ(command->DimensionData()->Feature1(), "CIR1");
}

TEST(Snapshot, RoundTripsEveryMember)
{
    auto record = realisticApplication();
    record.updatesEnabled = false;
    record.failingReads.add(source::Member::ApplicationSetUpdatesEnabled);
    auto& program = *record.activePartProgram;
    program.failingReads.add(source::Member::CommandsVisitCommand);
    program.commands[4].failingReads.add(source::Member::CommandValueValid);
    program.commands[4].dimensionData->feature2 = "F2";
    program.commands[4].dimensionData->feature3 = "F3 \xC3\x84";
    program.commands[4].dimensionData->failingReads.add(source::Member::DimensionDataUnitCode);
    program.commands[4].comment->failingReads.add(source::Member::CommentText);
    program.commands[1].namedValue->failingReads.add(source::Member::NamedValueValue);

    const std::string written = source::writeSnapshot(record);
    const auto read = source::parseSnapshot(written, "round trip");
    EXPECT_EQ(source::writeSnapshot(read), written);
    EXPECT_FALSE(read.updatesEnabled);
    EXPECT_TRUE(read.failingReads.contains(source::Member::ApplicationSetUpdatesEnabled));
    EXPECT_TRUE(read.activePartProgram->commands[4].dimensionData->failingReads.contains(source::Member::DimensionDataUnitCode));
    EXPECT_EQ(read.activePartProgram->commands[4].dimensionData->feature3, "F3 \xC3\x84");
    EXPECT_EQ(read.activePartProgram->commands.size(), program.commands.size());
    EXPECT_DOUBLE_EQ(read.activePartProgram->commands[4].dimensionData->measured, 25.03124);
}

TEST(Snapshot, ReadsAbsentMembersAsDefaults)
{
    const auto record = source::parseSnapshot(R"({"activePartProgram": {"commands": [{}]}})", "t");
    EXPECT_TRUE(record.updatesEnabled);
    const auto& command = record.activePartProgram->commands.at(0);
    EXPECT_EQ(command.commandType, 0);
    EXPECT_FALSE(command.isDimension);
    EXPECT_FALSE(command.comment.has_value());
    source::MemoryApplication application(record);
    const auto read = application.ActivePartProgram()->Commands()->Enumerate()->Next();
    EXPECT_EQ(read->DimensionData()->Nominal(), 0.0);
    EXPECT_EQ(read->DimensionData()->Id(), "");
    EXPECT_FALSE(read->HasNamedValue());
}

TEST(Snapshot, KnowsWhenNoPartProgramIsOpen)
{
    EXPECT_FALSE(source::parseSnapshot(R"({"updatesEnabled": true})", "t").activePartProgram);
    EXPECT_FALSE(source::parseSnapshot(R"({"activePartProgram": null})", "t").activePartProgram);
    source::MemoryApplication application(source::parseSnapshot("{}", "t"));
    EXPECT_EQ(application.ActivePartProgram(), nullptr);
}

TEST(Snapshot, RejectsMalformedDocumentsNamingTheFault)
{
    EXPECT_EQ(errorOf("{\"updatesEnabled\": tru}"),
              "Cannot read the snapshot \"test.json\": parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"updatesEnabled\": tru}'");
    EXPECT_NE(errorOf("{\n\"activePartProgram\": {\n\"commands\": [\n").find("at line 4"), std::string::npos);
    EXPECT_EQ(errorOf("[]"), "Cannot read the snapshot \"test.json\": at the document: expected an object");
    EXPECT_EQ(errorOf(R"({"color": 1})"), "Cannot read the snapshot \"test.json\": at color: unknown member");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": [{}, {"dimensionData": {"nominal": "25"}}]}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands[1].dimensionData.nominal: expected a number");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": [{"commandType": 1106.5}]}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands[0].commandType: expected a whole number");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": [{"commandType": 4294967296}]}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands[0].commandType: the number is out of range");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"partName": 7}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.partName: expected a text");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": {}}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands: expected a list of commands");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": [{"isDimension": 1}]}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands[0].isDimension: expected true or false");
    EXPECT_EQ(errorOf(R"({"activePartProgram": {"commands": [{"comment": {"text": "a", "failingReads": ["name"]}}]}})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram.commands[0].comment.failingReads[0]: \"name\" is not a member of this object");
    EXPECT_EQ(errorOf(R"({"activePartProgram": 5})"),
              "Cannot read the snapshot \"test.json\": at activePartProgram: expected an object");
    EXPECT_NE(errorOf("{\"activePartProgram\": {\"partName\": \"\xC3\"}}").find("ill-formed UTF-8"), std::string::npos);
    EXPECT_NE(errorOf("").find("parse error at line 1, column 1"), std::string::npos);
}

TEST(Snapshot, NamesAFileThatCannotBeRead)
{
    try {
        source::readSnapshotFile("/nonexistent/snapshot.json");
        FAIL() << "no error";
    } catch (const source::SnapshotError& error) {
        EXPECT_STREQ(error.what(), "Cannot read the snapshot \"/nonexistent/snapshot.json\": No such file or directory");
    }
}

TEST(Snapshot, ReadsTheShippedExamples)
{
    for (const char* name : {"pump-housing.json", "gearbox-cover.json", "no-part-program.json"}) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(source::readSnapshotFile(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / name));
    }
}
