// Every read of the measuring application and every file operation of a whole conversion run fails
// in turn: a full write, an append, and an append that takes in a left-over values file, with
// separate and with combined files.
#include "source/Member.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>

using namespace testing_support;
using app::RunOutcome;
using source::Member;

namespace {

enum class Before { Nothing, FirstRun, FirstRunAndLeftOverValues };

struct SweepCase {
    bool combined;
    Before before;
};

std::string caseName(const SweepCase& c)
{
    const char* names[] = {"FullWrite", "Append", "AppendWithLeftOverValues"};
    return names[static_cast<int>(c.before)] + std::string(c.combined ? "Combined" : "Separate");
}

class RunFaultSweep : public RunFixture, public ::testing::WithParamInterface<SweepCase> {
protected:
    void SetUp() override
    {
        RunFixture::SetUp();
        run.Settings.SettingKommentare = "1";
        run.Settings.SettingPosAchse = "1";
        run.Settings.SettingNordaPos = true;
        run.Settings.SettingDFQ = GetParam().combined ? "1" : "0";
    }

    // The files before the run under test. An append finds those of a first run, and perhaps a values
    // file left from separate mode, which a combined run moves into its file; a full write finds the
    // values of earlier measurements whose description was removed, so it too has something to lose.
    DirectoryBytes prepare()
    {
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directories(dir.path());
        if (GetParam().before != Before::Nothing) {
            attach(realisticApplication());
            EXPECT_EQ(start().outcome, RunOutcome::ValuesWritten);
        }
        if (GetParam().before != Before::FirstRun)
            writeBytes(dir / "PUMP HOUSING A1.dfx", "earlier values\r\n");
        messages.messages.clear();
        attach(realisticApplication());
        return contents();
    }

    DirectoryBytes contents() const { return contentsOf(dir.path()); }

    // What every run leaves, whatever happened: no scratch file, the application as it was, the
    // progress display hidden.
    void expectCleanEnd()
    {
        for (const auto& [name, bytes] : contents()) {
            for (const char* scratch : {".tmp", ".part", ".lock"})
                EXPECT_FALSE(name.ends_with(scratch)) << name;
        }
        EXPECT_TRUE(connector.application->record().updatesEnabled);
        EXPECT_FALSE(progress.visible);
    }

    // The run stopped with one critical message containing the fragment, after no other message than
    // the walk shows on an undisturbed run up to that point.
    void expectOneError(const std::string& fragment)
    {
        ASSERT_FALSE(messages.messages.empty());
        EXPECT_EQ(messages.messages.back().icon, kfield::MessageIcon::Critical);
        EXPECT_NE(messages.messages.back().text.find(fragment), std::string::npos) << messages.messages.back().text;
        std::vector<std::string> earlier = messageTexts();
        earlier.pop_back();
        EXPECT_LE(earlier.size(), undisturbedMessages.size());
        EXPECT_TRUE(std::equal(earlier.begin(), earlier.end(), undisturbedMessages.begin())) << earlier.size();
    }

    // Runs once undisturbed from the prepared files, keeping its messages.
    void runUndisturbed()
    {
        ASSERT_EQ(start().outcome, RunOutcome::ValuesWritten);
        undisturbedMessages = messageTexts();
    }

    std::vector<std::string> undisturbedMessages;

    // The run succeeded: the files hold exactly one more measurement (and, after a full write, a new
    // description) than before.
    void expectOneMoreMeasurement(const DirectoryBytes& before)
    {
        const DirectoryBytes after = contents();
        const std::string values = GetParam().combined ? "PUMP HOUSING A1.dfq" : "PUMP HOUSING A1.dfx";
        ASSERT_TRUE(after.contains(values));
        const std::string& grown = after.at(values);
        if (before.contains(values)) {
            EXPECT_EQ(grown.substr(0, before.at(values).size()), before.at(values));
        }
        EXPECT_TRUE(grown.ends_with("\r\n"));
        if (!GetParam().combined) {
            EXPECT_TRUE(after.contains("PUMP HOUSING A1.dfd"));
        } else if (before.contains("PUMP HOUSING A1.dfx")) {
            // The left-over values moved into the combined file, behind what it held.
            EXPECT_FALSE(after.contains("PUMP HOUSING A1.dfx"));
            EXPECT_NE(grown.find("earlier values\r\n"), std::string::npos);
        }
    }
};

} // namespace

TEST_P(RunFaultSweep, EveryFailingReadIsReportedOrTakenAsTheWalksSay)
{
    prepare();
    connector.application->log().startTrace();
    runUndisturbed();
    const std::vector<source::ReadLog::Entry> trace = connector.application->log().trace();
    ASSERT_GT(trace.size(), 150u);

    // Reads whose failure the walks take without a message: the block start's Id, OutputSelector and
    // UnitCode. Reads of the connection end it with the no-part-program message or the error.
    const std::set<Member> unreported{Member::CommandId, Member::DimensionDataOutputSelector, Member::DimensionDataUnitCode};
    const std::set<Member> connection{Member::ApplicationActivePartProgram, Member::PartProgramDefaultMember,
                                      Member::PartProgramFileName};
    std::map<RunOutcome, int> outcomes;
    for (std::size_t n = 1; n <= trace.size(); ++n) {
        const Member member = trace[n - 1].member;
        SCOPED_TRACE("failing call " + std::to_string(n) + ": " + std::string(source::memberName(member)));
        const DirectoryBytes before = prepare();
        connector.application->log().failAtCall(n);
        const RunOutcome outcome = start().outcome;
        ++outcomes[outcome];
        expectCleanEnd();
        switch (outcome) {
        case RunOutcome::Failed:
            expectOneError("Cannot read " + std::string(source::memberName(member)));
            EXPECT_EQ(contents(), before);
            break;
        case RunOutcome::NotConnected:
            EXPECT_TRUE(connection.contains(member));
            EXPECT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(contents(), before);
            break;
        case RunOutcome::ValuesWritten:
            EXPECT_TRUE(unreported.contains(member));
            EXPECT_EQ(messageTexts(), undisturbedMessages);
            expectOneMoreMeasurement(before);
            break;
        default:
            ADD_FAILURE() << "unexpected outcome " << static_cast<int>(outcome);
        }
    }
    EXPECT_EQ(outcomes[RunOutcome::NotConnected], 3);
    const auto mayPass = std::count_if(trace.begin(), trace.end(), [&](const auto& entry) { return unreported.contains(entry.member); });
    EXPECT_LE(outcomes[RunOutcome::ValuesWritten], mayPass);
}

// A lost connection is no failed read: it stops the run even where a refused read is taken
// (the block start's reads) or means "no part program" (the connection's reads).
TEST_P(RunFaultSweep, ALostConnectionStopsTheRunWhereARefusedReadWouldNot)
{
    prepare();
    connector.application->log().startTrace();
    runUndisturbed();
    const std::vector<source::ReadLog::Entry> trace = connector.application->log().trace();
    const struct {
        Member member;
        RunOutcome outcome;
    } cases[] = {
        {Member::ApplicationActivePartProgram, RunOutcome::NotConnected},
        {Member::PartProgramDefaultMember, RunOutcome::NotConnected},
        {Member::CommandId, RunOutcome::Failed},
        {Member::DimensionDataOutputSelector, RunOutcome::Failed},
        {Member::DimensionDataUnitCode, RunOutcome::Failed},
    };
    for (const auto& c : cases) {
        const auto first = std::find_if(trace.begin(), trace.end(), [&](const auto& entry) { return entry.member == c.member; });
        if (first == trace.end())
            continue; // the append reads no block start's Id
        SCOPED_TRACE(std::string(source::memberName(c.member)));
        const DirectoryBytes before = prepare();
        connector.application->log().failAtCall(static_cast<std::uint64_t>(first - trace.begin()) + 1,
                                                 source::ReadLog::Fault::ConnectionLost);
        EXPECT_EQ(start().outcome, c.outcome);
        expectOneError("was closed (simulated fault, " + std::string(source::memberName(c.member)) + ")");
        EXPECT_EQ(contents(), before);
        expectCleanEnd();
    }
}

TEST_P(RunFaultSweep, EveryFailingFileOperationLeavesTheFilesAsTheyWere)
{
    prepare();
    const int first = files.operations();
    runUndisturbed();
    const int operations = files.operations() - first;
    ASSERT_GE(operations, GetParam().before == Before::Nothing ? 8 : 4);

    for (int n = 1; n <= operations; ++n) {
        SCOPED_TRACE("failing operation " + std::to_string(n));
        const DirectoryBytes before = prepare();
        files.failOperation(n);
        const RunOutcome outcome = start().outcome;
        files.failOperation(0);
        EXPECT_EQ(outcome, RunOutcome::Failed);
        expectOneError("(simulated fault)");
        EXPECT_EQ(contents(), before);
        expectCleanEnd();
    }
}

TEST_P(RunFaultSweep, ADiskThatFillsUpAnywhereLeavesTheFilesAsTheyWere)
{
    // Each file opened for writing gets the budget anew, so the run succeeds from the size of its
    // largest single write on; every budget below that must fail cleanly.
    const DirectoryBytes first = prepare();
    runUndisturbed();
    std::size_t grown = 0;
    for (const auto& [name, bytes] : contents())
        grown = std::max(grown, bytes.size() - (first.contains(name) ? first.at(name).size() : 0));
    std::vector<std::size_t> budgets;
    for (std::size_t budget = 0; budget + 1 < grown; budget += budget < 64 ? 1 : 13)
        budgets.push_back(budget);
    budgets.insert(budgets.end(), {grown - 1, grown});

    int failures = 0;
    std::optional<std::size_t> firstSuccess;
    for (const std::size_t budget : budgets) {
        SCOPED_TRACE("bytes that fit: " + std::to_string(budget));
        const DirectoryBytes before = prepare();
        files.failWritesAfter(static_cast<std::int64_t>(budget));
        const RunOutcome outcome = start().outcome;
        files.failWritesAfter(-1);
        expectCleanEnd();
        if (outcome == RunOutcome::ValuesWritten) {
            if (!firstSuccess)
                firstSuccess = budget;
            expectOneMoreMeasurement(before);
            continue;
        }
        ++failures;
        EXPECT_FALSE(firstSuccess) << "failed after succeeding with " << *firstSuccess << " bytes";
        EXPECT_EQ(outcome, RunOutcome::Failed);
        expectOneError("No space left on device");
        EXPECT_EQ(contents(), before);
    }
    EXPECT_TRUE(firstSuccess);
    EXPECT_GE(failures, 64);
}

INSTANTIATE_TEST_SUITE_P(EveryPath, RunFaultSweep,
                         ::testing::Values(SweepCase{false, Before::Nothing}, SweepCase{true, Before::Nothing},
                                           SweepCase{false, Before::FirstRun}, SweepCase{true, Before::FirstRun},
                                           SweepCase{true, Before::FirstRunAndLeftOverValues}),
                         [](const auto& info) { return caseName(info.param); });
