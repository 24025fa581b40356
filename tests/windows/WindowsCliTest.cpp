// norda-cli.exe as the operator's machine runs it: the test server stands for the running measuring
// application in this process, norda-cli.exe reaches it through cross-process COM, and every file it
// writes must be byte for byte what the Linux norda-cli writes from the same snapshot under the same
// locale (the small example runs under LC_ALL=de_DE.UTF-8 and en_US.UTF-8, the larger program under
// the German one only, the rest under the English one).
#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"

#include "config/SettingKeys.h"
#include "config/WindowsRegistrySettingsStore.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <map>

using namespace wintest;
using source::Member;

namespace {

constexpr const char* kNow = "2026-12-05T14:03:12";
constexpr DWORD kServeTime = 600000;
constexpr const wchar_t* kSettingsKey = L"Software\\VB and VBA Program Settings\\VELTRUM_NORDA_KONVERTER\\Settings";
constexpr const char* kUmlautPartName = "Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7";

std::filesystem::path example(const std::string& name)
{
    return sourceDirectory() / "examples" / name;
}

// The pump example with umlauts in its part name and comment, and a letter windows-1252 lacks.
source::ApplicationRecord smallExample()
{
    source::ApplicationRecord record = source::readSnapshotFile(example("pump-housing.json"));
    record.activePartProgram->partName = kUmlautPartName;
    record.activePartProgram->commands[0].comment->text = "Pr\xC3\xBC" "fung \xC5\x82\xC3\xBC" "cke";
    return record;
}

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

// A part program of some hundred commands: the commands of the gearbox example (named values,
// comments, single dimensions, an axis block, a position block) with the dimension block repeated,
// each time with other IDs and values, some invalid; a part name and comments with umlauts.
source::ApplicationRecord syntheticApplication(int repetitions)
{
    source::ApplicationRecord record = source::readSnapshotFile(example("gearbox-cover.json"));
    source::PartProgramRecord& program = *record.activePartProgram;
    // Its K2404 value "2.5" is no number under a German locale, which stops the conversion on every
    // system alike; a whole number converts under both.
    for (auto& command : program.commands) {
        if (command.namedValue && command.namedValue->name == "K2404")
            command.namedValue->value = "3";
    }
    const std::vector<source::CommandRecord> original = program.commands;
    program.partName = kUmlautPartName;
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
                command.comment->text = "Bohrung \xC3\x96" "ffnung " + std::to_string(r);
            if (r % 7 == 3 && command.isDimension)
                command.valueValid = false;
            program.commands.push_back(std::move(command));
        }
    }
    program.commands.insert(program.commands.end(), original.begin() + 22, original.end());
    return record;
}

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

    std::filesystem::path snapshotFile(const source::ApplicationRecord& record)
    {
        const std::filesystem::path file = work / ("snapshot-" + std::to_string(++m_snapshots) + ".json");
        writeBytes(file, source::writeSnapshot(record));
        return file;
    }

    std::vector<std::string> arguments(const std::vector<std::string>& settings, bool setDirectory = true) const
    {
        std::vector<std::string> all{"--now", kNow};
        if (setDirectory)
            all.insert(all.end(), {"--set", "DIR=" + config::pathText(windowsOut)});
        all.insert(all.end(), settings.begin(), settings.end());
        return all;
    }

    // norda-cli.exe against the server, which serves while it runs; busySeconds sets its busy budget.
    ProcessResult convertOnWindows(testserver::TestAutomationServer& server, const std::vector<std::string>& settings,
                                   bool setDirectory = true, const wchar_t* busySeconds = L"")
    {
        ChildProcess child(programDirectory() / "norda-cli.exe", arguments(settings, setDirectory),
                           {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", busySeconds}});
        EXPECT_TRUE(server.serveUntilExit(child.handle(), kServeTime)) << "norda-cli.exe did not end";
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
        const std::string locale = environmentText(L"LC_ALL");
        std::vector<std::string> all{"-c", "out=$1 err=$2 status=$3; shift 3; env -i \"$@\" >\"$out\" 2>\"$err\"; "
                                           "echo $? >\"$status.part\"; mv \"$status.part\" \"$status\"",
                                     "sh", unixPath(capture) + "/out", unixPath(capture) + "/err", unixPath(capture) + "/status",
                                     "LC_ALL=" + (locale.empty() ? "en_US.UTF-8" : locale), "HOME=" + unixPath(work.path()),
                                     "XDG_CONFIG_HOME=" + unixPath(work / "linux-config"), linuxCli()};
        if (snapshot)
            all.insert(all.end(), {"--snapshot", unixPath(*snapshot)});
        all.insert(all.end(), {"--now", kNow, "--set", "DIR=" + unixPath(linuxOut)});
        all.insert(all.end(), settings.begin(), settings.end());
        ChildProcess(windowsPath("/bin/sh"), all).finish();
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
        const std::map<std::string, std::string> windows = contents(windowsOut);
        ASSERT_FALSE(windows.empty());
        EXPECT_TRUE(windows == contents(linuxOut)) << "Windows:\n" << directoryState(windowsOut) << "Linux:\n" << directoryState(linuxOut);
    }

    static std::map<std::string, std::string> contents(const std::filesystem::path& directory)
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(directory))
            files[config::pathText(entry.path().filename())] = readBytes(entry.path());
        return files;
    }

    // Names, sizes and a checksum of the content: short enough for a failure message.
    static std::string directoryState(const std::filesystem::path& directory)
    {
        std::string all;
        for (const auto& [name, bytes] : contents(directory)) {
            std::uint64_t hash = 1469598103934665603ull;
            for (const char c : bytes)
                hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
            all += name + " " + std::to_string(bytes.size()) + " " + std::to_string(hash) + "\n";
        }
        return all;
    }

    // Converts the same snapshot on both systems, a full write and then an append, and compares
    // the files; checkFullWrite sees the server of the full write before it goes.
    void convertTwiceOnBoth(const source::ApplicationRecord& record, const std::vector<std::string>& settings,
                            const std::function<void(testserver::TestAutomationServer&)>& checkFullWrite = {})
    {
        const auto snapshot = snapshotFile(record);
        for (int run = 1; run <= 2; ++run) {
            SCOPED_TRACE("run " + std::to_string(run));
            testserver::TestAutomationServer server(record);
            server.application().log().startTrace();
            const ProcessResult windows = convertOnWindows(server, settings);
            EXPECT_EQ(windows.exitCode, 0u) << windows.err;
            EXPECT_EQ(windows.err, "");
            const ProcessResult linux = convertOnLinux(snapshot, settings);
            EXPECT_EQ(linux.exitCode, 0u) << linux.err;
            EXPECT_EQ(withoutCarriageReturns(windows.out).substr(0, 8), linux.out.substr(0, 8));
            expectSameFiles();
            if (run == 1 && checkFullWrite)
                checkFullWrite(server);
        }
    }

    TemporaryDirectory work{"norda-cli"};
    std::filesystem::path windowsOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Windows)";
    std::filesystem::path linuxOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Linux)";
    int m_snapshots = 0;
};

// The conversions whose files are compared with the Linux ones under a locale of their own.
class WindowsCliFiles : public WindowsCli {};

} // namespace

TEST_F(WindowsCliFiles, SmallExampleMatchesLinux)
{
    convertTwiceOnBoth(smallExample(), {"--set", "DFQ=1", "--set", "KOMMENTARE=1"});
    // The part name with its umlauts names the file.
    EXPECT_TRUE(std::filesystem::exists(windowsOut / config::pathFromUtf8(std::string(kUmlautPartName) + ".dfq")));
}

// A larger part program, and what the server saw of its full write.
TEST_F(WindowsCliFiles, LargerPartProgramMatchesLinuxAndTheServerRecordsItsCalls)
{
    const source::ApplicationRecord record = syntheticApplication(20);
    const std::vector<std::string> settings{"--set", "KOMMENTARE=1", "--set", "POS_ACHSE=1"};
    convertTwiceOnBoth(record, settings, [&](testserver::TestAutomationServer& server) {
        const source::ReadLog& log = server.application().log();

        // VisitCommand once for every dimension, in the value walk, in program order.
        const auto& commands = record.activePartProgram->commands;
        std::vector<std::uint32_t> dimensions;
        for (std::size_t i = 0; i < commands.size(); ++i) {
            if (commands[i].isDimension)
                dimensions.push_back(static_cast<std::uint32_t>(i));
        }
        std::vector<std::uint32_t> visited;
        // Each walk: UpdatesEnabled read, put false, the commands, put back; the application ends as it began.
        std::string updates;
        bool suspended = false;
        std::size_t readsOutsideWalks = 0;
        for (const auto& entry : log.trace()) {
            if (entry.member == Member::CommandsVisitCommand)
                visited.push_back(entry.commandIndex);
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
        EXPECT_EQ(visited, dimensions);
        EXPECT_EQ(updates, "RWWRWW");
        EXPECT_EQ(readsOutsideWalks, 0u);
        EXPECT_TRUE(server.application().record().updatesEnabled);

        const auto& counters = server.counters();
        // Every Invoke is one member call, and every member is known.
        EXPECT_EQ(counters.invokes, log.total());
        EXPECT_EQ(counters.unknownMembers, 0u);
        // One enumeration for both walks: one Next per command and one that finds the end.
        EXPECT_EQ(counters.enumeratorNexts, commands.size() + 1);
    });
}

// Without the application's window nothing is requested; without a part program only that is read.
TEST_F(WindowsCli, NoApplicationOrNoPartProgramStopsWithTheLinuxMessage)
{
    const struct {
        const char* snapshot;
        bool window;
        const char* message;
        std::uint64_t partProgramReads;
    } cases[] = {
        {"pump-housing.json", false, "Veltrum is not running. Please start Veltrum and open a part program.\r\n", 0},
        {"no-part-program.json", true, "No part program is open", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.snapshot);
        testserver::ServerOptions options;
        options.showMainWindow = c.window;
        testserver::TestAutomationServer server(source::readSnapshotFile(example(c.snapshot)), options);
        const ProcessResult windows = convertOnWindows(server, {});
        const ProcessResult linux = convertOnLinux(c.window ? std::optional(example(c.snapshot)) : std::nullopt, {});
        EXPECT_EQ(windows.exitCode, 1u);
        EXPECT_NE(windows.err.find(c.message), std::string::npos) << windows.err;
        EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
        EXPECT_EQ(linux.exitCode, 1u);
        EXPECT_EQ(windows.out, "");
        EXPECT_EQ(server.counters().applicationRequests > 0, c.window);
        EXPECT_EQ(server.application().log().count(Member::ApplicationActivePartProgram), c.partProgramReads);
        EXPECT_EQ(directoryState(windowsOut), "");
    }
}

// A refused call stops the run with the member's name, as on Linux: an append leaves the files as
// they were, a full write writes none; UpdatesEnabled is put back either way.
TEST_F(WindowsCli, AFailedCallLeavesTheFilesAndPutsUpdatesEnabledBack)
{
    const struct {
        const char* name;
        Member failing;
        std::vector<std::string> settings;
        bool append;
    } cases[] = {
        {"mid-walk of an append", Member::CommandValueValid, {}, true},
        {"in the full write", Member::CommandCommandType, {"--set", "DFQ=1"}, false},
    };
    const source::ApplicationRecord good = syntheticApplication(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(windowsOut);
        std::filesystem::remove_all(linuxOut);
        std::filesystem::create_directories(windowsOut);
        std::filesystem::create_directories(linuxOut);
        if (c.append) {
            testserver::TestAutomationServer server(good);
            ASSERT_EQ(convertOnWindows(server, c.settings).exitCode, 0u);
            convertOnLinux(snapshotFile(good), c.settings);
        }
        const std::string before = directoryState(windowsOut);
        source::ApplicationRecord failing = good;
        std::size_t failingCommand = failing.activePartProgram->commands.size() / 2;
        while (!failing.activePartProgram->commands[failingCommand].isDimension)
            ++failingCommand;
        failing.activePartProgram->commands[failingCommand].failingReads.add(c.failing);
        testserver::TestAutomationServer server(failing);
        const ProcessResult windows = convertOnWindows(server, c.settings);
        EXPECT_EQ(windows.exitCode, 1u);
        EXPECT_NE(windows.err.find("Cannot read " + std::string(source::memberName(c.failing))), std::string::npos) << windows.err;
        EXPECT_NE(windows.err.find("the measuring application refused the call"), std::string::npos) << windows.err;
        EXPECT_EQ(directoryState(windowsOut), before);
        EXPECT_TRUE(server.application().record().updatesEnabled);
        EXPECT_EQ(server.application().updatesEnabledWrites(), 2);
        const ProcessResult linux = convertOnLinux(snapshotFile(failing), c.settings);
        EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
        EXPECT_EQ(linux.exitCode, 1u);
    }
}

TEST_F(WindowsCli, StoredSettingsComeFromTheRegistry)
{
    config::WindowsRegistrySettingsStore store;
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, config::pathText(windowsOut));
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDfq, "1");
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kNamenslaenge, "1");
    const auto record = syntheticApplication(5);
    testserver::TestAutomationServer server(record);
    const ProcessResult windows = convertOnWindows(server, {}, false);
    EXPECT_EQ(windows.exitCode, 0u) << windows.err;
    EXPECT_EQ(windows.out, "created  " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\nappended " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\n");
    convertOnLinux(snapshotFile(record), {"--set", "DFQ=1", "--set", "NAMENSL\xC3\x84NGE=1"});
    expectSameFiles();
}

TEST_F(WindowsCli, ASnapshotNamedByTheEnvironmentStandsForTheApplication)
{
    const std::filesystem::path snapshot = work / "Schnappschuss \xC3\x84\xC3\x96\xC3\x9C.json";
    std::filesystem::copy_file(example("pump-housing.json"), snapshot);
    ChildProcess child(programDirectory() / "norda-cli.exe", arguments({}), {{L"VELTRUM_SNAPSHOT", snapshot.wstring()}});
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
    const source::ApplicationRecord record = syntheticApplication(1);
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
    ChildProcess application(programDirectory() / "veltrum-test-server.exe", {config::pathText(snapshot), "150"});
    for (int waited = 0; !FindWindowA(testserver::kMainWindowClass, nullptr) && waited < 1000; ++waited)
        Sleep(20);
    ChildProcess cli(programDirectory() / "norda-cli.exe", arguments({}),
                     {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", L"1"}});
    const ProcessResult windows = cli.finish(60000);
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("Veltrum was closed or stopped responding"), std::string::npos) << windows.err;
    // UpdatesEnabled cannot be put back either, and the operator is told.
    EXPECT_NE(windows.err.find("screen updates of the measuring application may still be switched off"), std::string::npos);
    EXPECT_EQ(directoryState(windowsOut), "");
    EXPECT_EQ(application.finish(10000).exitCode, 3u);
}
