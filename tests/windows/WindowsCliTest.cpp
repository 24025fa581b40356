// norda-cli.exe as the operator's machine runs it: the test server stands for the running measuring
// application in this process, norda-cli.exe reaches it through cross-process COM, and every file it
// writes must be byte for byte what the Linux norda-cli writes from the same snapshot under the same
// locale (the suite runs once under LC_ALL=de_DE.UTF-8 and once under en_US.UTF-8).
#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"

#include "app/ApplicationConnector.h"
#include "app/Clock.h"
#include "app/ConversionRun.h"
#include "config/CodePage.h"
#include "config/LanguageTexts.h"
#include "config/MainWindowSettings.h"
#include "config/MemorySettingsStore.h"
#include "config/RegionalSettings.h"
#include "config/SettingKeys.h"
#include "config/TextLines.h"
#include "config/WindowsRegistrySettingsStore.h"
#include "config/mdl_Sprache_Laden.h"
#include "kfield/LocalFileSystem.h"
#include "kfield/OperatorMessages.h"
#include "kfield/ProgressDisplay.h"
#include "source/MemoryApplication.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <set>

using namespace wintest;
using source::Member;

namespace {

constexpr const char* kNow = "2026-12-05T14:03:12";
constexpr DWORD kServeTime = 600000;
// 15 commands each, and 10 around them: 3010 commands.
constexpr int kRepetitions = 200;
constexpr const wchar_t* kSettingsKey = L"Software\\VB and VBA Program Settings\\VELTRUM_NORDA_KONVERTER\\Settings";

std::filesystem::path example(const std::string& name)
{
    return sourceDirectory() / "examples" / name;
}

// The gearbox example's K2404 value "2.5" is no number under a German locale, which stops the
// conversion on every system alike; a whole number converts under both.
void localeNeutral(source::ApplicationRecord& record)
{
    for (auto& command : record.activePartProgram->commands) {
        if (command.namedValue && command.namedValue->name == "K2404")
            command.namedValue->value = "3";
    }
}

source::ApplicationRecord gearboxExample()
{
    source::ApplicationRecord record = source::readSnapshotFile(example("gearbox-cover.json"));
    localeNeutral(record);
    return record;
}

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

// A part program of some thousands of commands: the commands of the gearbox example (named values,
// comments, single dimensions, an axis block, a position block) with the dimension block repeated,
// each time with other IDs and values; a part name and comments with umlauts, one comment with a
// character the code page lacks.
source::ApplicationRecord syntheticApplication(int repetitions)
{
    source::ApplicationRecord record = gearboxExample();
    source::PartProgramRecord& program = *record.activePartProgram;
    const std::vector<source::CommandRecord> original = program.commands;
    program.partName = "Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7";
    program.commands.assign(original.begin(), original.begin() + 7);
    for (int r = 0; r < repetitions; ++r) {
        for (std::size_t i = 7; i < 22; ++i) {
            source::CommandRecord command = original[i];
            if (!command.id.empty())
                command.id += "_" + std::to_string(r);
            if (command.dimensionData) {
                source::DimensionRecord& d = *command.dimensionData;
                if (!d.id.empty())
                    d.id += "_" + std::to_string(r);
                d.measured = d.nominal + ((r * 37 + static_cast<int>(i) * 11) % 200 - 100) * 0.00037;
                d.positionResult = ((r * 13) % 50) * 0.0011;
            }
            if (command.comment)
                command.comment->text = r % 50 == 0 ? "Pr\xC3\xBC" "fung \xC5\x82\xC3\xBC" "cke " + std::to_string(r)
                                                     : "Bohrung \xC3\x96" "ffnung " + std::to_string(r);
            if (r % 7 == 3 && command.isDimension)
                command.valueValid = false;
            program.commands.push_back(std::move(command));
        }
    }
    program.commands.insert(program.commands.end(), original.begin() + 22, original.end());
    return record;
}

// Messages of an in-process run, for a run that must be silent.
class CollectedMessages final : public kfield::OperatorMessages {
public:
    void show(const std::string& text, kfield::MessageIcon) override { texts += text + "\n"; }
    std::string texts;
};

class NoDisplay final : public kfield::ProgressDisplay, public app::PartProgramNameDisplay {
public:
    void show(const std::string&, int) override {}
    void setValue(int) override {}
    void hide() override {}
    void showPartProgramName(const std::string&) override {}
};

// The application of this process, handed out as the running one.
class InProcessConnector final : public app::ApplicationConnector {
public:
    explicit InProcessConnector(std::shared_ptr<source::MemoryApplication> application) : m_application(std::move(application)) {}
    bool findMainWindow(std::string_view) override { return true; }
    std::shared_ptr<source::Application> requestObject(std::string_view) override { return m_application; }

private:
    std::shared_ptr<source::MemoryApplication> m_application;
};

class WindowsCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testserver::TestAutomationServer::registerProgrammaticId();
        SetEnvironmentVariableW(L"VELTRUM_SNAPSHOT", nullptr);
    }

    void SetUp() override
    {
        ASSERT_FALSE(linuxCli().empty()) << "configure with NORDA_LINUX_CLI naming the Linux norda-cli";
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        std::filesystem::create_directories(windowsOut);
        std::filesystem::create_directories(linuxOut);
        std::filesystem::create_directories(work / "linux-config");
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    static std::string locale()
    {
        const std::string name = environmentText(L"LC_ALL");
        return name.empty() ? "en_US.UTF-8" : name;
    }

    std::filesystem::path snapshotFile(const source::ApplicationRecord& record)
    {
        const std::filesystem::path file = work / ("snapshot-" + std::to_string(++m_snapshots) + ".json");
        writeBytes(file, source::writeSnapshot(record));
        return file;
    }

    std::vector<std::string> arguments(const std::filesystem::path& directory, const std::vector<std::string>& settings,
                                       bool setDirectory = true)
    {
        std::vector<std::string> all{"--now", kNow};
        if (setDirectory)
            all.insert(all.end(), {"--set", "DIR=" + utf8(directory)});
        all.insert(all.end(), settings.begin(), settings.end());
        return all;
    }

    // norda-cli.exe against the server, which serves while it runs; busySeconds sets its busy budget.
    ProcessResult convertOnWindows(testserver::TestAutomationServer& server, const std::vector<std::string>& settings,
                                   bool setDirectory = true, const wchar_t* busySeconds = L"")
    {
        ChildProcess child(programDirectory() / "norda-cli.exe", arguments(windowsOut, settings, setDirectory),
                           {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", busySeconds}});
        const auto started = std::chrono::steady_clock::now();
        EXPECT_TRUE(server.serveUntilExit(child.handle(), kServeTime)) << "norda-cli.exe did not end";
        m_lastSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return child.finish(0);
    }

    // The Linux norda-cli with the snapshot, in a clean environment with settings of its own. A Linux
    // shell takes its output and exit status, and says when it is done: for a Linux program Wine
    // passes on neither, and its process handle does not wait for the program's end.
    ProcessResult convertOnLinux(const std::optional<std::filesystem::path>& snapshot, const std::vector<std::string>& settings)
    {
        const std::filesystem::path capture = work / "linux-capture";
        std::filesystem::create_directories(capture);
        std::filesystem::remove_all(capture / "status");
        std::vector<std::string> all{"-c", "out=$1 err=$2 status=$3; shift 3; env -i \"$@\" >\"$out\" 2>\"$err\"; "
                                           "echo $? >\"$status.part\"; mv \"$status.part\" \"$status\"",
                                     "sh", unixPath(capture) + "/out", unixPath(capture) + "/err", unixPath(capture) + "/status",
                                     "LC_ALL=" + locale(), "HOME=" + unixPath(work.path()),
                                     "XDG_CONFIG_HOME=" + unixPath(work / "linux-config"), linuxCli()};
        if (snapshot)
            all.insert(all.end(), {"--snapshot", unixPath(*snapshot)});
        all.insert(all.end(), {"--now", kNow, "--set", "DIR=" + unixPath(linuxOut)});
        all.insert(all.end(), settings.begin(), settings.end());
        runProcess(windowsPath("/bin/sh"), all);
        for (int waited = 0; !std::filesystem::exists(capture / "status") && waited < 6000; ++waited)
            Sleep(20);
        ProcessResult result;
        result.out = readBytes(capture / "out");
        result.err = readBytes(capture / "err");
        result.exitCode = static_cast<DWORD>(std::stoul(readBytes(capture / "status")));
        return result;
    }

    // Both directories hold the same files with the same bytes.
    void expectSameFiles()
    {
        std::set<std::string> windowsNames;
        std::set<std::string> linuxNames;
        for (const auto& entry : std::filesystem::directory_iterator(windowsOut))
            windowsNames.insert(utf8(entry.path().filename()));
        for (const auto& entry : std::filesystem::directory_iterator(linuxOut))
            linuxNames.insert(utf8(entry.path().filename()));
        ASSERT_EQ(windowsNames, linuxNames);
        ASSERT_FALSE(windowsNames.empty());
        for (const auto& name : windowsNames) {
            const std::string written = readBytes(windowsOut / fromUtf8(name));
            const std::string expected = readBytes(linuxOut / fromUtf8(name));
            EXPECT_TRUE(written == expected) << name << ": " << written.size() << " bytes written, Linux wrote "
                                             << expected.size() << " bytes; first difference at byte "
                                             << std::distance(written.begin(), std::mismatch(written.begin(), written.end(),
                                                                                             expected.begin(), expected.end()).first);
        }
    }

    // Names, sizes and a checksum of the content: short enough for a failure message.
    static std::string directoryState(const std::filesystem::path& directory)
    {
        std::set<std::string> lines;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            const std::string bytes = readBytes(entry.path());
            std::uint64_t hash = 1469598103934665603ull;
            for (const char c : bytes)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            lines.insert(utf8(entry.path().filename()) + " " + std::to_string(bytes.size()) + " " + std::to_string(hash));
        }
        std::string all;
        for (const auto& line : lines)
            all += line + "\n";
        return all;
    }

    // Converts the same snapshot on both systems: a full write, then an append.
    void convertTwiceOnBoth(const source::ApplicationRecord& record, const std::vector<std::string>& settings)
    {
        const auto snapshot = snapshotFile(record);
        for (int run = 1; run <= 2; ++run) {
            SCOPED_TRACE("run " + std::to_string(run));
            testserver::TestAutomationServer server(record);
            const ProcessResult windows = convertOnWindows(server, settings);
            EXPECT_EQ(windows.exitCode, 0u) << windows.err;
            EXPECT_EQ(windows.err, "");
            const ProcessResult linux = convertOnLinux(snapshot, settings);
            EXPECT_EQ(linux.exitCode, 0u) << linux.err;
            EXPECT_EQ(withoutCarriageReturns(windows.out).substr(0, 8), linux.out.substr(0, 8));
            expectSameFiles();
        }
    }

    TemporaryDirectory work{"norda-cli"};
    std::filesystem::path windowsOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Windows)";
    std::filesystem::path linuxOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Linux)";
    double m_lastSeconds = 0;
    int m_snapshots = 0;
};

// The conversions whose files are compared with the Linux ones: they run under both locales.
class WindowsCliFiles : public WindowsCli {};

} // namespace

TEST_F(WindowsCliFiles, ExampleWithCommentsMatchesLinux)
{
    convertTwiceOnBoth(source::readSnapshotFile(example("pump-housing.json")), {"--set", "KOMMENTARE=1"});
}

TEST_F(WindowsCliFiles, GearboxExampleInCombinedModeMatchesLinux)
{
    convertTwiceOnBoth(gearboxExample(), {"--set", "DFQ=1", "--set", "KOMMENTARE=1"});
}

TEST_F(WindowsCliFiles, SyntheticPartProgramMatchesLinux)
{
    convertTwiceOnBoth(syntheticApplication(20), {"--set", "KOMMENTARE=1", "--set", "POS_ACHSE=1"});
    // The part name with its umlauts names the files.
    EXPECT_NE(directoryState(windowsOut).find("Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7.dfd"), std::string::npos);
}

TEST_F(WindowsCliFiles, SmallerSyntheticPartProgramInCombinedModeMatchesLinux)
{
    convertTwiceOnBoth(syntheticApplication(10), {"--set", "DFQ=1", "--set", "SERIENNUMMER=1", "--set", "VersionInFileName=1"});
}

// The large part program: one full write, compared with Linux, and what the server saw of it. It
// runs under the German locale only: each of its 51527 calls crosses processes, which takes its time
// under Wine.
TEST_F(WindowsCliFiles, LargePartProgramMatchesLinuxAndTheServerRecordsItsCalls)
{
    const source::ApplicationRecord record = syntheticApplication(kRepetitions);
    testserver::TestAutomationServer server(record);
    server.application().log().startTrace();
    const ProcessResult windows = convertOnWindows(server, {"--set", "KOMMENTARE=1"});
    ASSERT_EQ(windows.exitCode, 0u) << windows.err;
    const ProcessResult linux = convertOnLinux(snapshotFile(record), {"--set", "KOMMENTARE=1"});
    EXPECT_EQ(linux.exitCode, 0u) << linux.err;
    expectSameFiles();
    const source::ReadLog& log = server.application().log();
    const auto& trace = log.trace();

    // VisitCommand once for every dimension, in the value walk, in program order.
    std::vector<std::uint32_t> dimensions;
    for (std::size_t i = 0; i < record.activePartProgram->commands.size(); ++i) {
        if (record.activePartProgram->commands[i].isDimension)
            dimensions.push_back(static_cast<std::uint32_t>(i));
    }
    std::vector<std::uint32_t> visited;
    for (const auto& entry : trace) {
        if (entry.member == Member::CommandsVisitCommand)
            visited.push_back(entry.commandIndex);
    }
    EXPECT_EQ(visited, dimensions);

    // Each walk: UpdatesEnabled read, put false, the commands, put back; the application ends as it began.
    std::string updates;
    bool suspended = false;
    std::size_t readsOutsideWalks = 0;
    for (const auto& entry : trace) {
        if (entry.member == Member::ApplicationUpdatesEnabled)
            updates += "R";
        else if (entry.member == Member::ApplicationSetUpdatesEnabled) {
            updates += "W";
            suspended = !suspended;
        } else if (source::objectOf(entry.member) == source::ModelObject::Command ||
                   source::objectOf(entry.member) == source::ModelObject::DimensionData) {
            readsOutsideWalks += suspended ? 0 : 1;
        }
    }
    EXPECT_EQ(updates, "RWWRWW");
    EXPECT_EQ(readsOutsideWalks, 0u);
    EXPECT_TRUE(server.application().record().updatesEnabled);

    // The same conversion in this process on the in-memory application reads exactly the same members
    // as often: the automation client adds no call, and every Invoke is a member call.
    auto memory = std::make_shared<source::MemoryApplication>(record);
    {
        TemporaryDirectory out{"norda-inprocess"};
        const auto codePage = config::systemCodePage();
        config::LanguageTexts texts;
        config::LoadResourceTexts(texts, programDirectory(), *codePage);
        const auto regional = config::systemRegionalSettings();
        kfield::LocalFileSystem files;
        CollectedMessages messages;
        NoDisplay display;
        InProcessConnector connector(memory);
        const app::FixedClock clock(config::CalendarTime{2026, 12, 5, 14, 3, 12});
        config::MemorySettingsStore settings;
        settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, utf8(out.path()));
        settings.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kKommentare, "1");
        app::ConversionRun run;
        run.loadSettings(config::readMainWindowSettings(settings));
        const app::RunServices services{texts, *regional, *codePage, files, messages, display, display, connector, clock};
        EXPECT_EQ(run.start(services).outcome, app::RunOutcome::ValuesWritten) << messages.texts;
    }
    for (int i = 0; i < source::kMemberCount; ++i) {
        const auto member = static_cast<Member>(i);
        EXPECT_EQ(log.count(member), memory->log().count(member)) << source::memberName(member);
    }
    const auto& counters = server.counters();
    EXPECT_EQ(counters.invokes, log.total());
    EXPECT_EQ(counters.unknownMembers, 0u);

    const double commands = static_cast<double>(record.activePartProgram->commands.size());
    std::printf("[ records  ] %zu commands, %zu dimensions: %llu member calls (%.2f per command, both walks), "
                "%llu IEnumVARIANT::Next (%.2f per command), %llu VisitCommand; %.1f s under Wine\n",
                record.activePartProgram->commands.size(), dimensions.size(), static_cast<unsigned long long>(counters.invokes),
                static_cast<double>(counters.invokes) / commands, static_cast<unsigned long long>(counters.enumeratorNexts),
                static_cast<double>(counters.enumeratorNexts) / commands, static_cast<unsigned long long>(visited.size()),
                m_lastSeconds);
    for (int i = 0; i < source::kMemberCount; ++i) {
        const auto member = static_cast<Member>(i);
        if (log.count(member) > 0)
            std::printf("[ records  ]   %-36s %llu\n", std::string(source::memberName(member)).c_str(),
                        static_cast<unsigned long long>(log.count(member)));
    }
    // One enumeration for both walks: one Next per command and one that finds the end.
    EXPECT_EQ(counters.enumeratorNexts, record.activePartProgram->commands.size() + 1);
}

TEST_F(WindowsCli, NotRunningShowsTextLine46AndRequestsNothing)
{
    testserver::ServerOptions noWindow;
    noWindow.showMainWindow = false;
    testserver::TestAutomationServer server(source::readSnapshotFile(example("pump-housing.json")), noWindow);
    const ProcessResult windows = convertOnWindows(server, {});
    const ProcessResult linux = convertOnLinux(std::nullopt, {});
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_EQ(windows.err, "Veltrum is not running. Please start Veltrum and open a part program.\r\n");
    EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
    EXPECT_EQ(linux.exitCode, 1u);
    EXPECT_EQ(windows.out, "");
    EXPECT_EQ(server.counters().applicationRequests, 0u);
    EXPECT_EQ(server.counters().invokes, 0u);
    EXPECT_EQ(directoryState(windowsOut), "");
}

TEST_F(WindowsCli, NoPartProgramShowsTextLine47)
{
    const auto record = source::readSnapshotFile(example("no-part-program.json"));
    testserver::TestAutomationServer server(record);
    const ProcessResult windows = convertOnWindows(server, {});
    const ProcessResult linux = convertOnLinux(example("no-part-program.json"), {});
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("No part program is open"), std::string::npos) << windows.err;
    EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
    EXPECT_EQ(linux.exitCode, 1u);
    EXPECT_GE(server.counters().applicationRequests, 1u);
    EXPECT_EQ(server.application().log().count(Member::ApplicationActivePartProgram), 1u);
    EXPECT_EQ(directoryState(windowsOut), "");
}

TEST_F(WindowsCli, AFailedCallMidWalkLeavesTheFilesAndPutsUpdatesEnabledBack)
{
    const source::ApplicationRecord good = syntheticApplication(20);
    {
        testserver::TestAutomationServer server(good);
        ASSERT_EQ(convertOnWindows(server, {}).exitCode, 0u);
    }
    const std::string before = directoryState(windowsOut);

    source::ApplicationRecord failing = good;
    std::size_t failingCommand = failing.activePartProgram->commands.size() / 2;
    while (!failing.activePartProgram->commands[failingCommand].isDimension)
        ++failingCommand;
    failing.activePartProgram->commands[failingCommand].failingReads.add(Member::CommandValueValid);
    testserver::TestAutomationServer server(failing);
    const ProcessResult windows = convertOnWindows(server, {});
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("Cannot read Command.ValueValid"), std::string::npos) << windows.err;
    EXPECT_NE(windows.err.find("the measuring application refused the call"), std::string::npos) << windows.err;
    EXPECT_EQ(directoryState(windowsOut), before);
    EXPECT_TRUE(server.application().record().updatesEnabled);
    EXPECT_EQ(server.application().updatesEnabledWrites(), 2);

    // The Linux converter says the same about the same snapshot.
    const auto snapshot = snapshotFile(good);
    convertOnLinux(snapshot, {});
    const ProcessResult linux = convertOnLinux(snapshotFile(failing), {});
    EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
    EXPECT_EQ(linux.exitCode, 1u);
}

TEST_F(WindowsCli, AFailedCallInTheFullWriteWritesNoFile)
{
    source::ApplicationRecord failing = syntheticApplication(20);
    failing.activePartProgram->commands[150].failingReads.add(Member::CommandCommandType);
    testserver::TestAutomationServer server(failing);
    const ProcessResult windows = convertOnWindows(server, {"--set", "DFQ=1"});
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("Command.CommandType"), std::string::npos) << windows.err;
    EXPECT_EQ(directoryState(windowsOut), "");
    EXPECT_TRUE(server.application().record().updatesEnabled);
}

TEST_F(WindowsCli, StoredSettingsComeFromTheRegistry)
{
    config::WindowsRegistrySettingsStore store;
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, utf8(windowsOut));
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDfq, "1");
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kNamenslaenge, "1");
    const auto record = syntheticApplication(5);
    testserver::TestAutomationServer server(record);
    const ProcessResult windows = convertOnWindows(server, {}, false);
    EXPECT_EQ(windows.exitCode, 0u) << windows.err;
    EXPECT_EQ(windows.out, "created  " + utf8(windowsOut / "Getriebe.dfq") + "\r\nappended " + utf8(windowsOut / "Getriebe.dfq") + "\r\n");
    convertOnLinux(snapshotFile(record), {"--set", "DFQ=1", "--set", "NAMENSL\xC3\x84NGE=1"});
    expectSameFiles();
}

TEST_F(WindowsCli, ASnapshotNamedByTheEnvironmentStandsForTheApplication)
{
    const std::filesystem::path snapshot = work / "Schnappschuss \xC3\x84\xC3\x96\xC3\x9C.json";
    std::filesystem::copy_file(example("pump-housing.json"), snapshot);
    ChildProcess child(programDirectory() / "norda-cli.exe", arguments(windowsOut, {}), {{L"VELTRUM_SNAPSHOT", snapshot.wstring()}});
    const ProcessResult windows = child.finish();
    EXPECT_EQ(windows.exitCode, 0u) << windows.err;
    convertOnLinux(example("pump-housing.json"), {});
    expectSameFiles();
}

// The application rejects incoming calls as busy, as it does at the end of a measurement. Within the
// budget (1 s here) every conversion writes the files of an undisturbed run; past it the run stops
// with the busy message and writes nothing. UpdatesEnabled is back in every case.
TEST_F(WindowsCli, ABusyApplicationIsWaitedForWithinTheBudget)
{
    const source::ApplicationRecord record = gearboxExample();
    std::vector<source::ReadLog::Entry> trace;
    std::string undisturbed;
    {
        testserver::TestAutomationServer server(record);
        server.application().log().startTrace();
        const ProcessResult windows = convertOnWindows(server, {}, true, L"1");
        ASSERT_EQ(windows.exitCode, 0u) << windows.err;
        trace = server.application().log().trace();
        undisturbed = directoryState(windowsOut);
    }
    const auto callsBefore = [&](Member member, int occurrence) {
        for (std::size_t i = 0; i < trace.size(); ++i) {
            if (trace[i].member == member && --occurrence == 0)
                return static_cast<std::uint64_t>(i);
        }
        ADD_FAILURE() << source::memberName(member) << " is not read";
        return std::uint64_t{0};
    };
    const std::uint64_t blockStartId = callsBefore(Member::CommandId, 1); // the description walk reads it at block starts only
    const std::uint64_t firstRestore = callsBefore(Member::ApplicationSetUpdatesEnabled, 2);
    const struct {
        const char* name;
        std::uint64_t afterMemberCalls;
        DWORD milliseconds;
        DWORD answer;
        bool withinBudget;
    } cases[] = {
        {"at the connection", 0, 400, SERVERCALL_REJECTED, true},
        {"at a block start's Id", blockStartId, 400, SERVERCALL_RETRYLATER, true},
        {"across the end of the walk and the restore", firstRestore - 2, 400, SERVERCALL_REJECTED, true},
        {"past the budget, then the restore", blockStartId, 1600, SERVERCALL_REJECTED, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(windowsOut);
        std::filesystem::create_directories(windowsOut);
        testserver::TestAutomationServer server(record);
        server.beBusy({c.afterMemberCalls, c.milliseconds, c.answer, 0});
        const ProcessResult windows = convertOnWindows(server, {}, true, L"1");
        EXPECT_GT(server.counters().rejectedCalls, 0u);
        EXPECT_TRUE(server.application().record().updatesEnabled);
        if (c.withinBudget) {
            EXPECT_EQ(windows.exitCode, 0u) << windows.err;
            EXPECT_EQ(windows.err, "");
            EXPECT_EQ(directoryState(windowsOut), undisturbed);
        } else {
            EXPECT_EQ(windows.exitCode, 1u);
            EXPECT_NE(windows.err.find("Veltrum was busy for 1 s; run the conversion again (Command.Id: "), std::string::npos)
                << windows.err;
            EXPECT_EQ(directoryState(windowsOut), "");
        }
    }
}

// The application ends in the middle of the walk: the run stops at once with the message for it.
TEST_F(WindowsCli, AnApplicationThatEndsMidWalkIsReportedAsClosed)
{
    const auto snapshot = snapshotFile(syntheticApplication(2));
    ChildProcess application(programDirectory() / "veltrum-test-server.exe", {utf8(snapshot), "150"});
    for (int waited = 0; !FindWindowA(testserver::kMainWindowClass, nullptr) && waited < 1000; ++waited)
        Sleep(20);
    ChildProcess cli(programDirectory() / "norda-cli.exe", arguments(windowsOut, {}),
                     {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", L"1"}});
    const ProcessResult windows = cli.finish(60000);
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("Veltrum was closed or stopped responding"), std::string::npos) << windows.err;
    // UpdatesEnabled cannot be put back either, and the operator is told.
    EXPECT_NE(windows.err.find("screen updates of the measuring application may still be switched off"), std::string::npos);
    EXPECT_EQ(directoryState(windowsOut), "");
    EXPECT_EQ(application.finish(10000).exitCode, 3u);
}
