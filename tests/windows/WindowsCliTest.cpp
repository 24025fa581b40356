// norda-cli.exe as the operator's machine runs it: the test server stands for the running measuring
// application in this process, norda-cli.exe reaches it through cross-process COM, and every file it
// writes must be byte for byte what the Linux norda-cli writes from the same snapshot under the same
// locale (the small example runs under LC_ALL=de_DE.UTF-8 and en_US.UTF-8, the larger program under
// the German one only, the rest under the English one). Also what support and the measuring PC get:
// a snapshot saved with --save-snapshot, and the release archive unpacked and run.
#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"

#include "config/SettingKeys.h"
#include "config/WindowsRegistrySettingsStore.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <set>

using namespace wintest;
using source::Member;

namespace {

constexpr const char* kNow = "2026-12-05T14:03:12";
constexpr DWORD kServeTime = 600000;
constexpr const wchar_t* kSettingsKey = L"Software\\VB and VBA Program Settings\\VELTRUM_NORDA_KONVERTER\\Settings";

std::filesystem::path example(const std::string& name)
{
    return sourceDirectory() / "examples" / name;
}

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
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
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    std::vector<std::string> arguments(const std::vector<std::string>& settings) const
    {
        std::vector<std::string> all{"--now", kNow, "--set", "DIR=" + config::pathText(windowsOut)};
        all.insert(all.end(), settings.begin(), settings.end());
        return all;
    }

    // A program against the server, which serves while it runs; busySeconds sets its busy budget.
    static ProcessResult againstServer(testserver::TestAutomationServer& server, const std::vector<std::string>& arguments,
                                       const wchar_t* busySeconds = L"",
                                       const std::filesystem::path& program = programDirectory() / "norda-cli.exe")
    {
        ChildProcess child(program, arguments, {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", busySeconds}});
        EXPECT_TRUE(server.serveUntilExit(child.handle(), kServeTime)) << config::pathText(program) << " did not end";
        return child.finish(0);
    }

    ProcessResult convertOnWindows(testserver::TestAutomationServer& server, const std::vector<std::string>& settings,
                                   const wchar_t* busySeconds = L"")
    {
        return againstServer(server, arguments(settings), busySeconds);
    }

    // The Linux norda-cli with the snapshot, with settings of its own.
    ProcessResult convertOnLinux(const std::optional<std::filesystem::path>& snapshot, const std::vector<std::string>& settings)
    {
        std::vector<std::string> command{linuxCli()};
        if (snapshot)
            command.insert(command.end(), {"--snapshot", unixPath(*snapshot)});
        command.insert(command.end(), {"--now", kNow, "--set", "DIR=" + unixPath(linuxOut)});
        command.insert(command.end(), settings.begin(), settings.end());
        return runOnLinux(command, work.path());
    }

    // Converts the snapshot on Windows and linuxSnapshot (the same, unless given) on Linux, a full write
    // and then an append, and compares the files; checkFullWrite sees the server of the full write.
    void convertTwiceOnBoth(const std::filesystem::path& snapshot, const std::vector<std::string>& settings,
                            const std::function<void(testserver::TestAutomationServer&)>& checkFullWrite = {},
                            std::filesystem::path linuxSnapshot = {})
    {
        const source::ApplicationRecord record = source::readSnapshotFile(snapshot);
        if (linuxSnapshot.empty())
            linuxSnapshot = snapshot;
        for (int run = 1; run <= 2; ++run) {
            SCOPED_TRACE("run " + std::to_string(run));
            testserver::TestAutomationServer server(record);
            server.application().log().startTrace();
            const ProcessResult windows = convertOnWindows(server, settings);
            EXPECT_EQ(windows.exitCode, 0u) << windows.err;
            EXPECT_EQ(windows.err, "");
            const ProcessResult linux = convertOnLinux(linuxSnapshot, settings);
            EXPECT_EQ(linux.exitCode, 0u) << linux.err;
            EXPECT_EQ(withoutCarriageReturns(windows.out).substr(0, 8), linux.out.substr(0, 8));
            EXPECT_TRUE(sameFiles(windowsOut, linuxOut));
            if (run == 1 && checkFullWrite)
                checkFullWrite(server);
        }
    }

    TemporaryDirectory work{"norda-cli"};
    std::filesystem::path windowsOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Windows)";
    std::filesystem::path linuxOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Linux)";
};

// The conversions whose files are compared with the Linux ones under a locale of their own.
class WindowsCliFiles : public WindowsCli {};

} // namespace

TEST_F(WindowsCliFiles, SmallExampleMatchesLinux)
{
    convertTwiceOnBoth(testData("small-example.json"), {"--set", "DFQ=1", "--set", "KOMMENTARE=1"});
    // The part name with its umlauts names the file.
    EXPECT_TRUE(std::filesystem::exists(windowsOut / config::pathFromUtf8("Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7.dfq")));
}

// A larger part program, and what the server saw of its full write.
TEST_F(WindowsCliFiles, LargerPartProgramMatchesLinuxAndTheServerRecordsItsCalls)
{
    const std::vector<std::string> settings{"--set", "KOMMENTARE=1", "--set", "POS_ACHSE=1"};
    convertTwiceOnBoth(testData("larger-program.json"), settings, [&](testserver::TestAutomationServer& server) {
        const source::ReadLog& log = server.application().log();

        // VisitCommand once for every dimension, in the value walk, in program order.
        const auto& commands = server.application().record().activePartProgram->commands;
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
        const char* snapshot; // the short program with one refused read of a dimension in the middle
        const char* member;
        std::vector<std::string> settings;
        bool append;
    } cases[] = {
        {"mid-walk of an append", "refused-value-valid.json", "Command.ValueValid", {}, true},
        {"in the full write", "refused-command-type.json", "Command.CommandType", {"--set", "DFQ=1"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(windowsOut);
        std::filesystem::remove_all(linuxOut);
        std::filesystem::create_directories(windowsOut);
        std::filesystem::create_directories(linuxOut);
        if (c.append) {
            testserver::TestAutomationServer server(source::readSnapshotFile(testData("short-program.json")));
            ASSERT_EQ(convertOnWindows(server, c.settings).exitCode, 0u);
            convertOnLinux(testData("short-program.json"), c.settings);
        }
        const std::string before = directoryState(windowsOut);
        testserver::TestAutomationServer server(source::readSnapshotFile(testData(c.snapshot)));
        const ProcessResult windows = convertOnWindows(server, c.settings);
        EXPECT_EQ(windows.exitCode, 1u);
        EXPECT_NE(windows.err.find("Cannot read " + std::string(c.member)), std::string::npos) << windows.err;
        EXPECT_NE(windows.err.find("the measuring application refused the call"), std::string::npos) << windows.err;
        EXPECT_EQ(directoryState(windowsOut), before);
        EXPECT_TRUE(server.application().record().updatesEnabled);
        EXPECT_EQ(server.application().updatesEnabledWrites(), 2);
        const ProcessResult linux = convertOnLinux(testData(c.snapshot), c.settings);
        EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
        EXPECT_EQ(linux.exitCode, 1u);
    }
}

// What the operator's PC gives the program: the stored settings from the registry, and a snapshot
// named by the environment (a path beyond ASCII) standing for the application.
TEST_F(WindowsCli, TakesTheRegistrysSettingsAndTheEnvironmentsSnapshot)
{
    config::WindowsRegistrySettingsStore store;
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDir, config::pathText(windowsOut));
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kDfq, "1");
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, config::setting::kNamenslaenge, "1");
    const std::filesystem::path snapshot = work / "Schnappschuss \xC3\x84\xC3\x96\xC3\x9C.json";
    std::filesystem::copy_file(testData("short-program.json"), snapshot);
    ChildProcess child(programDirectory() / "norda-cli.exe", {"--now", kNow}, {{L"VELTRUM_SNAPSHOT", snapshot.wstring()}});
    const ProcessResult windows = child.finish();
    EXPECT_EQ(windows.exitCode, 0u) << windows.err;
    EXPECT_EQ(windows.out, "created  " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\nappended " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\n");
    convertOnLinux(testData("short-program.json"), {"--set", "DFQ=1", "--set", "NAMENSL\xC3\x84NGE=1"});
    EXPECT_TRUE(sameFiles(windowsOut, linuxOut));
}

// The application rejects incoming calls as busy, as it does at the end of a measurement. Within the
// budget (NORDA_BUSY_SECONDS; the default when it is no whole number of seconds above 0) every
// conversion writes the files of an undisturbed run; past it the run stops with the busy message and
// writes nothing. UpdatesEnabled is back in every case.
TEST_F(WindowsCli, ABusyApplicationIsWaitedForWithinTheBudget)
{
    const source::ApplicationRecord record = source::readSnapshotFile(testData("short-program.json"));
    std::vector<source::ReadLog::Entry> trace;
    std::string undisturbed;
    {
        testserver::TestAutomationServer server(record);
        server.application().log().startTrace();
        const ProcessResult windows = convertOnWindows(server, {}, L"1");
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
        const wchar_t* budget;
        bool withinBudget;
    } cases[] = {
        {"at the connection", 0, 400, SERVERCALL_REJECTED, L"1", true},
        {"at a block start's Id", blockStartId, 400, SERVERCALL_RETRYLATER, L"1", true},
        {"across the end of the walk and the restore", firstRestore - 2, 400, SERVERCALL_REJECTED, L"1", true},
        {"past the budget, then the restore", blockStartId, 1600, SERVERCALL_REJECTED, L"1", false},
        {"a budget of 0 s is the default one", blockStartId, 1600, SERVERCALL_REJECTED, L"0", true},
        {"a budget that is no number is the default one", blockStartId, 1600, SERVERCALL_REJECTED, L"1x", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(windowsOut);
        std::filesystem::create_directories(windowsOut);
        testserver::TestAutomationServer server(record);
        server.beBusy({c.afterMemberCalls, c.milliseconds, c.answer, 0});
        const ProcessResult windows = convertOnWindows(server, {}, c.budget);
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
    ChildProcess application(programDirectory() / "veltrum-test-server.exe", {config::pathText(testData("short-program.json")), "--end-at", "150"});
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

// The program has texts beyond ASCII, refused IDs where no conversion reads them, an empty comment
// (the server sends Null) and a unit code beyond 16 bits (sent as a Long): every member's value comes
// across as the application sends it, and the saved file converts on Linux to the live bytes.
TEST_F(WindowsCli, ASavedSnapshotConvertsOnLinuxToTheBytesOfTheLiveConversion)
{
    const std::filesystem::path saved = work / "Schnappschuss \xC3\xA4\xE6\xB8\xAC.json";
    {
        testserver::TestAutomationServer server(source::readSnapshotFile(testData("wide-texts.json")));
        const ProcessResult result = againstServer(server, {"--save-snapshot", config::pathText(saved)});
        ASSERT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_TRUE(server.application().UpdatesEnabled());
        // Each member is asked by its dispatch identifier and call kind, a method or a property.
        EXPECT_EQ(server.counters().unknownMembers, 0u);
    }
    EXPECT_EQ(source::writeSnapshot(source::readSnapshotFile(saved)),
              source::writeSnapshot(source::readSnapshotFile(testData("wide-texts.json"))));
    convertTwiceOnBoth(testData("wide-texts.json"), {"--set", "KOMMENTARE=1"}, {}, saved);
}

TEST_F(WindowsCli, TheUnpackedArchiveRunsFromAFolderWithABlankAndAnUmlaut)
{
    const std::filesystem::path archive = windowsPath(NORDA_RELEASE_ARCHIVE);
    ASSERT_TRUE(std::filesystem::exists(archive)) << NORDA_RELEASE_ARCHIVE << ": run cpack --preset windows";
    const std::filesystem::path target = work / "Messplatz M\xC3\xBCller";
    std::filesystem::create_directories(target);
    const ProcessResult unpacked = runOnLinux(
        {"/bin/sh", "-c", "cd \"$1\" && \"$2\" -E tar xf \"$3\"", "sh", unixPath(target), NORDA_CMAKE_COMMAND, NORDA_RELEASE_ARCHIVE},
        work.path());
    ASSERT_EQ(unpacked.exitCode, 0u) << unpacked.err;

    const std::string folderName = "norda-converter-" NORDA_VERSION "-win64";
    ASSERT_EQ(namesIn(target), std::set<std::string>{folderName});
    const std::filesystem::path folder = target / folderName;
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"Czech.dll", "English.dll", "French.dll", "German.dll", "Italian.dll",
                                                      "Portuguese.dll", "README.txt", "Spanish.dll", "licences", "norda-cli.exe",
                                                      "resource.dll"}));
    EXPECT_EQ(namesIn(folder / "licences"),
              (std::set<std::string>{"GCC-runtime.txt", "GPL-3.txt", "MinGW-w64.txt", "nlohmann-json.txt"}));
    EXPECT_NE(readBytes(folder / "licences" / "GCC-runtime.txt").find("GCC RUNTIME LIBRARY EXCEPTION"), std::string::npos);
    EXPECT_NE(readBytes(folder / "licences" / "nlohmann-json.txt").find("MIT"), std::string::npos);
    EXPECT_NE(readBytes(folder / "README.txt").find("Norda converter " NORDA_VERSION " for Windows (64-bit)\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(folder / "resource.dll"), readBytes(folder / "English.dll"));

    const ProcessResult help = ChildProcess(folder / "norda-cli.exe", {"--help"}).finish();
    EXPECT_EQ(help.exitCode, 0u) << help.err;
    EXPECT_TRUE(help.out.starts_with("Usage: norda-cli")) << help.out;
    // Its messages come from the language file beside it.
    const ProcessResult alone = ChildProcess(folder / "norda-cli.exe", {}, {{L"VELTRUM_SNAPSHOT", L""}}).finish();
    EXPECT_EQ(alone.exitCode, 1u);
    EXPECT_TRUE(alone.err.starts_with("Veltrum is not running.")) << alone.err;

    // One conversion from there writes what the build's norda-cli.exe writes.
    const source::ApplicationRecord record = source::readSnapshotFile(testData("wide-texts.json"));
    const std::filesystem::path fromBuild = work / "Ausgabe (Build)";
    std::filesystem::create_directories(fromBuild);
    for (const auto& [program, directory] : {std::pair{folder / "norda-cli.exe", windowsOut},
                                            std::pair{programDirectory() / "norda-cli.exe", fromBuild}}) {
        testserver::TestAutomationServer server(record);
        const std::vector<std::string> conversion{"--now", kNow, "--set", "DIR=" + config::pathText(directory)};
        const ProcessResult result = againstServer(server, conversion, L"", program);
        ASSERT_EQ(result.exitCode, 0u) << config::pathText(program) << ": " << result.err;
    }
    EXPECT_TRUE(sameFiles(windowsOut, fromBuild));
}
