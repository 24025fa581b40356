// Behind the read cache a full write reads each member of each command once for both walks together,
// exactly the members the two walks need between them, and writes the same bytes as without it.
#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "source/Member.h"
#include "source/ReadCache.h"
#include "source/ReadError.h"

#include "CommandMembers.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

#include <algorithm>
#include <map>
#include <set>

using namespace testing_support;
using source::Member;

namespace {

using MembersPerCommand = std::map<std::uint32_t, std::multiset<Member>>;

MembersPerCommand membersPerCommand(const std::vector<source::ReadLog::Entry>& trace)
{
    MembersPerCommand reads;
    for (const source::ReadLog::Entry& entry : trace) {
        if (belongsToACommand(entry.member))
            reads[entry.commandIndex].insert(entry.member);
    }
    return reads;
}

// Each member once: what both walks need between them.
MembersPerCommand distinct(const MembersPerCommand& reads)
{
    MembersPerCommand once;
    for (const auto& [command, members] : reads) {
        const std::set<Member> each(members.begin(), members.end());
        once[command] = std::multiset<Member>(each.begin(), each.end());
    }
    return once;
}

struct Program {
    const char* name;
    source::ApplicationRecord record;
    bool allSettingsOn;
};

void PrintTo(const Program& program, std::ostream* out)
{
    *out << program.name;
}

class ReadOnce : public ConversionFixture, public ::testing::WithParamInterface<Program> {
protected:
    ReadOnce()
    {
        settings.Kommentare = GetParam().allSettingsOn;
        settings.PosAchse = GetParam().allSettingsOn;
        settings.NordaPos = GetParam().allSettingsOn;
    }

    struct Conversion {
        std::vector<source::ReadLog::Entry> trace;
        std::string description, values;
    };

    Conversion fullWrite(bool cached)
    {
        source::MemoryApplication application(GetParam().record);
        application.log().startTrace();
        std::shared_ptr<source::PartProgram> partProgram = application.ActivePartProgram();
        if (cached)
            partProgram = source::cacheReads(partProgram);
        const kfield::TransferJob job{application, *partProgram, paths(), stamp, settings};
        EXPECT_EQ(kfield::ConvertPartProgram(job, services()), kfield::ValuesOutcome::Written);
        Conversion conversion{application.log().trace(), file("PUMP.dfd"), file("PUMP.dfx")};
        std::filesystem::remove(dir / "PUMP.dfd");
        std::filesystem::remove(dir / "PUMP.dfx");
        return conversion;
    }
};

} // namespace

TEST_P(ReadOnce, FullWriteReadsEachMemberOfACommandOnceForBothWalks)
{
    const Conversion direct = fullWrite(false);
    const Conversion cached = fullWrite(true);

    const MembersPerCommand directReads = membersPerCommand(direct.trace);
    ASSERT_NE(directReads, distinct(directReads)) << "without the cache the walks read some members twice";
    EXPECT_EQ(membersPerCommand(cached.trace), distinct(directReads));
    EXPECT_EQ(cached.description, direct.description);
    EXPECT_EQ(cached.values, direct.values);

    std::map<Member, int> collection;
    for (const auto& entry : cached.trace)
        ++collection[entry.member];
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate})
        EXPECT_EQ(collection[member], 1) << source::memberName(member);
    EXPECT_EQ(collection[Member::ApplicationUpdatesEnabled], 2) << "each walk suspends the updates itself";
}

INSTANTIATE_TEST_SUITE_P(Programs, ReadOnce,
                         ::testing::Values(Program{"SyntheticAllOn", bench::syntheticApplication(3000), true},
                                           Program{"SyntheticAllOff", bench::syntheticApplication(3000), false},
                                           Program{"Realistic", realisticApplication(), true}),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// The first command of a cached part program, and the application's log.
struct CachedCommand {
    source::MemoryApplication application;
    std::shared_ptr<source::PartProgram> partProgram = source::cacheReads(application.ActivePartProgram());
    std::shared_ptr<source::Commands> commands = partProgram->Commands();
    std::shared_ptr<source::Command> first = commands->Enumerate()->Next();

    explicit CachedCommand(source::ApplicationRecord record) : application(std::move(record)) {}
};

source::ApplicationRecord blockStartRefusing(Member member)
{
    source::CommandRecord command = blockStart(1000, "AX1", 0, 1, "CIR2");
    command.failingReads.add(member);
    return applicationWith({command, blockEnd(1001)});
}

} // namespace

TEST(ReadCache, KeepsARefusalAndRefusesAgainWithoutAsking)
{
    CachedCommand cached(blockStartRefusing(Member::CommandId));
    std::string first;
    try {
        cached.first->Id();
        FAIL() << "the refused read went through";
    } catch (const source::ReadError& error) {
        first = error.what();
    }
    try {
        cached.first->Id();
        FAIL() << "the kept refusal was not given again";
    } catch (const source::ReadError& error) {
        EXPECT_EQ(error.what(), first);
    }
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 1u);
}

TEST(ReadCache, AsksAgainAfterALostConnection)
{
    CachedCommand cached(blockStartRefusing(Member::CommandValueValid));
    cached.application.log().failAtCall(1, source::ReadLog::Fault::ConnectionLost);
    EXPECT_THROW(cached.first->Id(), source::ConnectionError);
    EXPECT_EQ(cached.first->Id(), "AX1");
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 2u);
}

TEST(ReadCache, ReplaysTheCommandsInOrderAfterOneEnumeration)
{
    CachedCommand cached(blockStartRefusing(Member::CommandValueValid));
    const auto replay = cached.commands->Enumerate();
    EXPECT_EQ(replay->Next(), cached.first);
    const auto second = replay->Next();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->CommandType(), 1001);
    EXPECT_EQ(replay->Next(), nullptr);
    EXPECT_EQ(replay->Next(), nullptr);
    EXPECT_EQ(cached.application.log().count(Member::CommandsEnumerate), 1u);
}

TEST(ReadCache, PassesEveryVisitOnWithTheApplicationsOwnCommand)
{
    source::MemoryApplication application(blockStartRefusing(Member::CommandValueValid));
    const auto commands = source::cacheReads(application.ActivePartProgram())->Commands();
    const auto enumerator = commands->Enumerate();
    enumerator->Next();
    const auto second = enumerator->Next();
    application.log().startTrace();
    commands->VisitCommand(*second);
    commands->VisitCommand(*second);
    const auto& trace = application.log().trace();
    ASSERT_EQ(trace.size(), 2u);
    for (const auto& entry : trace) {
        EXPECT_EQ(entry.member, Member::CommandsVisitCommand);
        EXPECT_EQ(entry.commandIndex, 1u) << "the application is told which command is visited";
    }
}
