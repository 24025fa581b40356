// Every read is a cross-process call on the real measuring application: each walk reads a member of
// a command at most once, and behind the read cache a full write reads it once for both walks together
// and writes the same bytes as without the cache, the commands replayed in order.
#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteMeasuredValues.h"
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

using Trace = std::vector<source::ReadLog::Entry>;
using MembersPerCommand = std::map<std::uint32_t, std::set<Member>>;

// The members read for each command; fails for one read twice within a walk (each walk starts where
// the command collection is enumerated) and counts the walks.
MembersPerCommand membersPerCommand(const Trace& trace, int& walks)
{
    MembersPerCommand reads;
    std::set<std::pair<std::uint32_t, Member>> inThisWalk;
    for (const source::ReadLog::Entry& entry : trace) {
        if (entry.member == Member::CommandsEnumerate) {
            ++walks;
            inThisWalk.clear();
        } else if (belongsToACommand(entry.member)) {
            EXPECT_TRUE(walks == 0 || inThisWalk.insert({entry.commandIndex, entry.member}).second)
                << source::memberName(entry.member) << " read twice for command " << entry.commandIndex << " in walk " << walks;
            reads[entry.commandIndex].insert(entry.member);
        }
    }
    return reads;
}

int count(const Trace& trace, Member member)
{
    return static_cast<int>(std::count_if(trace.begin(), trace.end(), [member](const auto& entry) { return entry.member == member; }));
}

// The benchmarks' program with every setting on and with every setting off, and the realistic one
// with every setting on.
class Reads : public ConversionFixture, public ::testing::WithParamInterface<std::string> {
protected:
    Reads()
    {
        const bool allOn = GetParam() != "SyntheticAllOff";
        settings.Kommentare = allOn;
        settings.PosAchse = allOn;
        settings.NordaPos = allOn;
    }

    source::ApplicationRecord program() const { return GetParam() == "Realistic" ? realisticApplication() : bench::syntheticApplication(3000); }

    struct Conversion {
        Trace trace;
        DirectoryBytes files;
    };

    Conversion fullWrite(bool cached)
    {
        source::MemoryApplication application(program());
        application.log().startTrace();
        std::shared_ptr<source::PartProgram> partProgram = application.ActivePartProgram();
        if (cached)
            partProgram = source::cacheReads(partProgram);
        const kfield::TransferJob job{application, *partProgram, paths(), stamp, settings};
        EXPECT_EQ(kfield::ConvertPartProgram(job, services()), kfield::ValuesOutcome::Written);
        Conversion conversion{application.log().trace(), contentsOf(dir.path())};
        std::filesystem::remove(dir / "PUMP.dfd");
        std::filesystem::remove(dir / "PUMP.dfx");
        return conversion;
    }
};

} // namespace

TEST_P(Reads, EachWalkReadsAMemberOfACommandOnceAndTheCollectionOnce)
{
    source::MemoryApplication application(program());
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), kfield::ValuesOutcome::Written);
    int walks = 0;
    membersPerCommand(application.log().trace(), walks);
    EXPECT_EQ(walks, 2); // the description walk, then the value walk
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::ApplicationUpdatesEnabled})
        EXPECT_EQ(count(application.log().trace(), member), walks) << source::memberName(member);

    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::WriteMeasuredValues), kfield::ValuesOutcome::Written);
    walks = 0;
    membersPerCommand(application.log().trace(), walks);
    EXPECT_EQ(walks, 1);
    // The value walk visits each dimension, so that the application brings it up to date, once.
    const auto isDimension = [](const source::CommandRecord& command) { return command.isDimension; };
    EXPECT_EQ(count(application.log().trace(), Member::CommandsVisitCommand),
              std::ranges::count_if(program().activePartProgram->commands, isDimension));
}

TEST_P(Reads, BehindTheCacheAFullWriteReadsEachMemberOnceForBothWalks)
{
    const Conversion direct = fullWrite(false);
    const Conversion cached = fullWrite(true);
    int walks = 0;
    EXPECT_EQ(membersPerCommand(cached.trace, walks), membersPerCommand(direct.trace, walks));
    EXPECT_EQ(cached.files, direct.files);
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate})
        EXPECT_EQ(count(cached.trace, member), 1) << source::memberName(member);
    EXPECT_EQ(count(cached.trace, Member::ApplicationUpdatesEnabled), 2) << "each walk suspends the updates itself";
}

INSTANTIATE_TEST_SUITE_P(Programs, Reads, ::testing::Values("SyntheticAllOn", "SyntheticAllOff", "Realistic"),
                         [](const auto& info) { return info.param; });

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
    const auto refusal = [&cached] {
        try {
            cached.first->Id();
        } catch (const source::ReadError& error) {
            return std::string(error.what());
        }
        return std::string("no refusal");
    };
    const std::string first = refusal();
    EXPECT_NE(first, "no refusal");
    EXPECT_EQ(refusal(), first);
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
