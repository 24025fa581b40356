#include "app/Clock.h"
#include "kfield/FileLock.h"
#include "kfield/WriteError.h"
#include "support/Files.h"
#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <chrono>
#include <cstdlib>
#include <vector>

using namespace testing_support;
using app::RunOutcome;
using kfield::MessageIcon;

namespace {

class StartCommand : public RunFixture {};

// Locks that cannot be taken, as when another conversion keeps the file set too long.
class UnavailableLocks final : public kfield::FileLocks {
public:
    std::unique_ptr<kfield::FileLock> lockFileSet(const std::filesystem::path& descriptionPath) override
    {
        requested.push_back(descriptionPath);
        const kfield::FileError error("Cannot lock", descriptionPath.parent_path(), "another conversion holds it");
        thrown = error.what();
        throw error;
    }
    std::vector<std::filesystem::path> requested;
    std::string thrown;
};

} // namespace

TEST_F(StartCommand, ShowsOneMessageAndRequestsNothingWhenTheApplicationIsNotRunning)
{
    connector.running = false;
    const auto result = start();
    EXPECT_EQ(result.outcome, RunOutcome::NotConnected);
    EXPECT_FALSE(result.reachedValues());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "L46");
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(connector.requests, 0);
    EXPECT_EQ(connector.lastClassName, "OrvianVeltrumWndClass");
    EXPECT_EQ(nameDisplay.shown, std::vector<std::string>{""});
    EXPECT_EQ(dir.listing(), "");
    EXPECT_EQ(progress.captions.size(), 0u);
}

TEST_F(StartCommand, KeepsTheLastNameWhenNoPartProgramIsOpen)
{
    attach(exampleApplication());
    EXPECT_EQ(start().outcome, RunOutcome::ValuesWritten);
    EXPECT_EQ(run.PartProgramName, "PUMP1");
    EXPECT_EQ(connector.lastProgrammaticId, "Veltrum.Application");

    attach(source::ApplicationRecord{});
    messages.messages.clear();
    EXPECT_EQ(start().outcome, RunOutcome::NotConnected);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"L47"});
    EXPECT_FALSE(run.Connected);
    EXPECT_EQ(run.PartProgramName, "PUMP1");
    EXPECT_EQ(nameDisplay.shown.back(), "PUMP1");
}

TEST_F(StartCommand, TreatsNothingAndAFailedReadAsNoPartProgram)
{
    auto nothing = exampleApplication();
    nothing.activePartProgram->defaultMember = "Nothing";
    attach(nothing);
    EXPECT_EQ(start().outcome, RunOutcome::NotConnected);
    auto unreadable = exampleApplication();
    unreadable.activePartProgram->failingReads.add(source::Member::PartProgramDefaultMember);
    attach(unreadable);
    EXPECT_EQ(start().outcome, RunOutcome::NotConnected);
    auto refused = exampleApplication();
    refused.failingReads.add(source::Member::ApplicationActivePartProgram);
    attach(refused);
    EXPECT_EQ(start().outcome, RunOutcome::NotConnected);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{"L47", "L47", "L47"}));
    EXPECT_EQ(dir.listing(), "");
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

TEST_F(StartCommand, DecidesByTheDescriptionAndTheCombinedFile)
{
    attach(exampleApplication());
    writeBytes(dir / "PUMP HOUSING A1.dfq", "combined\r\n");
    EXPECT_FALSE(start().fullWrite); // the combined file selects the append path with DFQ off
    EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.dfq PUMP HOUSING A1.dfx");
    std::filesystem::remove(dir / "PUMP HOUSING A1.dfq");
    std::filesystem::remove(dir / "PUMP HOUSING A1.dfx");

    run.Settings.SettingDFQ = "1";
    writeBytes(dir / "PUMP HOUSING A1.dfd", "description\r\n");
    EXPECT_FALSE(start().fullWrite); // and the description file with DFQ on
    EXPECT_EQ(file("PUMP HOUSING A1.dfq"), golden("example-values-point.dfx"));
    EXPECT_EQ(file("PUMP HOUSING A1.dfd"), "description\r\n");
}

TEST_F(StartCommand, DeletesALeftOverTemporaryFileBeforeAFullWrite)
{
    attach(exampleApplication());
    writeBytes(dir / "PUMP HOUSING A1.tmp", "K2001/1 LEFTOVER\r\n");
    start();
    EXPECT_EQ(file("PUMP HOUSING A1.dfd").find("LEFTOVER"), std::string::npos);
    EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
}

TEST_F(StartCommand, AppendsBehindTheValuesWhenOnlyTheValuesFileIsLeft)
{
    attach(exampleApplication());
    writeBytes(dir / "PUMP HOUSING A1.dfx", "old values\r\n");
    EXPECT_TRUE(start().fullWrite);
    EXPECT_EQ(file("PUMP HOUSING A1.dfx"), "old values\r\n" + golden("example-values-point.dfx"));
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
    EXPECT_NE(messages.messages[0].text.find("missing"), std::string::npos);
    EXPECT_NE(messages.messages[0].text.find("does not exist"), std::string::npos);
    EXPECT_EQ(dir.listing(), "");
}

TEST_F(StartCommand, StopsWithTheLocksMessageAndChangesNothingWhenTheFileSetCannotBeLocked)
{
    attach(exampleApplication());
    UnavailableLocks unavailable;
    const app::RunServices services{texts, regional, *codePage, files, unavailable, messages, progress, nameDisplay, connector, clock};
    // Once where a full write would follow, once where an append would.
    for (const bool filesExist : {false, true}) {
        if (filesExist) {
            ASSERT_EQ(start().outcome, RunOutcome::ValuesWritten);
        }
        const DirectoryBytes before = contentsOf(dir.path());
        messages.messages.clear();

        EXPECT_EQ(run.start(services).outcome, RunOutcome::Failed);
        EXPECT_EQ(unavailable.requested.back(), run.DfdPath);
        ASSERT_EQ(messages.messages.size(), 1u);
        EXPECT_EQ(messages.messages[0].text, unavailable.thrown);
        EXPECT_EQ(messages.messages[0].icon, MessageIcon::Critical);
        EXPECT_EQ(contentsOf(dir.path()), before);
    }
}

TEST_F(StartCommand, ReportsAFailingReadWithTheMemberAndTheCommand)
{
    auto record = exampleApplication();
    record.activePartProgram->commands[3].dimensionData->failingReads.add(source::Member::DimensionDataNominal);
    attach(record);
    EXPECT_EQ(start().outcome, RunOutcome::Failed);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text,
              "Cannot read DimensionData.Nominal of command 4 from the measuring application: the measuring application refused the call");
    EXPECT_EQ(dir.listing(), "");
    EXPECT_TRUE(connector.application->record().updatesEnabled);
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
