#include "support/Files.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;

namespace {

const std::filesystem::path kCli = std::filesystem::path(NORDA_PROGRAM_DIR) / "norda-cli";
const std::filesystem::path kExamples = std::filesystem::path(NORDA_SOURCE_DIR) / "examples";

class Cli : public ::testing::Test {
protected:
    TemporaryDirectory out;
    TemporaryDirectory config;
    std::map<std::string, std::string> environment{{"LC_ALL", "en_US.UTF-8"}, {"VELTRUM_SNAPSHOT", ""}, {"NORDA_CODEPAGE", ""}};

    void SetUp() override { environment["XDG_CONFIG_HOME"] = config.path().string(); }

    ProcessResult convert(const std::string& snapshot, std::vector<std::string> arguments = {})
    {
        std::vector<std::string> all{"--snapshot", (kExamples / snapshot).string(), "--set", "DIR=" + out.path().string(),
                                     "--now", "2026-12-05T14:03:12"};
        all.insert(all.end(), arguments.begin(), arguments.end());
        return runProcess(kCli, all, environment);
    }

    std::string file(const std::string& name) { return readBytes(out / name); }
    std::string golden(const std::string& name) { return readBytes(testDataDir() / "golden" / name); }
};

} // namespace

TEST_F(Cli, FirstRunWritesDescriptionAndValues)
{
    const auto result = convert("pump-housing.json", {"--set", "KOMMENTARE=1"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "created  " + (out / "PUMP HOUSING A1.dfd").string() + "\nappended " +
                              (out / "PUMP HOUSING A1.dfx").string() + "\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(file("PUMP HOUSING A1.dfd"), golden("cli/pump-housing.dfd"));
    EXPECT_EQ(file("PUMP HOUSING A1.dfx"), golden("example-values-point.dfx"));
    EXPECT_EQ(out.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
}

TEST_F(Cli, SecondRunAppendsExactlyOneBlock)
{
    convert("pump-housing.json");
    const std::string description = file("PUMP HOUSING A1.dfd");
    const auto result = convert("pump-housing.json");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out, "appended " + (out / "PUMP HOUSING A1.dfx").string() + "\n");
    const std::string block = golden("example-values-point.dfx");
    EXPECT_EQ(file("PUMP HOUSING A1.dfx"), block + block);
    EXPECT_EQ(file("PUMP HOUSING A1.dfd"), description);
}

TEST_F(Cli, CombinedModeTwice)
{
    convert("pump-housing.json", {"--set", "DFQ=1", "--set", "KOMMENTARE=1"});
    const auto result = convert("pump-housing.json", {"--set", "DFQ=1", "--set", "KOMMENTARE=1"});
    EXPECT_EQ(result.exitCode, 0);
    const std::string block = golden("example-values-point.dfx");
    EXPECT_EQ(file("PUMP HOUSING A1.dfq"), golden("cli/pump-housing.dfd") + block + block);
    EXPECT_EQ(out.listing(), "PUMP HOUSING A1.dfq");
}

TEST_F(Cli, WritesTheRegionalDecimalSeparator)
{
    environment["LC_ALL"] = "de_DE.UTF-8";
    convert("pump-housing.json");
    EXPECT_NE(file("PUMP HOUSING A1.dfd").find("K2101/1 25,00000\r\n"), std::string::npos);
    EXPECT_EQ(file("PUMP HOUSING A1.dfx").substr(0, 7), "25,0312");
}

TEST_F(Cli, NamesFilesAsTheSettingsSay)
{
    environment["LC_ALL"] = "de_DE.UTF-8";
    const std::vector<std::pair<std::vector<std::string>, std::string>> rows{
        {{}, "PUMP HOUSING A1.dfd"},
        {{"--set", "SERIENNUMMER=1"}, "4711.dfd"},
        {{"--set", "NAMENSL\xC3\x84NGE=1"}, "PUMP HOU.dfd"},
        {{"--set", "VersionInFileName=1"}, "PUMP HOUSING A1_B.dfd"},
        {{"--set", "SingleFile=1"}, "PUMP HOUSING A1_05.12.2026_14.03.12.dfd"},
        {{"--set", "VersionInFileName=1", "--set", "SingleFile=1"}, "PUMP HOUSING A1_B_05.12.2026_14.03.12.dfd"},
    };
    for (const auto& [settings, name] : rows) {
        SCOPED_TRACE(name);
        std::filesystem::remove_all(out.path());
        std::filesystem::create_directories(out.path());
        const auto result = convert("pump-housing.json", settings);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_TRUE(std::filesystem::exists(out / name)) << out.listing();
    }
}

TEST_F(Cli, StopsWithoutTouchingFilesWhenThereIsNothingToConvert)
{
    writeBytes(out / "keep.dfx", "x");
    auto notRunning = runProcess(kCli, {"--set", "DIR=" + out.path().string()}, environment);
    EXPECT_EQ(notRunning.exitCode, 1);
    EXPECT_EQ(notRunning.err, "Veltrum is not running. Please start Veltrum and open a part program.\n");
    const auto noProgram = convert("no-part-program.json");
    EXPECT_EQ(noProgram.exitCode, 1);
    EXPECT_NE(noProgram.err.find("No part program is open"), std::string::npos);
    EXPECT_EQ(out.listing(), "keep.dfx");
}

TEST_F(Cli, ReadsTheSnapshotFromTheEnvironment)
{
    environment["VELTRUM_SNAPSHOT"] = (kExamples / "pump-housing.json").string();
    const auto result = runProcess(kCli, {"--set", "DIR=" + out.path().string()}, environment);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(out.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
}

TEST_F(Cli, ReportsAMissingOutputDirectory)
{
    const auto result = runProcess(kCli, {"--snapshot", (kExamples / "pump-housing.json").string(), "--set",
                                          "DIR=" + (out / "nowhere").string()}, environment);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error: Cannot write into the output directory \"" + (out / "nowhere").string() +
                              "\": the directory does not exist\n");
    EXPECT_EQ(out.listing(), "");
}

TEST_F(Cli, KeepsHostilePartNamesInsideTheOutputDirectory)
{
    TemporaryDirectory snapshots;
    std::ofstream(snapshots / "hostile.json")
        << R"({"activePartProgram": {"partName": "../escape\\here", "fileName": "X.PRG", "commands": []}})";
    const auto result = runProcess(kCli, {"--snapshot", (snapshots / "hostile.json").string(), "--set",
                                          "DIR=" + out.path().string()}, environment);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(out.listing(), ".._escape_here.dfd .._escape_here.dfx");
}

TEST_F(Cli, HonoursTheStoredSettings)
{
    std::ofstream(config / "VELTRUM_NORDA_KONVERTER.ini") << "[Settings]\nDIR=" << out.path().string() << "\nDFQ=1\n";
    const auto result = runProcess(kCli, {"--snapshot", (kExamples / "pump-housing.json").string()}, environment);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(out.listing(), "PUMP HOUSING A1.dfq");
    EXPECT_EQ(readBytes(config / "VELTRUM_NORDA_KONVERTER.ini"), "[Settings]\nDIR=" + out.path().string() + "\nDFQ=1\n");
}

TEST_F(Cli, ExplainsUsageErrors)
{
    const auto result = runProcess(kCli, {"--set", "COLOUR=red"}, environment);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("\"COLOUR\" is not a setting"), std::string::npos);
    EXPECT_NE(result.err.find("Usage: norda-cli"), std::string::npos);
    const auto help = runProcess(kCli, {"--help"}, environment);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("Exit status"), std::string::npos);
}

TEST_F(Cli, RefusesAnUnusableLanguageFile)
{
    TemporaryDirectory texts;
    writeBytes(texts / "short.dll", "only\r\nthree\r\nlines\r\n");
    const auto result = convert("pump-housing.json", {"--texts", (texts / "short.dll").string()});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find("short.dll"), std::string::npos);
    EXPECT_EQ(out.listing(), "");
}

TEST_F(Cli, ReportsAMalformedSnapshot)
{
    TemporaryDirectory snapshots;
    writeBytes(snapshots / "broken.json", "{\"activePartProgram\": {\"commands\": [}");
    const auto result = runProcess(kCli, {"--snapshot", (snapshots / "broken.json").string(), "--set", "DIR=" + out.path().string()},
                                   environment);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("broken.json"), std::string::npos);
    EXPECT_NE(result.err.find("line 1, column 37"), std::string::npos) << result.err;
    EXPECT_EQ(out.listing(), "");
}
