// Every read is a cross-process call on the real measuring application, so each walk reads a member of
// a command at most once, and the collection and the update flag once per walk.
#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Member.h"

#include "CommandMembers.h"

#include "support/ValuesFixture.h"

#include <map>
#include <set>

using namespace testing_support;
using source::Member;

namespace {

class ReadCount : public ConversionFixture, public ::testing::WithParamInterface<bool> {
protected:
    ReadCount()
    {
        settings.Kommentare = GetParam();
        settings.PosAchse = GetParam();
        settings.NordaPos = GetParam();
    }

    // Fails for a member read twice for one command within one walk; each walk starts where the
    // command collection is enumerated. Returns the number of walks.
    static int expectNoMemberReadTwice(const std::vector<source::ReadLog::Entry>& trace)
    {
        int walk = 0;
        std::set<std::pair<std::uint32_t, Member>> read;
        for (const source::ReadLog::Entry& entry : trace) {
            if (entry.member == Member::CommandsEnumerate) {
                ++walk;
                read.clear();
            } else if (walk > 0 && belongsToACommand(entry.member)) {
                EXPECT_TRUE(read.insert({entry.commandIndex, entry.member}).second)
                    << source::memberName(entry.member) << " read twice for command " << entry.commandIndex << " in walk " << walk;
            }
        }
        return walk;
    }
};

} // namespace

TEST_P(ReadCount, FullWriteAndAppendReadNoMemberTwice)
{
    source::MemoryApplication application(bench::syntheticApplication(3000));
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), kfield::ValuesOutcome::Written);
    EXPECT_EQ(expectNoMemberReadTwice(application.log().trace()), 2); // the description walk, then the value walk
    const source::ReadLog& log = application.log();
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate,
                                Member::ApplicationUpdatesEnabled})
        EXPECT_EQ(log.count(member), 2u) << source::memberName(member);
    EXPECT_EQ(log.count(Member::ApplicationSetUpdatesEnabled), 4u); // false and back, per walk
    for (const Member member : {Member::PartProgramSerialNumber, Member::PartProgramPartName, Member::PartProgramRevisionNumber})
        EXPECT_EQ(log.count(member), 1u) << source::memberName(member);

    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::WriteMeasuredValues), kfield::ValuesOutcome::Written);
    EXPECT_EQ(expectNoMemberReadTwice(application.log().trace()), 1);
}

INSTANTIATE_TEST_SUITE_P(SettingsOffAndOn, ReadCount, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "AllOn" : "AllOff"; });
