#include "source/Member.h"
#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include "support/Files.h"
#include "support/ModelBuilder.h"

#include <gtest/gtest.h>

#include <cctype>

#include <utility>

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
    const std::pair<std::string, std::string> cases[] = {
        {"{\"updatesEnabled\": tru}",
         "parse error at line 1, column 23: syntax error while parsing value - invalid literal; last read: '\"updatesEnabled\": tru}'"},
        {"[]", "at the document: expected an object"},
        // The reader streams: a syntax error after a fault of the content is still what is reported.
        {R"({"color": 1, "updatesEnabled": tru})", "parse error at line 1, column 35: syntax error while parsing value - invalid literal; last read: '\"updatesEnabled\": tru}'"},
        {R"({"activePartProgram": {"commands": [5, )", "parse error at line 1, column 40: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal"},
        {R"([1] [2])", "parse error at line 1, column 5: syntax error while parsing value - unexpected '['; expected end of input"},
        {R"({"color": 1})", "at color: unknown member"},
        {R"({"activePartProgram": 5})", "at activePartProgram: expected an object"},
        {R"({"activePartProgram": {"commands": [{}, {"dimensionData": {"nominal": "25"}}]}})",
         "at activePartProgram.commands[1].dimensionData.nominal: expected a number"},
        {R"({"activePartProgram": {"commands": [{"commandType": 1106.5}]}})",
         "at activePartProgram.commands[0].commandType: expected a whole number"},
        {R"({"activePartProgram": {"commands": [{"commandType": 2147483648}]}})",
         "at activePartProgram.commands[0].commandType: the number is out of range"},
        {R"({"activePartProgram": {"commands": [{"commandType": -2147483649}]}})",
         "at activePartProgram.commands[0].commandType: the number is out of range"},
        {R"({"activePartProgram": {"partName": 7}})", "at activePartProgram.partName: expected a text"},
        {R"({"activePartProgram": {"commands": {}}})", "at activePartProgram.commands: expected a list of commands"},
        {R"({"activePartProgram": {"commands": [{"isDimension": 1}]}})",
         "at activePartProgram.commands[0].isDimension: expected true or false"},
        {R"({"activePartProgram": {"commands": [{"comment": {"text": "a", "failingReads": ["name"]}}]}})",
         "at activePartProgram.commands[0].comment.failingReads[0]: \"name\" is not a member of this object"},
    };
    for (const auto& [document, fault] : cases)
        EXPECT_EQ(errorOf(document), "Cannot read the snapshot \"test.json\": " + fault);
    EXPECT_NE(errorOf("{\n\"activePartProgram\": {\n\"commands\": [\n").find("at line 4"), std::string::npos);
    EXPECT_NE(errorOf("{\"activePartProgram\": {\"partName\": \"\xC3\"}}").find("ill-formed UTF-8"), std::string::npos);
    EXPECT_NE(errorOf("").find("parse error at line 1, column 1"), std::string::npos);
}

TEST(CommandRecord, CopiesItsPartsAndNotPointersToThem)
{
    source::CommandRecord original = singleDimension(1101, "A", {}, 1);
    original.comment = source::CommentRecord{1, "kept", {}};
    source::CommandRecord copy = original;
    copy.dimensionData->id = "B";
    copy.comment->text = "changed";
    EXPECT_EQ(original.dimensionData->id, "A");
    EXPECT_EQ(original.comment->text, "kept");
    EXPECT_FALSE(copy.namedValue);

    copy = source::CommandRecord{};
    EXPECT_FALSE(copy.dimensionData);
    EXPECT_TRUE(original.dimensionData);
    copy = original;
    EXPECT_EQ(copy.dimensionData->id, "A");
}

TEST(Snapshot, TakesTheWholeRangeOfACommandType)
{
    const auto record = source::parseSnapshot(
        R"({"activePartProgram": {"commands": [{"commandType": 2147483647}, {"commandType": -2147483648}]}})", "t");
    EXPECT_EQ(record.activePartProgram->commands.at(0).commandType, 2147483647);
    EXPECT_EQ(record.activePartProgram->commands.at(1).commandType, -2147483647 - 1);
}

TEST(Snapshot, CountsARepeatedMemberAsItsLastValueAlone)
{
    const auto record = source::parseSnapshot(R"({"updatesEnabled": false, "updatesEnabled": true,
        "activePartProgram": {"partName": "A", "commands": [{}, {}], "partName": "B", "commands": [
          {"dimensionData": {"nominal": 1, "measured": 2}, "dimensionData": {"nominal": 3},
           "failingReads": ["id"], "failingReads": ["valueValid"]}]}})",
                                              "t.json");
    EXPECT_TRUE(record.updatesEnabled);
    const auto& program = *record.activePartProgram;
    EXPECT_EQ(program.partName, "B");
    ASSERT_EQ(program.commands.size(), 1u);
    EXPECT_EQ(program.commands[0].dimensionData->nominal, 3);
    EXPECT_EQ(program.commands[0].dimensionData->measured, 0) << "the first object is gone with all its members";
    EXPECT_FALSE(program.commands[0].failingReads.contains(source::Member::CommandId));
    EXPECT_TRUE(program.commands[0].failingReads.contains(source::Member::CommandValueValid));

    EXPECT_FALSE(source::parseSnapshot(R"({"activePartProgram": {"partName": "A"}, "activePartProgram": null})", "t.json")
                     .activePartProgram);
}

TEST(Snapshot, NamesAFileThatCannotBeRead)
{
    try {
        source::readSnapshotFile("/nonexistent/snapshot.json");
        FAIL() << "no error";
    } catch (const source::ReadError& error) { // a failed read of the application, as any other
        EXPECT_STREQ(error.what(), "Cannot read the snapshot \"/nonexistent/snapshot.json\": No such file or directory");
        EXPECT_EQ(error.member(), "/nonexistent/snapshot.json");
        EXPECT_EQ(error.reason(), "No such file or directory");
    }
}

TEST(Snapshot, RejectsAFileAsItsTextWithTheSamePosition)
{
    const std::string manyCommands = [] {
        std::string commands;
        for (int i = 0; i < 5000; ++i)
            commands += R"({"commandType": 1, "id": "C)" + std::to_string(i) + R"("}, )";
        return commands;
    }();
    const std::string documents[] = {
        "",
        "{",
        R"({"updatesEnabled": true} x)",
        R"({"activePartProgram": {"commands": [)" + manyCommands + "}",
        R"({"activePartProgram": {"commands": [)" + manyCommands + R"({"commandType": "one"}]}})",
        R"({"activePartProgram": {"partName": ")" + std::string(100000, 'P') + "\xC3\"}}",
    };
    TemporaryDirectory dir;
    for (const std::string& document : documents) {
        SCOPED_TRACE(document.substr(0, 40));
        writeBytes(dir / "test.json", document);
        std::string fromFile = "no error";
        try {
            source::readSnapshotFile(dir / "test.json");
        } catch (const source::SnapshotError& error) {
            fromFile = error.what();
        }
        std::string fromText = errorOf(document);
        EXPECT_NE(fromText, "no error");
        EXPECT_EQ(fromFile, fromText.replace(fromText.find("test.json"), 9, (dir / "test.json").string()));
    }
}

TEST(Snapshot, ReadsTheShippedExamples)
{
    for (const char* name : {"pump-housing.json", "gearbox-cover.json", "no-part-program.json"}) {
        SCOPED_TRACE(name);
        EXPECT_NO_THROW(source::readSnapshotFile(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / name));
    }
}

TEST(Members, AreNamedAlikeInMessagesAndSnapshots)
{
    for (int i = 0; i < source::kMemberCount; ++i) {
        const auto member = static_cast<source::Member>(i);
        const std::string_view shown = source::memberName(member);
        const std::string_view stored = source::snapshotName(member);
        EXPECT_EQ(source::memberFromSnapshotName(source::objectOf(member), stored), member) << shown;
        // The object's name comes first; the command collection's members hang on the part program.
        constexpr std::string_view kObjects[] = {"Application", "PartProgram", "Command", "DimensionData", "Comment", "NamedValue"};
        const std::string_view object = kObjects[static_cast<int>(source::objectOf(member))];
        EXPECT_TRUE(shown.starts_with(std::string(object) + ".") || shown.starts_with(std::string(object) + " (") ||
                    (object == "PartProgram" && shown.starts_with("Commands")))
            << shown;
        if (shown.find(" (") != std::string_view::npos)
            continue; // the default member, the write of UpdatesEnabled, the enumeration
        std::string last(stored.substr(stored.rfind('.') + 1));
        last[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(last[0])));
        EXPECT_TRUE(shown.ends_with("." + last)) << shown << " / " << stored;
    }
}
