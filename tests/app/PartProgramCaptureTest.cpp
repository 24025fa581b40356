// Reading the open part program for a snapshot: what is read, how often, and the screen updates.
#include "run/PartProgramCapture.h"

#include "support/Doubles.h"
#include "support/ModelBuilder.h"

#include "source/MemoryApplication.h"
#include "source/ReadError.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

using namespace testing_support;
using source::Member;

TEST(PartProgramCapture, ReadsEveryMemberOfEachObjectOnceAndRestoresTheScreenUpdates)
{
    source::ApplicationRecord record = realisticApplication();
    record.updatesEnabled = false;
    source::MemoryApplication application(record);
    RecordingMessages messages;
    application.log().startTrace();
    const source::ApplicationRecord captured = app::capturePartProgram(application, *application.ActivePartProgram(), messages);

    std::map<std::pair<Member, std::uint32_t>, int> reads;
    for (const auto& entry : application.log().trace())
        ++reads[{entry.member, entry.commandIndex}];
    for (const auto& [read, count] : reads) {
        const int expected = read.first == Member::ApplicationSetUpdatesEnabled ? 2 : 1; // off, and back
        EXPECT_EQ(count, expected) << source::memberName(read.first) << " of command " << read.second + 1;
    }
    // Each dimension is visited, so that the application brings it up to date, before its values are read.
    const auto isVisit = [](const auto& entry) { return entry.member == Member::CommandsVisitCommand; };
    const auto isDimension = [](const source::CommandRecord& command) { return command.isDimension; };
    EXPECT_EQ(std::ranges::count_if(application.log().trace(), isVisit),
              std::ranges::count_if(record.activePartProgram->commands, isDimension));
    EXPECT_FALSE(application.UpdatesEnabled());
    EXPECT_EQ(source::writeSnapshot(captured), source::writeSnapshot(record));
    EXPECT_TRUE(messages.messages.empty());
}

// Which refusals a save survives and which stop it are the save-snapshot process cases; here that
// the screen updates come back on when one stops it.
TEST(PartProgramCapture, RestoresTheScreenUpdatesWhenARefusalStopsIt)
{
    source::ApplicationRecord record = exampleApplication();
    record.activePartProgram->commands.at(1).dimensionData->failingReads.add(Member::DimensionDataMeasured);
    source::MemoryApplication application(record);
    RecordingMessages messages;
    EXPECT_THROW(app::capturePartProgram(application, *application.ActivePartProgram(), messages), source::ReadError);
    EXPECT_TRUE(application.UpdatesEnabled());
    EXPECT_EQ(application.updatesEnabledWrites(), 2);
}
