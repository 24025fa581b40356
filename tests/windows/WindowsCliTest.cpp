// norda-cli.exe as the operator's machine runs it: the test server stands for the running measuring
// application in this process, norda-cli.exe reaches it through cross-process COM, and what it prints
// and writes must be what the Linux norda-cli prints and writes from the same snapshot under the same
// locale (the small example runs under LC_ALL=de_DE.UTF-8 and en_US.UTF-8, the larger program under
// the German one only, the rest under the English one). A snapshot saved with --save-snapshot holds
// every member's value as the application sent it (the case saved-snapshot: the wide texts have texts
// beyond ASCII, refused IDs where no conversion reads them, an empty comment the server sends as Null
// and a unit code beyond 16 bits, sent as a Long). Also what the measuring PC gets: its settings in the
// registry, and the release archive unpacked and run.
#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"

#include "config/SettingKeys.h"
#include "config/WindowsRegistrySettingsStore.h"
#include "platform/WindowsText.h"
#include "source/Snapshot.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <optional>

using namespace testing_support;
using namespace wintest;
using nlohmann::json;
using source::Member;

namespace {

constexpr const char* kNow = "2026-12-05T14:03:12";
constexpr DWORD kServeTime = 600000;
constexpr const wchar_t* kSettingsKey = L"Software\\VB and VBA Program Settings\\VELTRUM_NORDA_KONVERTER\\Settings";

std::string withoutCarriageReturns(std::string text)
{
    std::erase(text, '\r');
    return text;
}

// What every run shows the server, whatever its end: each Invoke is one call of a known member; the
// application is asked for exactly when its window is there; the commands are read only while the
// screen updates are off (read, put false and put back around each walk), and they are on again at
// the end. A run that succeeds visits every dimension once, in program order, in one enumeration.
void expectCallsOfOneRun(testserver::TestAutomationServer& server, bool window, bool succeeded)
{
    const source::ReadLog& log = server.application().log();
    const testserver::ServerCounters& counters = server.counters();
    EXPECT_EQ(counters.invokes, log.total());
    EXPECT_EQ(counters.unknownMembers, 0u);
    EXPECT_EQ(counters.applicationRequests > 0, window);
    EXPECT_TRUE(server.application().record().updatesEnabled);

    std::string updates;
    bool suspended = false;
    std::size_t readsOutsideWalks = 0;
    std::vector<std::uint32_t> visited;
    for (const auto& entry : log.trace()) {
        if (entry.member == Member::CommandsVisitCommand)
            visited.push_back(entry.commandIndex);
        if (entry.member == Member::ApplicationUpdatesEnabled) {
            updates += "R";
        } else if (entry.member == Member::ApplicationSetUpdatesEnabled) {
            updates += "W";
            suspended = !suspended;
        } else if (source::objectOf(entry.member) == source::ModelObject::Command ||
                   source::objectOf(entry.member) == source::ModelObject::DimensionData) {
            readsOutsideWalks += suspended ? 0 : 1;
        }
    }
    EXPECT_EQ(readsOutsideWalks, 0u);
    for (std::size_t walk = 0; walk < updates.size(); walk += 3)
        EXPECT_EQ(updates.substr(walk, 3), "RWW") << updates;
    if (!succeeded)
        return;
    const auto& commands = server.application().record().activePartProgram->commands;
    std::vector<std::uint32_t> dimensions;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        if (commands[i].isDimension)
            dimensions.push_back(static_cast<std::uint32_t>(i));
    }
    EXPECT_EQ(visited, dimensions);
    EXPECT_EQ(counters.enumeratorNexts, commands.size() + 1);
}

// A program of the build (norda-cli.exe, the test server), with the language files beside it.
std::filesystem::path built(const std::string& program)
{
    return windowsPath(NORDA_PROGRAM_DIR) / program;
}

class WindowsCli : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testserver::TestAutomationServer::registerProgrammaticId();
    }

    void SetUp() override
    {
        ASSERT_FALSE(std::string(NORDA_LINUX_CLI).empty()) << "configure with NORDA_LINUX_CLI naming the Linux norda-cli";
        RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
        std::filesystem::create_directories(windowsOut);
        std::filesystem::create_directories(linuxOut);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey); }

    // A conversion at the fixed time into the output folder as the program names it, with the settings;
    // "{out}" in them stands for that folder.
    static std::vector<std::string> arguments(const std::string& out, std::vector<std::string> settings)
    {
        settings.insert(settings.begin(), {"--now", kNow, "--set", "DIR={out}"});
        for (auto& setting : settings) {
            if (const auto at = setting.find("{out}"); at != std::string::npos)
                setting.replace(at, 5, out);
        }
        return settings;
    }

    // A program against the server, which serves while it runs; busySeconds sets its busy budget.
    static ProcessResult againstServer(testserver::TestAutomationServer& server, const std::vector<std::string>& arguments,
                                       const std::wstring& busySeconds = L"")
    {
        ChildProcess child(built("norda-cli.exe"), arguments, {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", busySeconds}});
        EXPECT_TRUE(server.serveUntilExit(child.handle(), kServeTime)) << "norda-cli.exe did not end";
        return child.finish(0);
    }

    // The Linux norda-cli with the snapshot (none: no application), with settings of its own.
    ProcessResult convertOnLinux(const std::optional<std::filesystem::path>& snapshot, const std::vector<std::string>& settings)
    {
        std::vector<std::string> command = arguments(unixPath(linuxOut), settings);
        if (snapshot)
            command.insert(command.begin(), {"--snapshot", unixPath(*snapshot)});
        command.insert(command.begin(), NORDA_LINUX_CLI);
        return runOnLinux(command);
    }

    TemporaryDirectory work;
    std::filesystem::path windowsOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Windows)";
    std::filesystem::path linuxOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Linux)";
};

// One case per file in tests/data/windows/cases: runs of norda-cli.exe, each against a server of its
// snapshot ("window": false without the application's window; "busy" rejects calls for a time from the
// given call of a member on, counted in an undisturbed run, moved by "shift" calls; "budget" is
// NORDA_BUSY_SECONDS) and its settings ("{out}" stands for the output folder), with its exit
// status, a text its standard error holds ("stderr"; a run that succeeds prints none) and, unless
// "linux" is false, the Linux norda-cli's status and messages. A run that succeeds writes the Linux
// one's files, one that fails leaves the files as they were.
class WindowsCliCase : public WindowsCli, public ::testing::WithParamInterface<std::filesystem::path> {
protected:
    std::uint64_t busyStart(const source::ApplicationRecord& record, const json& busy, const std::vector<std::string>& settings)
    {
        testserver::TestAutomationServer server(record);
        server.application().log().startTrace();
        const TemporaryDirectory undisturbed;
        EXPECT_EQ(againstServer(server, arguments(config::pathText(undisturbed.path()), settings), L"1").exitCode, 0u);
        const auto& trace = server.application().log().trace();
        int occurrence = busy.value("occurrence", 1);
        for (std::size_t i = 0; i < trace.size(); ++i) {
            if (source::memberName(trace[i].member) == busy.at("member").get<std::string>() && --occurrence == 0)
                return static_cast<std::uint64_t>(static_cast<std::int64_t>(i) + busy.value("shift", 0));
        }
        ADD_FAILURE() << busy.dump() << " is not read";
        return 0;
    }
};

std::vector<std::filesystem::path> caseFiles()
{
    std::vector<std::filesystem::path> files(std::filesystem::directory_iterator(testData("cases")), {});
    std::ranges::sort(files);
    return files;
}

} // namespace

TEST_P(WindowsCliCase, PrintsAndWritesWhatLinuxDoes)
{
    const json test = json::parse(readBytes(GetParam()));
    testserver::ServerOptions options;
    options.showMainWindow = test.value("window", true);
    for (const json& run : test.at("runs")) {
        SCOPED_TRACE(run.dump());
        const std::filesystem::path snapshot = testData(run.value("snapshot", test.at("snapshot").get<std::string>()));
        const auto settings = run.value("settings", std::vector<std::string>{});
        const std::wstring budget = config::wideFromUtf8(run.value("budget", ""));
        const source::ApplicationRecord record = source::readSnapshotFile(snapshot);
        const json busy = run.value("busy", json::object());
        const std::uint64_t busyFrom = busy.contains("member") ? busyStart(record, busy, settings) : 0;
        testserver::TestAutomationServer server(record, options);
        if (!busy.empty()) {
            const DWORD answer = busy.value("retryLater", false) ? SERVERCALL_RETRYLATER : SERVERCALL_REJECTED;
            server.beBusy({busyFrom, busy.at("milliseconds").get<DWORD>(), answer, 0});
        }
        server.application().log().startTrace();
        const DirectoryBytes before = contentsOf(windowsOut);

        const ProcessResult windows = againstServer(server, arguments(config::pathText(windowsOut), settings), budget);
        EXPECT_EQ(windows.exitCode, run.at("exit").get<DWORD>()) << windows.err;
        EXPECT_NE(windows.err.find(run.value("stderr", "")), std::string::npos) << windows.err;
        expectCallsOfOneRun(server, options.showMainWindow, windows.exitCode == 0);
        if (run.contains("memberCalls")) {
            EXPECT_EQ(server.application().log().total(), run["memberCalls"].get<std::uint64_t>());
        }
        if (!busy.empty()) {
            EXPECT_GT(server.counters().rejectedCalls, 0u);
        }
        if (windows.exitCode == 0) {
            EXPECT_EQ(windows.err, "");
        } else {
            EXPECT_EQ(windows.out, "");
            EXPECT_EQ(contentsOf(windowsOut), before);
        }
        if (!run.value("linux", true))
            continue;
        const ProcessResult linux = convertOnLinux(options.showMainWindow ? std::optional(snapshot) : std::nullopt, settings);
        EXPECT_EQ(linux.exitCode, windows.exitCode) << linux.err;
        EXPECT_EQ(withoutCarriageReturns(windows.err), linux.err);
        EXPECT_EQ(withoutCarriageReturns(windows.out).substr(0, 8), linux.out.substr(0, 8));
        if (windows.exitCode == 0) {
            EXPECT_TRUE(sameFiles(windowsOut, linuxOut));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WindowsCliCase, ::testing::ValuesIn(caseFiles()), [](const auto& info) {
    std::string name = info.param.stem().string();
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

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
    ChildProcess child(built("norda-cli.exe"), {"--now", kNow}, {{L"VELTRUM_SNAPSHOT", snapshot.wstring()}});
    const ProcessResult windows = child.finish();
    EXPECT_EQ(windows.exitCode, 0u) << windows.err;
    EXPECT_EQ(windows.out, "created  " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\nappended " + config::pathText(windowsOut / "Getriebe.dfq") + "\r\n");
    convertOnLinux(testData("short-program.json"), {"--set", "DFQ=1", "--set", "NAMENSL\xC3\x84NGE=1"});
    EXPECT_TRUE(sameFiles(windowsOut, linuxOut));
}

// The application ends in the middle of the walk: the run stops at once with the message for it.
TEST_F(WindowsCli, AnApplicationThatEndsMidWalkIsReportedAsClosed)
{
    ChildProcess application(built("veltrum-test-server.exe"), {config::pathText(testData("short-program.json")), "--end-at", "150"});
    for (int waited = 0; !FindWindowA(testserver::kMainWindowClass, nullptr) && waited < 1000; ++waited)
        Sleep(20);
    const ProcessResult windows = ChildProcess(built("norda-cli.exe"), arguments(config::pathText(windowsOut), {}),
                                               {{L"VELTRUM_SNAPSHOT", L""}, {L"NORDA_BUSY_SECONDS", L"1"}}).finish(60000);
    EXPECT_EQ(windows.exitCode, 1u);
    EXPECT_NE(windows.err.find("Veltrum was closed or stopped responding"), std::string::npos) << windows.err;
    // UpdatesEnabled cannot be put back either, and the operator is told.
    EXPECT_NE(windows.err.find("screen updates of the measuring application may still be switched off"), std::string::npos);
    EXPECT_EQ(namesIn(windowsOut), "");
    EXPECT_EQ(application.finish(10000).exitCode, 3u);
}

TEST_F(WindowsCli, TheUnpackedArchiveRunsFromAFolderWithABlankAndAnUmlaut)
{
    const std::filesystem::path archive = windowsPath(NORDA_RELEASE_ARCHIVE);
    ASSERT_TRUE(std::filesystem::exists(archive)) << NORDA_RELEASE_ARCHIVE << ": run cpack --preset windows";
    const std::filesystem::path target = work / "Messplatz M\xC3\xBCller";
    std::filesystem::create_directories(target);
    const ProcessResult unpacked = runOnLinux(
        {"/bin/sh", "-c", "cd \"$1\" && \"$2\" -E tar xf \"$3\"", "sh", unixPath(target), NORDA_CMAKE_COMMAND, NORDA_RELEASE_ARCHIVE});
    ASSERT_EQ(unpacked.exitCode, 0u) << unpacked.err;

    const std::string folderName = "norda-converter-" NORDA_VERSION "-win64";
    ASSERT_EQ(namesIn(target), folderName);
    const std::filesystem::path folder = target / folderName;
    EXPECT_EQ(namesIn(folder), "Czech.dll English.dll French.dll German.dll Italian.dll Portuguese.dll README.txt Spanish.dll "
                               "licences norda-cli.exe resource.dll");
    EXPECT_EQ(namesIn(folder / "licences"), "GCC-runtime.txt GPL-3.txt MinGW-w64.txt nlohmann-json.txt");
    EXPECT_NE(readBytes(folder / "licences" / "GCC-runtime.txt").find("GCC RUNTIME LIBRARY EXCEPTION"), std::string::npos);
    EXPECT_NE(readBytes(folder / "licences" / "nlohmann-json.txt").find("MIT"), std::string::npos);
    EXPECT_NE(readBytes(folder / "README.txt").find("Norda converter " NORDA_VERSION " for Windows (64-bit)\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(folder / "resource.dll"), readBytes(folder / "English.dll"));

    // It starts from there, and its messages come from the language file beside it.
    const ProcessResult alone = ChildProcess(folder / "norda-cli.exe", {}, {{L"VELTRUM_SNAPSHOT", L""}}).finish();
    EXPECT_EQ(alone.exitCode, 1u);
    EXPECT_TRUE(alone.err.starts_with("Veltrum is not running.")) << alone.err;
}
