// Every read is a cross-process call on the real measuring application, so the walks read each member
// of a command at most once, and only the members their rules need for that command.
#include "bench/generator/SyntheticProgram.h"

#include "kfield/ConvertPartProgram.h"
#include "kfield/WriteMeasuredValues.h"
#include "source/Member.h"

#include "support/ModelBuilder.h"
#include "support/ValuesFixture.h"

#include <algorithm>
#include <map>

using namespace testing_support;
using kfield::ValuesOutcome;
using source::Member;

namespace {

using Trace = std::vector<source::ReadLog::Entry>;

bool belongsToACommand(Member member)
{
    const source::ModelObject object = source::objectOf(member);
    return member == Member::CommandsVisitCommand || object == source::ModelObject::Command ||
           object == source::ModelObject::DimensionData || object == source::ModelObject::Comment ||
           object == source::ModelObject::NamedValue;
}

// The trace cut into walks: each walk starts where the command collection is enumerated.
std::vector<Trace> walksOf(const Trace& trace)
{
    std::vector<Trace> walks;
    for (const source::ReadLog::Entry& entry : trace) {
        if (entry.member == Member::CommandsEnumerate)
            walks.emplace_back();
        else if (!walks.empty() && belongsToACommand(entry.member))
            walks.back().push_back(entry);
    }
    return walks;
}

// The names of the members read for each command of one walk, sorted, so that a failure shows them.
std::map<std::uint32_t, std::vector<std::string>> readsPerCommand(const Trace& walk)
{
    std::map<std::uint32_t, std::vector<std::string>> reads;
    for (const source::ReadLog::Entry& entry : walk)
        reads[entry.commandIndex].emplace_back(source::memberName(entry.member));
    for (auto& [command, members] : reads)
        std::sort(members.begin(), members.end());
    return reads;
}

std::vector<std::string> sortedNames(std::vector<Member> members)
{
    std::vector<std::string> names;
    for (const Member member : members)
        names.emplace_back(source::memberName(member));
    std::sort(names.begin(), names.end());
    return names;
}

class ReadCount : public ConversionFixture, public ::testing::WithParamInterface<bool> {
protected:
    ReadCount()
    {
        const bool allOn = GetParam();
        settings.Kommentare = allOn;
        settings.PosAchse = allOn;
        settings.NordaPos = allOn;
    }

    // Fails for every command of which a member was read more than once within one walk.
    static void expectNoMemberReadTwice(const std::vector<Trace>& walks)
    {
        for (std::size_t walk = 0; walk < walks.size(); ++walk) {
            for (const auto& [command, members] : readsPerCommand(walks[walk])) {
                const auto twice = std::adjacent_find(members.begin(), members.end());
                EXPECT_EQ(twice, members.end()) << *twice << " read twice for command " << command << " in walk " << walk + 1;
            }
        }
    }
};

} // namespace

TEST_P(ReadCount, FullWriteReadsNoMemberTwiceForACommandWithinAWalk)
{
    source::MemoryApplication application(bench::syntheticApplication(5000));
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), ValuesOutcome::Written);

    const std::vector<Trace> walks = walksOf(application.log().trace());
    ASSERT_EQ(walks.size(), 2u); // the description walk, then the value walk
    EXPECT_EQ(readsPerCommand(walks[0]).size(), 5000u);
    EXPECT_EQ(readsPerCommand(walks[1]).size(), 5000u);
    expectNoMemberReadTwice(walks);
}

TEST_P(ReadCount, AppendReadsNoMemberTwiceForACommand)
{
    source::MemoryApplication application(bench::syntheticApplication(5000));
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::WriteMeasuredValues), ValuesOutcome::Written);

    const std::vector<Trace> walks = walksOf(application.log().trace());
    ASSERT_EQ(walks.size(), 1u);
    expectNoMemberReadTwice(walks);
}

TEST_P(ReadCount, EachWalkTakesTheCollectionAndTheUpdateFlagOnce)
{
    source::MemoryApplication application(bench::syntheticApplication(500));
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), ValuesOutcome::Written);

    const source::ReadLog& log = application.log();
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate,
                                Member::ApplicationUpdatesEnabled})
        EXPECT_EQ(log.count(member), 2u) << source::memberName(member);
    EXPECT_EQ(log.count(Member::ApplicationSetUpdatesEnabled), 4u); // false and back, per walk
    for (const Member member : {Member::PartProgramSerialNumber, Member::PartProgramPartName, Member::PartProgramRevisionNumber})
        EXPECT_EQ(log.count(member), 1u) << source::memberName(member);
}

INSTANTIATE_TEST_SUITE_P(SettingsOffAndOn, ReadCount, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "AllOn" : "AllOff"; });

namespace {

// One command of every kind the walks tell apart.
source::ApplicationRecord everyKindOfCommand()
{
    return applicationWith({
        plainCommand(100),                                               // 0
        commentCommand("Bore check"),                                    // 1
        singleDimension(1106, "D1", {25, 0.1, 0.05}, 25.03, "CIR1"),     // 2 with a lower limit
        singleDimension(1101, "D2", {5, 0.02, 0}, 5.01, "PLN1"),         // 3 without one
        singleDimension(1108, "D3", {90, 0.5, 0.5}, 90.1, "PLN2"),       // 4 always in degrees
        blockStart(1000, "AX1", 0, 1, "CIR2"),                           // 5
        axisLine(1002, {10, 0.2, 0.2}, 10.05),                           // 6
        blockEnd(1001),                                                  // 7
        blockStart(1200, "P1", 2, 1, "HOLE1"),                           // 8
        positionLine(1202, {50, 0.1, 0.1}, 50.02),                       // 9
        positionLine(1209, {0, 0.2, 0}, 0.05, 0.044),                    // 10
        blockEnd(1201),                                                  // 11
        namedValueCommand("K2060", "3"),                                 // 12 a description keyword
        namedValueCommand("FIELD8", "17"),                               // 13 a measurement keyword
    });
}

class WalkReads : public ConversionFixture {};

// Every command reads these in both walks; the description walk asks for comments first.
const std::vector<Member> kEveryCommand{Member::CommandCommandType, Member::CommandIsDimension, Member::CommandHasNamedValue};

std::vector<Member> plus(std::vector<Member> members, std::initializer_list<Member> more)
{
    members.insert(members.end(), more);
    return members;
}

} // namespace

TEST_F(WalkReads, DescriptionWalkReadsWhatEachCommandNeedsAndNothingElse)
{
    settings.Kommentare = true;
    settings.PosAchse = true;
    settings.NordaPos = true;
    source::MemoryApplication application(everyKindOfCommand());
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::ConvertPartProgram), ValuesOutcome::Written);
    const auto reads = readsPerCommand(walksOf(application.log().trace()).at(0));

    const auto command = plus(kEveryCommand, {Member::CommandHasComment});
    const auto dimension = plus(command, {Member::CommandDimensionData, Member::DimensionDataIsAxisLine,
                                          Member::DimensionDataIsPositionLine});
    const auto single = plus(dimension, {Member::DimensionDataOutputSelector, Member::DimensionDataId, Member::DimensionDataFeature1,
                                         Member::DimensionDataFeature2, Member::DimensionDataFeature3, Member::DimensionDataNominal,
                                         Member::DimensionDataPlusTolerance});
    const auto blockStart = plus(dimension, {Member::CommandId, Member::DimensionDataOutputSelector, Member::DimensionDataUnitCode,
                                             Member::DimensionDataFeature1, Member::DimensionDataFeature2, Member::DimensionDataFeature3});
    const auto blockLine = plus(dimension, {Member::DimensionDataNominal, Member::DimensionDataPlusTolerance,
                                            Member::DimensionDataMinusTolerance});
    const std::map<std::uint32_t, std::vector<std::string>> expected{
        {0, sortedNames(command)},
        {1, sortedNames(plus(command, {Member::CommandComment, Member::CommentCommentKind, Member::CommentText}))},
        {2, sortedNames(plus(single, {Member::DimensionDataMinusTolerance, Member::DimensionDataUnitCode}))},
        {3, sortedNames(plus(single, {Member::DimensionDataUnitCode}))},
        {4, sortedNames(plus(single, {Member::DimensionDataMinusTolerance}))},
        {5, sortedNames(blockStart)},
        {6, sortedNames(blockLine)},
        {7, sortedNames(command)},
        {8, sortedNames(blockStart)},
        {9, sortedNames(blockLine)},
        {10, sortedNames(plus(dimension, {Member::DimensionDataNominal, Member::DimensionDataPlusTolerance}))},
        {11, sortedNames(command)},
        {12, sortedNames(plus(command, {Member::CommandNamedValue, Member::NamedValueName, Member::NamedValueValue}))},
        {13, sortedNames(plus(command, {Member::CommandNamedValue, Member::NamedValueName}))},
    };
    EXPECT_EQ(reads, expected);
}

TEST_F(WalkReads, ValueWalkReadsWhatEachCommandNeedsAndNothingElse)
{
    settings.PosAchse = true;
    source::MemoryApplication application(everyKindOfCommand());
    application.log().startTrace();
    ASSERT_EQ(run(application, kfield::WriteMeasuredValues), ValuesOutcome::Written);
    const auto reads = readsPerCommand(walksOf(application.log().trace()).at(0));

    const auto dimension = plus(kEveryCommand, {Member::CommandsVisitCommand, Member::CommandDimensionData,
                                                Member::DimensionDataIsAxisLine, Member::DimensionDataIsPositionLine});
    const auto measured = plus(dimension, {Member::CommandValueValid, Member::DimensionDataMeasured});
    const auto single = plus(measured, {Member::DimensionDataOutputSelector});
    const std::map<std::uint32_t, std::vector<std::string>> expected{
        {0, sortedNames(kEveryCommand)},
        {1, sortedNames(kEveryCommand)}, // comments belong to the description
        {2, sortedNames(single)},
        {3, sortedNames(single)},
        {4, sortedNames(single)},
        {5, sortedNames(plus(dimension, {Member::DimensionDataOutputSelector}))},
        {6, sortedNames(measured)},
        {7, sortedNames(kEveryCommand)},
        {8, sortedNames(plus(dimension, {Member::DimensionDataOutputSelector}))},
        {9, sortedNames(measured)},
        {10, sortedNames(plus(dimension, {Member::CommandValueValid, Member::DimensionDataPositionResult}))},
        {11, sortedNames(kEveryCommand)},
        {12, sortedNames(plus(kEveryCommand, {Member::CommandNamedValue, Member::NamedValueName}))},
        {13, sortedNames(plus(kEveryCommand, {Member::CommandNamedValue, Member::NamedValueName, Member::NamedValueValue}))},
    };
    EXPECT_EQ(reads, expected);
}
