#include "platform/Clock.h"
#include "files/FileLock.h"
#include "support/Files.h"
#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

using namespace testing_support;
using app::RunOutcome;
using kfield::MessageIcon;

using StartCommand = RunFixture;

// No part program, "Nothing", or a refused read on the way to it: one message, nothing written, and
// the name reached before stays.
TEST_F(StartCommand, TakesEveryWayToNoPartProgramAlikeAndKeepsTheLastName)
{
    attach(exampleApplication());
    EXPECT_EQ(start().outcome, RunOutcome::ValuesWritten);
    EXPECT_EQ(connector.lastClassName, "OrvianVeltrumWndClass");
    EXPECT_EQ(connector.lastProgrammaticId, "Veltrum.Application");
    const DirectoryBytes written = contentsOf(dir.path());
    std::vector<source::ApplicationRecord> records(4, exampleApplication());
    records[0] = source::ApplicationRecord{};
    records[1].activePartProgram->defaultMember = "Nothing";
    records[2].activePartProgram->failingReads.add(source::Member::PartProgramDefaultMember);
    records[3].failingReads.add(source::Member::ApplicationActivePartProgram);
    for (const source::ApplicationRecord& record : records) {
        attach(record);
        messages.messages.clear();
        EXPECT_EQ(start().outcome, RunOutcome::NotConnected);
        EXPECT_EQ(messageTexts(), std::vector<std::string>{"L47"});
        EXPECT_FALSE(run.Connected);
        EXPECT_EQ(run.PartProgramName, "PUMP1");
        EXPECT_EQ(nameDisplay.shown.back(), "PUMP1");
        EXPECT_EQ(contentsOf(dir.path()), written);
    }
}

TEST_F(StartCommand, FormsThePartProgramNameFromTheFileName)
{
    for (const auto& [fileName, name] : std::vector<std::pair<std::string, std::string>>{
             {"PUMP1.PRG", "PUMP1"}, {"PUMP12345", "PUMP1"}, {"ABC", ""}, {"\xC3\x84" "BC.PRG", "\xC3\x84" "BC"}}) {
        auto record = exampleApplication();
        record.activePartProgram->fileName = fileName;
        attach(record);
        run.ConnectToApplication(runServices());
        EXPECT_EQ(run.PartProgramName, name) << fileName;
    }
}

TEST_F(StartCommand, ReachesTheValuesOnlyWhenTheValuesWriterRan)
{
    attach(applicationWith({namedValueCommand("FIELD5", "no hash")}));
    EXPECT_TRUE(start().reachedValues()); // the values writer stopped, but was reached
    attach(applicationWith({namedValueCommand("K2005", "x")}));
    std::filesystem::remove_all(dir.path());
    std::filesystem::create_directories(dir.path());
    const auto aborted = start();
    EXPECT_EQ(aborted.outcome, RunOutcome::ConversionAborted);
    EXPECT_FALSE(aborted.reachedValues());
    connector.running = false;
    EXPECT_FALSE(start().reachedValues());
}

TEST_F(StartCommand, ReportsAMissingOutputDirectoryAndWritesNothing)
{
    run.Settings.SettingDir = (dir / "missing").string();
    attach(exampleApplication());
    const auto result = start();
    EXPECT_EQ(result.outcome, RunOutcome::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
    EXPECT_NE(messages.messages[0].text.find("does not exist"), std::string::npos);
    EXPECT_EQ(dir.listing(), "");
}

// Another holder keeps the file set's lock beyond the run's wait.
TEST_F(StartCommand, StopsWithTheLocksMessageAndChangesNothingWhenTheFileSetCannotBeLocked)
{
    attach(exampleApplication());
    kfield::SystemFileLocks impatient(std::chrono::milliseconds(10));
    const app::RunServices services{texts, regional, *codePage, files, impatient, messages, progress, nameDisplay, connector, clock};
    // Once where a full write would follow, once where an append would.
    for (const bool filesExist : {false, true}) {
        if (filesExist) {
            ASSERT_EQ(start().outcome, RunOutcome::ValuesWritten);
        }
        const auto held = kfield::lockFileSet(dir / "PUMP HOUSING A1.dfd");
        const DirectoryBytes before = contentsOf(dir.path());
        messages.messages.clear();

        EXPECT_EQ(run.start(services).outcome, RunOutcome::Failed);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text,
                  "Cannot lock \"" + dir.path().string() + "\": another conversion in this folder has not finished within 10 ms");
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(contentsOf(dir.path()), before);
    }
}

TEST(SystemClock, GivesTodaysLocalDate)
{
    // The local date is at most a day away from the date in UTC.
    const std::chrono::year_month_day utc{std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    const config::CalendarTime now = app::SystemClock().now();
    const std::chrono::year_month_day local{std::chrono::year(now.year), std::chrono::month(static_cast<unsigned>(now.month)),
                                            std::chrono::day(static_cast<unsigned>(now.day))};
    ASSERT_TRUE(local.ok());
    EXPECT_LE(std::abs((std::chrono::sys_days(local) - std::chrono::sys_days(utc)).count()), 1);
}
