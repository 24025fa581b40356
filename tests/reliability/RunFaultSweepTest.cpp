// Every read of the measuring application and every file operation of a whole conversion run fails
// in turn: a full write, an append, and an append that takes in a left-over values file, with
// separate and with combined files. The undisturbed run shows how often each member is read.
#include "config/TextLines.h"
#include "source/Member.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>

using namespace testing_support;
using app::RunOutcome;
using source::Member;

namespace {

struct SweepPath {
    const char* name;
    bool combined;
    bool firstRun;       // the run under test appends to the files of a first run
    bool leftOverValues; // and finds a values file from separate mode (or earlier measurements)
};

class RunFaultSweep : public RunFixture, public ::testing::WithParamInterface<SweepPath> {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        run.Settings.SettingKommentare = "1";
        run.Settings.SettingPosAchse = "1";
        run.Settings.SettingNordaPos = true;
        run.Settings.SettingDFQ = GetParam().combined ? "1" : "0";
    }

    // The files before the run under test. A combined run moves a left-over values file into its
    // file; a full write keeps the values of earlier measurements, so it too has something to lose.
    DirectoryBytes prepare()
    {
        for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
            std::filesystem::remove_all(entry.path());
        if (GetParam().firstRun) {
            attach(realisticApplication());
            EXPECT_EQ(start().outcome, RunOutcome::ValuesWritten);
        }
        if (GetParam().leftOverValues)
            writeBytes(dir / "PUMP HOUSING A1.dfx", "earlier values\r\n");
        messages.messages.clear();
        attach(realisticApplication());
        return contents();
    }

    DirectoryBytes contents() const { return contentsOf(dir.path()); }

    // Runs once undisturbed from the prepared files, keeping its messages, its file operations, the
    // files it left, the most bytes it added to one file, and its reads.
    std::vector<source::ReadLog::Entry> runUndisturbed()
    {
        const DirectoryBytes before = prepare();
        const int operationsBefore = files.operations();
        connector.application->log().startTrace();
        EXPECT_EQ(start().outcome, RunOutcome::ValuesWritten);
        undisturbedMessages = messageTexts();
        undisturbedOperations = files.operations() - operationsBefore;
        undisturbedFiles = contents();
        for (const auto& [name, bytes] : undisturbedFiles)
            largestGrowth = std::max(largestGrowth, bytes.size() - (before.contains(name) ? before.at(name).size() : 0));
        return connector.application->log().trace();
    }

    std::vector<std::string> undisturbedMessages;
    int undisturbedOperations = 0;
    DirectoryBytes undisturbedFiles;
    std::size_t largestGrowth = 0;

    struct Disturbed {
        RunOutcome outcome;
        DirectoryBytes before;
    };

    // Runs from freshly prepared files with a fault planted, and checks what every run leaves,
    // whatever happened: no scratch file, the application as it was, the progress display hidden.
    Disturbed runWith(const std::function<void()>& plantFault)
    {
        Disturbed result{RunOutcome::Failed, prepare()};
        plantFault();
        result.outcome = start().outcome;
        files.failOperation(0);
        files.failWritesAfter(-1);
        for (const auto& [name, bytes] : contents()) {
            for (const char* scratch : {".tmp", ".part", ".lock"})
                EXPECT_FALSE(name.ends_with(scratch)) << name;
        }
        EXPECT_TRUE(connector.application->record().updatesEnabled);
        EXPECT_FALSE(progress.visible);
        return result;
    }

    // The run stopped as expected with the files as they were and one critical message containing
    // the fragment, after no other message than the walk shows on an undisturbed run up to there.
    void expectStopped(const Disturbed& result, RunOutcome expected, const std::string& fragment)
    {
        EXPECT_EQ(result.outcome, expected);
        EXPECT_EQ(contents(), result.before);
        ASSERT_FALSE(messages.messages.empty());
        EXPECT_EQ(messages.messages.back().icon, kfield::MessageIcon::Critical);
        EXPECT_NE(messages.messages.back().text.find(fragment), std::string::npos) << messages.messages.back().text;
        std::vector<std::string> earlier = messageTexts();
        earlier.pop_back();
        EXPECT_LE(earlier.size(), undisturbedMessages.size());
        EXPECT_TRUE(std::equal(earlier.begin(), earlier.end(), undisturbedMessages.begin())) << earlier.size();
    }

    // The run went through: the undisturbed run's messages and files of the same names, each grown
    // from what it held and ending with a whole line; left-over values went into the combined file.
    void expectWentThrough(const Disturbed& result)
    {
        EXPECT_EQ(messageTexts(), undisturbedMessages);
        const DirectoryBytes after = contents();
        EXPECT_EQ(after.size(), undisturbedFiles.size());
        for (const auto& [name, bytes] : after) {
            EXPECT_TRUE(undisturbedFiles.contains(name)) << name;
            EXPECT_TRUE(bytes.starts_with(result.before.contains(name) ? result.before.at(name) : "")) << name;
            EXPECT_TRUE(bytes.ends_with("\r\n")) << name;
        }
        if (GetParam().combined && GetParam().leftOverValues) {
            EXPECT_NE(after.begin()->second.find("earlier values\r\n"), std::string::npos);
        }
    }
};

} // namespace

TEST_P(RunFaultSweep, EveryFailingReadIsReportedOrTakenAsTheWalksSay)
{
    const std::vector<source::ReadLog::Entry> trace = runUndisturbed();
    ASSERT_GT(trace.size(), 150u);
    // Reads whose refusal the walks take without a message: the block start's Id, OutputSelector and
    // UnitCode. Those of the connection: refused, they mean "no part program" (or, for the file name,
    // an error); whatever fails there, the run ends before it starts.
    const std::set<Member> unreported{Member::CommandId, Member::DimensionDataOutputSelector, Member::DimensionDataUnitCode};
    const std::set<Member> connection{Member::ApplicationActivePartProgram, Member::PartProgramDefaultMember,
                                      Member::PartProgramFileName};
    std::set<Member> lost;
    for (std::size_t n = 1; n <= trace.size(); ++n) {
        const Member member = trace[n - 1].member;
        const std::string name(source::memberName(member));
        SCOPED_TRACE("failing call " + std::to_string(n) + ": " + name);
        const RunOutcome stopped = connection.contains(member) ? RunOutcome::NotConnected : RunOutcome::Failed;
        if (lost.insert(member).second) {
            // A lost connection is no refused read: at the first read of any member it stops the run,
            // even where a refusal is taken or means "no part program".
            const auto loseConnection = [&] { connector.application->log().failAtCall(n, source::ReadLog::Fault::ConnectionLost); };
            expectStopped(runWith(loseConnection), stopped, "was closed (simulated fault, " + name + ")");
        }
        const Disturbed result = runWith([&] { connector.application->log().failAtCall(n); });
        if (result.outcome == RunOutcome::ValuesWritten) {
            EXPECT_TRUE(unreported.contains(member));
            expectWentThrough(result);
        } else if (result.outcome == RunOutcome::NotConnected && member != Member::PartProgramFileName) {
            EXPECT_TRUE(connection.contains(member));
            EXPECT_EQ(messageTexts(), std::vector<std::string>{texts.line(config::textline::kNoPartProgram)});
            EXPECT_EQ(contents(), result.before);
        } else {
            expectStopped(result, stopped, "Cannot read " + name);
        }
    }
}

TEST_P(RunFaultSweep, EachReadGoesAcrossOnceForBothWalksOfAFullWriteAndOnceInAnAppend)
{
    // Every read is a cross-process call on the real application: a full write reads behind the read
    // cache, an append walks once. Only the application's updates are read anew for each walk.
    const std::vector<source::ReadLog::Entry> trace = runUndisturbed();
    const bool fullWrite = !GetParam().firstRun;
    const std::set<source::ModelObject> ofACommand{source::ModelObject::Command, source::ModelObject::DimensionData,
                                                   source::ModelObject::Comment, source::ModelObject::NamedValue};
    std::set<std::pair<std::uint32_t, Member>> readForACommand;
    for (const source::ReadLog::Entry& entry : trace) {
        if (entry.member == Member::CommandsVisitCommand || ofACommand.contains(source::objectOf(entry.member))) {
            EXPECT_TRUE(readForACommand.insert({entry.commandIndex, entry.member}).second)
                << source::memberName(entry.member) << " read again for command " << entry.commandIndex;
        }
    }
    const source::ReadLog& log = connector.application->log(); // of this run alone: prepare() attached the application
    EXPECT_EQ(log.count(Member::ApplicationUpdatesEnabled), fullWrite ? 2u : 1u);
    for (const Member member : {Member::PartProgramCommands, Member::CommandsCount, Member::CommandsEnumerate})
        EXPECT_EQ(log.count(member), 1u) << source::memberName(member);
    // The value walk visits each dimension, so that the application brings it up to date.
    const auto& commands = connector.application->record().activePartProgram->commands;
    const auto dimensions = std::ranges::count_if(commands, &source::CommandRecord::isDimension);
    EXPECT_EQ(log.count(Member::CommandsVisitCommand), static_cast<std::uint64_t>(dimensions));
    // Behind the cache the run writes what the uncached walks write (the conversion case "realistic").
    if (fullWrite && !GetParam().combined) {
        const std::filesystem::path golden = testDataDir() / "conversions" / "realistic";
        const DirectoryBytes expected{{"PUMP HOUSING A1.dfd", readBytes(golden / "PUMP.dfd")},
                                      {"PUMP HOUSING A1.dfx", "earlier values\r\n" + readBytes(golden / "PUMP.dfx")}};
        EXPECT_EQ(undisturbedFiles, expected);
    }
}

TEST_P(RunFaultSweep, EveryFailingFileOperationLeavesTheFilesAsTheyWere)
{
    runUndisturbed();
    ASSERT_GE(undisturbedOperations, GetParam().firstRun ? 4 : 8);
    for (int n = 1; n <= undisturbedOperations; ++n) {
        SCOPED_TRACE("failing operation " + std::to_string(n));
        expectStopped(runWith([&] { files.failOperation(n); }), RunOutcome::Failed, "(simulated fault)");
    }
}

TEST_P(RunFaultSweep, ADiskThatFillsUpAnywhereLeavesTheFilesAsTheyWere)
{
    // Each file opened for writing gets the budget anew, so the run succeeds from the size of its
    // largest single write on; every budget below that must fail cleanly.
    runUndisturbed();
    std::vector<std::size_t> budgets;
    for (std::size_t budget = 0; budget + 1 < largestGrowth; budget += budget < 64 ? 1 : 13)
        budgets.push_back(budget);
    budgets.insert(budgets.end(), {largestGrowth - 1, largestGrowth});

    int failures = 0;
    std::optional<std::size_t> firstSuccess;
    for (const std::size_t budget : budgets) {
        SCOPED_TRACE("bytes that fit: " + std::to_string(budget));
        const Disturbed result = runWith([&] { files.failWritesAfter(static_cast<std::int64_t>(budget)); });
        if (result.outcome == RunOutcome::ValuesWritten) {
            firstSuccess = firstSuccess.value_or(budget);
            expectWentThrough(result);
            continue;
        }
        ++failures;
        EXPECT_FALSE(firstSuccess) << "failed after succeeding with " << *firstSuccess << " bytes";
        expectStopped(result, RunOutcome::Failed, "No space left on device");
    }
    EXPECT_TRUE(firstSuccess);
    EXPECT_GE(failures, 64);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, RunFaultSweep,
                         ::testing::Values(SweepPath{"FullWriteSeparate", false, false, true},
                                           SweepPath{"FullWriteCombined", true, false, true},
                                           SweepPath{"AppendSeparate", false, true, false},
                                           SweepPath{"AppendCombined", true, true, false},
                                           SweepPath{"AppendWithLeftOverValuesCombined", true, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });
