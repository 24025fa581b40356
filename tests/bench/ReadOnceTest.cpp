// Every read is a cross-process call on the real measuring application: each walk reads a member of
// a command at most once, and behind the read cache a full write reads it once for both walks together
// and writes the same bytes as without the cache.
#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Member.h"
#include "source/ReadCache.h"
#include "source/ReadError.h"

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

// Whether a member is read on behalf of one command (its own members and those of its dimension
// data, comment and named value).
bool belongsToACommand(Member member)
{
    const source::ModelObject object = source::objectOf(member);
    return member == Member::CommandsVisitCommand || object == source::ModelObject::Command ||
           object == source::ModelObject::DimensionData || object == source::ModelObject::Comment ||
           object == source::ModelObject::NamedValue;
}

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
    return static_cast<int>(std::ranges::count(trace, member, &source::ReadLog::Entry::member));
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

    // A full write (or, with the values writer, an append to it), directly or behind the read cache.
    template <class Operation>
    Conversion convert(Operation operation, bool cached = false)
    {
        source::MemoryApplication application(program());
        std::shared_ptr<source::PartProgram> partProgram = application.ActivePartProgram();
        if (cached)
            partProgram = source::cacheReads(partProgram);
        application.log().startTrace();
        const kfield::TransferJob job{application, *partProgram, paths(), stamp, settings};
        EXPECT_EQ(operation(job, services()), kfield::ValuesOutcome::Written);
        return {application.log().trace(), contentsOf(dir.path())};
    }
};

} // namespace

TEST_P(Reads, EachWalkReadsAMemberOfACommandOnceAndTheCollectionOnce)
{
    for (const bool fullWrite : {true, false}) {
        const Trace trace = fullWrite ? convert(kfield::ConvertPartProgram).trace : convert(kfield::WriteMeasuredValues).trace;
        int walks = 0;
        membersPerCommand(trace, walks);
        EXPECT_EQ(walks, fullWrite ? 2 : 1); // the description walk, then the value walk
        for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::ApplicationUpdatesEnabled})
            EXPECT_EQ(count(trace, member), walks) << source::memberName(member);
    }
    // The value walk visits each dimension, so that the application brings it up to date, once.
    const auto isDimension = [](const source::CommandRecord& command) { return command.isDimension; };
    EXPECT_EQ(count(convert(kfield::WriteMeasuredValues).trace, Member::CommandsVisitCommand),
              std::ranges::count_if(program().activePartProgram->commands, isDimension));
}

TEST_P(Reads, BehindTheCacheAFullWriteReadsEachMemberOnceForBothWalks)
{
    const Conversion direct = convert(kfield::ConvertPartProgram);
    std::filesystem::remove(dir / "PUMP.dfd");
    std::filesystem::remove(dir / "PUMP.dfx");
    const Conversion cached = convert(kfield::ConvertPartProgram, true);
    int cachedWalks = 0;
    int directWalks = 0;
    EXPECT_EQ(membersPerCommand(cached.trace, cachedWalks), membersPerCommand(direct.trace, directWalks));
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate})
        EXPECT_EQ(count(cached.trace, member), 1) << source::memberName(member);
    EXPECT_EQ(cached.files, direct.files);
}

INSTANTIATE_TEST_SUITE_P(Programs, Reads, ::testing::Values("SyntheticAllOn", "SyntheticAllOff", "Realistic"),
                         [](const auto& info) { return info.param; });

namespace {

// The example's axis block alone, its start refusing a read.
source::ApplicationRecord blockStartRefusing(Member member)
{
    source::ApplicationRecord record = exampleApplication();
    auto& commands = record.activePartProgram->commands;
    commands.erase(commands.begin(), commands.begin() + 2);
    commands.front().failingReads.add(member);
    return record;
}

// The first command, behind the read cache, of an axis block whose start refuses a read.
struct CachedBlock {
    explicit CachedBlock(Member refused) : application(blockStartRefusing(refused)) {}
    source::MemoryApplication application;
    std::shared_ptr<source::Commands> commands = source::cacheReads(application.ActivePartProgram())->Commands();
    std::shared_ptr<source::Command> first = commands->Enumerate()->Next();
};

} // namespace

TEST(ReadCache, KeepsARefusalAndRefusesAgainWithoutAsking)
{
    CachedBlock cached(Member::CommandId);
    EXPECT_THROW(cached.first->Id(), source::ReadError);
    EXPECT_THROW(cached.first->Id(), source::ReadError);
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 1u);
}

TEST(ReadCache, AsksAgainAfterALostConnection)
{
    CachedBlock cached(Member::CommandValueValid);
    cached.application.log().failAtCall(1, source::ReadLog::Fault::ConnectionLost);
    EXPECT_THROW(cached.first->Id(), source::ConnectionError);
    EXPECT_EQ(cached.first->Id(), "AX1");
    EXPECT_EQ(cached.application.log().count(Member::CommandId), 2u);
}
