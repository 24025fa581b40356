// Reading the open part program for a snapshot: what is read, how often, and which refusals stop it.
#include "app/PartProgramCapture.h"

#include "support/Doubles.h"
#include "support/ModelBuilder.h"

#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

using namespace testing_support;
using source::Member;

namespace {

source::ApplicationRecord capture(source::MemoryApplication& application, RecordingMessages& messages)
{
    const auto program = application.ActivePartProgram();
    return app::capturePartProgram(application, *program, messages);
}

} // namespace

TEST(PartProgramCapture, ReadsEveryMemberOfEachObjectOnceAndRestoresTheScreenUpdates)
{
    source::ApplicationRecord record = realisticApplication();
    record.updatesEnabled = false;
    source::MemoryApplication application(record);
    RecordingMessages messages;
    application.log().startTrace();
    const source::ApplicationRecord captured = capture(application, messages);

    std::map<std::pair<Member, std::uint32_t>, int> reads;
    for (const auto& entry : application.log().trace())
        ++reads[{entry.member, entry.commandIndex}];
    for (const auto& [read, count] : reads) {
        const int expected = read.first == Member::ApplicationSetUpdatesEnabled ? 2 : 1; // off, and back
        EXPECT_EQ(count, expected) << source::memberName(read.first) << " of command " << read.second + 1;
    }
    EXPECT_FALSE(application.UpdatesEnabled());
    EXPECT_EQ(source::writeSnapshot(captured), source::writeSnapshot(record));
    EXPECT_TRUE(messages.messages.empty());
}

TEST(PartProgramCapture, LeavesWhatTheCommandDoesNotHaveAbsent)
{
    source::CommandRecord notADimension = plainCommand(300);
    notADimension.dimensionData = singleDimension(1106, "DIM9", {1, 0.1, 0.1}, 1.05).dimensionData;
    source::MemoryApplication application(applicationWith({notADimension}));
    RecordingMessages messages;
    const source::ApplicationRecord captured = capture(application, messages);

    const source::CommandRecord& command = captured.activePartProgram->commands.at(0);
    EXPECT_FALSE(command.dimensionData);
    EXPECT_FALSE(command.comment);
    EXPECT_FALSE(command.namedValue);
    EXPECT_EQ(application.log().count(Member::CommandDimensionData), 0u);
    EXPECT_EQ(application.log().count(Member::CommandComment), 0u);
    EXPECT_EQ(application.log().count(Member::CommandNamedValue), 0u);
}

// The refusals a conversion survives become failing reads of the snapshot; the others stop the
// capture naming the member and the command, and the screen updates are back on either way.
TEST(PartProgramCapture, KeepsTheRefusalsAConversionSurvivesAndStopsAtAnyOther)
{
    struct Case {
        const char* name;
        int commandIndex; // 0-based, in the part program below
        source::ModelObject object;
        Member member;
        void (*unread)(source::CommandRecord&); // the value the snapshot then holds; nullptr: the capture stops
    };
    const auto noId = [](source::CommandRecord& c) { c.id.clear(); };
    const auto noSelector = [](source::CommandRecord& c) { c.dimensionData->outputSelector = 0; };
    const auto noUnit = [](source::CommandRecord& c) { c.dimensionData->unitCode = 0; };
    const auto noValidity = [](source::CommandRecord& c) { c.valueValid = false; };
    const Case cases[] = {
        {"the ID of a block start", 1, source::ModelObject::Command, Member::CommandId, noId},
        {"the ID of a single dimension", 0, source::ModelObject::Command, Member::CommandId, noId},
        {"the output selector", 1, source::ModelObject::DimensionData, Member::DimensionDataOutputSelector, noSelector},
        {"the unit", 0, source::ModelObject::DimensionData, Member::DimensionDataUnitCode, noUnit},
        {"the validity of a command without dimension", 3, source::ModelObject::Command, Member::CommandValueValid, noValidity},
        {"the validity of a dimension", 2, source::ModelObject::Command, Member::CommandValueValid, nullptr},
        {"a measured value", 2, source::ModelObject::DimensionData, Member::DimensionDataMeasured, nullptr},
        {"a feature", 0, source::ModelObject::DimensionData, Member::DimensionDataFeature1, nullptr},
        {"the command type", 3, source::ModelObject::Command, Member::CommandCommandType, nullptr},
        {"a comment's text", 4, source::ModelObject::Comment, Member::CommentText, nullptr},
        {"a named value's value", 5, source::ModelObject::NamedValue, Member::NamedValueValue, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        source::ApplicationRecord record = applicationWith({singleDimension(1106, "DIM1", {25, 0.1, 0.05}, 25.03, "CIR1"),
                                                            blockStart(1000, "AX1", 0, 1, "CIR2"),
                                                            axisLine(1002, {10, 0.2, 0.2}, 10.1), blockEnd(1001),
                                                            commentCommand("Pr\xC3\xBC" "fung"), namedValueCommand("K1001", "4711")});
        source::CommandRecord& command = record.activePartProgram->commands.at(static_cast<std::size_t>(c.commandIndex));
        source::FailingReads& failing = c.object == source::ModelObject::Command         ? command.failingReads
                                        : c.object == source::ModelObject::DimensionData ? command.dimensionData->failingReads
                                        : c.object == source::ModelObject::Comment       ? command.comment->failingReads
                                                                                         : command.namedValue->failingReads;
        failing.add(c.member);
        source::MemoryApplication application(record);
        RecordingMessages messages;
        if (c.unread) {
            c.unread(command);
            EXPECT_EQ(source::writeSnapshot(capture(application, messages)), source::writeSnapshot(record));
        } else {
            try {
                capture(application, messages);
                ADD_FAILURE() << "the capture went on";
            } catch (const source::ReadError& error) {
                EXPECT_EQ(error.member(), std::string(source::memberName(c.member)) + " of command " +
                                              std::to_string(c.commandIndex + 1));
            }
        }
        EXPECT_TRUE(application.UpdatesEnabled());
        EXPECT_EQ(application.updatesEnabledWrites(), 2);
    }
}
