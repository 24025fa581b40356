// The snapshot is read as it streams past: what a reader of the whole document would do must hold
// all the same where the stream gets ahead of it.
#include "source/Snapshot.h"

#include <gtest/gtest.h>

namespace {

std::string errorOf(const std::string& document)
{
    try {
        source::parseSnapshot(document, "t.json");
    } catch (const source::SnapshotError& error) {
        return error.reason();
    }
    return "no error";
}

} // namespace

TEST(SnapshotStreaming, ASyntaxErrorAfterAFaultOfTheContentIsWhatIsReported)
{
    const std::vector<std::pair<std::string, std::string>> rows{
        {R"({"color": 1, "updatesEnabled": tru})", "parse error at line 1, column 35: syntax error while parsing value - invalid literal; last read: '\"updatesEnabled\": tru}'"},
        {R"({"activePartProgram": {"commands": [5, )", "parse error at line 1, column 40: syntax error while parsing value - unexpected end of input; expected '[', '{', or a literal"},
        {R"([1] [2])", "parse error at line 1, column 5: syntax error while parsing value - unexpected '['; expected end of input"},
    };
    for (const auto& [document, reason] : rows)
        EXPECT_EQ(errorOf(document), reason) << document;
}

TEST(SnapshotStreaming, ARepeatedMemberCountsAsItsLastValueAlone)
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
