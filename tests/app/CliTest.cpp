// norda-cli as a process: what it writes and prints, and the exit status of each kind of refusal.
#include "support/CliFixture.h"

#include <fstream>

using namespace testing_support;

namespace {

class Cli : public CliFixture {};

} // namespace

TEST_F(Cli, WritesDescriptionAndValuesFirstAndAppendsAfterwards)
{
    const auto first = convert(kPumpSnapshot, {"--set", "KOMMENTARE=1"});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(first.out, "created  " + (out / "PUMP HOUSING A1.dfd").string() + "\nappended " +
                             (out / "PUMP HOUSING A1.dfx").string() + "\n");
    EXPECT_EQ(first.err, "");
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfd"), golden("cli/pump-housing.dfd"));
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfx"), golden("example-values-point.dfx"));
    const auto second = convert(kPumpSnapshot, {"--set", "KOMMENTARE=1"});
    EXPECT_EQ(second.out, "appended " + (out / "PUMP HOUSING A1.dfx").string() + "\n");
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfx"), golden("example-values-point.dfx") + golden("example-values-point.dfx"));
    expectNothingOutsideTheOutputDirectory();
}

TEST_F(Cli, WritesTheRegionalDecimalSeparator)
{
    options.environment["LC_ALL"] = "de_DE.UTF-8";
    convert(kPumpSnapshot);
    EXPECT_NE(readBytes(out / "PUMP HOUSING A1.dfd").find("K2101/1 25,00000\r\n"), std::string::npos);
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfx").substr(0, 7), "25,0312");
}

TEST_F(Cli, ReadsTheSnapshotFromTheEnvironmentAndTheStoredSettings)
{
    std::ofstream(root / "config" / "VELTRUM_NORDA_KONVERTER.ini") << "[Settings]\nDIR=" << out.string() << "\nDFQ=1\n";
    options.environment["VELTRUM_SNAPSHOT"] = kPumpSnapshot.string();
    const auto result = cli({});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(contentsOf(out).size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(out / "PUMP HOUSING A1.dfq"));
    EXPECT_EQ(readBytes(root / "config" / "VELTRUM_NORDA_KONVERTER.ini"), "[Settings]\nDIR=" + out.string() + "\nDFQ=1\n");
}

TEST_F(Cli, GarblesTheTextsOfALanguageFileInUtf16ButNoTransferFile)
{
    std::string utf16 = "\xFF\xFE";
    for (const char c : readBytes(std::filesystem::path(NORDA_PROGRAM_DIR) / "English.dll"))
        utf16 += std::string{c, '\0'};
    writeBytes(in / "utf16.dll", utf16);
    const auto result = convert(kPumpSnapshot, {"--texts", (in / "utf16.dll").string()});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfx"), golden("example-values-point.dfx"));
}

TEST_F(Cli, KeepsHostilePartNamesInsideTheOutputDirectory)
{
    writeBytes(in / "hostile.json", R"({"activePartProgram": {"partName": "../../escape\\here", "fileName": "X.PRG", "commands": []}})");
    const auto result = convert(in / "hostile.json");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(contentsOf(out).size(), 2u);
    EXPECT_TRUE(std::filesystem::exists(out / ".._.._escape_here.dfx"));
    expectNothingOutsideTheOutputDirectory();
}

TEST_F(Cli, RefusesWhatItCannotUseWithItsExitStatusAndWritesNothing)
{
    writeBytes(in / "broken.json", "{\"activePartProgram\": {\"commands\": [}");
    writeBytes(in / "short.dll", "only\r\nthree\r\nlines\r\n");
    writeBytes(in / "long.json", R"({"activePartProgram": {"partName": ")" + std::string(300, 'N') + R"(", "commands": []}})");
    struct Row {
        std::vector<std::string> arguments;
        int exitCode;
        std::string printed; // the start of standard error, or of standard output after --help
    };
    const std::vector<Row> rows{
        {{"--set", "DIR=" + out.string()}, 1, "Veltrum is not running. Please start Veltrum and open a part program.\n"},
        {arguments(std::filesystem::path(NORDA_SOURCE_DIR) / "examples" / "no-part-program.json"), 1, "No part program is open"},
        {arguments(in / "broken.json"),
         1,
         "Error: Cannot read the snapshot \"" + (in / "broken.json").string() + "\": parse error at line 1, column 37"},
        {arguments(in / "long.json"), 1, "Error: Cannot "},
        {arguments(kPumpSnapshot, {"--texts", (in / "short.dll").string()}),
         2,
         "norda-cli: Cannot use the language file \"" + (in / "short.dll").string() + "\": it has 3 lines, 165 are needed\n"},
        {{"--set", "COLOUR=red"}, 2, "norda-cli: --set: \"COLOUR\" is not a setting"},
        {{"--help"}, 0, "Usage: norda-cli"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.printed);
        const auto result = cli(row.arguments);
        EXPECT_EQ(result.exitCode, row.exitCode) << result.err;
        EXPECT_TRUE((row.exitCode == 0 ? result.out : result.err).starts_with(row.printed)) << result.err;
        if (row.exitCode == 1) {
            EXPECT_TRUE(isOneLine(result.err)) << result.err;
        }
        EXPECT_TRUE(std::filesystem::is_empty(out));
    }
    EXPECT_NE(cli({"--help"}).out.find("Exit status"), std::string::npos);
    EXPECT_NE(cli({"--set", "COLOUR=red"}).err.find("Usage: norda-cli"), std::string::npos);
    EXPECT_NE(cli(arguments(in / "long.json")).err.find("File name too long"), std::string::npos);
    expectNothingOutsideTheOutputDirectory();
}
