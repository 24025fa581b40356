// What support and the measuring PC get: norda-cli.exe --save-snapshot against the test server (the
// Linux norda-cli converting that file must write the bytes norda-cli.exe writes from the live
// server), and the release archive unpacked into a fresh folder and run from there.
#include "TestAutomationServer.h"
#include "WindowsTestSupport.h"

#include "source/Snapshot.h"

#include <gtest/gtest.h>

#include <set>

using namespace wintest;
using source::Member;

namespace {

constexpr const char* kNow = "2026-12-05T14:03:12";
constexpr DWORD kServeTime = 600000;

// The gearbox example with texts beyond ASCII (umlauts, a Polish and a Japanese character in the part
// name and the comments), a refused ID where no conversion reads it, and a number that converts
// under every locale.
source::ApplicationRecord partProgramWithWideTexts()
{
    source::ApplicationRecord record = source::readSnapshotFile(sourceDirectory() / "examples" / "gearbox-cover.json");
    source::PartProgramRecord& program = *record.activePartProgram;
    program.partName = "Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7 \xC5\x82 \xE6\xB8\xAC";
    program.directory = "D:\\Messdaten \xC3\x9C" "bersicht";
    for (auto& command : program.commands) {
        if (command.comment)
            command.comment->text = "Pr\xC3\xBC" "fung \xC5\x82\xC3\xBC" "cke \xE6\xB8\xAC\xE5\xAE\x9A " + command.comment->text;
        if (command.namedValue && command.namedValue->name == "K2404")
            command.namedValue->value = "3";
        if (command.commandType == 1106) {
            command.failingReads.add(Member::CommandId);
            command.id.clear();
        }
    }
    return record;
}

std::set<std::string> namesIn(const std::filesystem::path& directory)
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory))
        names.insert(config::pathText(entry.path().filename()));
    return names;
}

class SupportRelease : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        testserver::TestAutomationServer::registerProgrammaticId();
        SetEnvironmentVariableW(L"VELTRUM_SNAPSHOT", nullptr);
    }
    void SetUp() override
    {
        for (const auto& directory : {windowsOut, linuxOut, work / "linux-config"})
            std::filesystem::create_directories(directory);
    }

    // A program against the server, which serves while it runs.
    static ProcessResult againstServer(testserver::TestAutomationServer& server, const std::filesystem::path& program,
                                       const std::vector<std::string>& arguments)
    {
        ChildProcess child(program, arguments, {{L"VELTRUM_SNAPSHOT", L""}});
        EXPECT_TRUE(server.serveUntilExit(child.handle(), kServeTime)) << config::pathText(program) << " did not end";
        return child.finish(0);
    }

    static std::vector<std::string> conversion(const std::string& directory)
    {
        return {"--now", kNow, "--set", "DIR=" + directory, "--set", "KOMMENTARE=1"};
    }

    // A Linux command through the shell, which passes on its output and exit status; Wine does neither
    // for a Linux program, nor does its process handle wait for the end.
    ProcessResult onLinux(const std::vector<std::string>& command)
    {
        const std::filesystem::path capture = work / "linux-capture";
        std::filesystem::create_directories(capture);
        std::filesystem::remove_all(capture / "status");
        std::vector<std::string> all{"-c", "out=$1 err=$2 status=$3; shift 3; env -i \"$@\" >\"$out\" 2>\"$err\"; "
                                           "echo $? >\"$status.part\"; mv \"$status.part\" \"$status\"",
                                     "sh", unixPath(capture) + "/out", unixPath(capture) + "/err", unixPath(capture) + "/status",
                                     "LC_ALL=en_US.UTF-8", "HOME=" + unixPath(work.path()),
                                     "XDG_CONFIG_HOME=" + unixPath(work / "linux-config")};
        all.insert(all.end(), command.begin(), command.end());
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
    void expectSameFiles(const std::filesystem::path& actual, const std::filesystem::path& expected)
    {
        const std::set<std::string> names = namesIn(expected);
        ASSERT_EQ(namesIn(actual), names);
        ASSERT_FALSE(names.empty());
        for (const auto& name : names)
            EXPECT_TRUE(readBytes(actual / config::pathFromUtf8(name)) == readBytes(expected / config::pathFromUtf8(name))) << name << " differs";
    }

    TemporaryDirectory work{"norda-support"};
    std::filesystem::path windowsOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Windows)";
    std::filesystem::path linuxOut = work / "Ausgabe Pr\xC3\xBC" "fstand \xC3\x84 (Linux)";
};

} // namespace

TEST_F(SupportRelease, SavedSnapshotConvertsOnLinuxToTheBytesOfTheLiveConversion)
{
    ASSERT_FALSE(linuxCli().empty()) << "configure with NORDA_LINUX_CLI naming the Linux norda-cli";
    const source::ApplicationRecord record = partProgramWithWideTexts();
    const std::filesystem::path saved = work / "Schnappschuss \xC3\xA4\xE6\xB8\xAC.json";
    {
        testserver::TestAutomationServer server(record);
        const ProcessResult result = againstServer(server, programDirectory() / "norda-cli.exe", {"--save-snapshot", config::pathText(saved)});
        ASSERT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(result.out + result.err, "");
        EXPECT_TRUE(server.application().UpdatesEnabled());
    }
    // Everything the conversion reads came across, the wide texts and the refused IDs included.
    EXPECT_EQ(source::writeSnapshot(source::readSnapshotFile(saved)), source::writeSnapshot(record));

    for (int run = 1; run <= 2; ++run) { // a full write, then an append
        SCOPED_TRACE("run " + std::to_string(run));
        testserver::TestAutomationServer server(record);
        const ProcessResult windows = againstServer(server, programDirectory() / "norda-cli.exe", conversion(config::pathText(windowsOut)));
        ASSERT_EQ(windows.exitCode, 0u) << windows.err;
        std::vector<std::string> linux{linuxCli(), "--snapshot", unixPath(saved)};
        const auto settings = conversion(unixPath(linuxOut));
        linux.insert(linux.end(), settings.begin(), settings.end());
        const ProcessResult fromFile = onLinux(linux);
        ASSERT_EQ(fromFile.exitCode, 0u) << fromFile.err;
        expectSameFiles(linuxOut, windowsOut);
    }
}

TEST_F(SupportRelease, RefusedReadMidwayLeavesNoSnapshot)
{
    source::ApplicationRecord record = partProgramWithWideTexts();
    record.activePartProgram->commands.at(12).dimensionData->failingReads.add(Member::DimensionDataMeasured);
    testserver::TestAutomationServer server(record);
    const ProcessResult result =
        againstServer(server, programDirectory() / "norda-cli.exe", {"--save-snapshot", config::pathText(windowsOut / "snapshot.json")});
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_NE(result.err.find("DimensionData.Measured of command 13"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_empty(windowsOut)) << work.listing();
    EXPECT_TRUE(server.application().UpdatesEnabled());
}

TEST_F(SupportRelease, UnpackedArchiveRunsFromAFolderWithABlankAndAnUmlaut)
{
    const std::filesystem::path archive = windowsPath(NORDA_RELEASE_ARCHIVE);
    ASSERT_TRUE(std::filesystem::exists(archive)) << NORDA_RELEASE_ARCHIVE << ": run cpack --preset windows";
    const std::filesystem::path target = work / "Messplatz M\xC3\xBCller";
    std::filesystem::create_directories(target);
    const ProcessResult unpacked =
        onLinux({"/bin/sh", "-c", "cd \"$1\" && \"$2\" -E tar xf \"$3\"", "sh", unixPath(target), NORDA_CMAKE_COMMAND, NORDA_RELEASE_ARCHIVE});
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
    const source::ApplicationRecord record = partProgramWithWideTexts();
    const std::filesystem::path fromBuild = work / "Ausgabe (Build)";
    std::filesystem::create_directories(fromBuild);
    for (const auto& [program, directory] : {std::pair{folder / "norda-cli.exe", windowsOut},
                                            std::pair{programDirectory() / "norda-cli.exe", fromBuild}}) {
        testserver::TestAutomationServer server(record);
        const ProcessResult result = againstServer(server, program, conversion(config::pathText(directory)));
        ASSERT_EQ(result.exitCode, 0u) << config::pathText(program) << ": " << result.err;
    }
    expectSameFiles(windowsOut, fromBuild);
}
