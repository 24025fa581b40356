// norda-converter as a process, as scripts and the measuring station start it.
#include "support/Files.h"
#include "support/Process.h"

#include <gtest/gtest.h>

#include <algorithm>

using testing_support::readBytes;

namespace {

// Runs the program with a settings file of its own and the example part program; `timeout` ends a
// program that is still waiting after that many seconds, with exit code 124.
testing_support::ProcessResult runDesktopProgram(const std::string& argument, const std::filesystem::path& config,
                                                 const char* seconds)
{
    return testing_support::runProcess(
        "/usr/bin/timeout", {seconds, NORDA_PROGRAM_DIR "/norda-converter", argument},
        {{"QT_QPA_PLATFORM", "offscreen"},
         {"XDG_CONFIG_HOME", config.string()},
         {"LC_ALL", "en_US.UTF-8"},
         {"VELTRUM_SNAPSHOT", NORDA_SOURCE_DIR "/examples/pump-housing.json"},
         {"NORDA_CODEPAGE", ""}});
}

} // namespace

TEST(DesktopProcess, SlashAConvertsWithTheStoredSettingsAndEnds)
{
    testing_support::TemporaryDirectory config;
    testing_support::TemporaryDirectory out;
    testing_support::writeBytes(config / "VELTRUM_NORDA_KONVERTER.ini",
                                "[Settings]\nDIR=" + out.path().string() + "\nKOMMENTARE=1\n");
    EXPECT_EQ(runDesktopProgram("/a", config.path(), "20").exitCode, 0);
    EXPECT_EQ(out.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
    EXPECT_EQ(readBytes(out / "PUMP HOUSING A1.dfd"),
              readBytes(testing_support::testDataDir() / "golden" / "cli" / "pump-housing.dfd"));

    EXPECT_EQ(runDesktopProgram("/A", config.path(), "20").exitCode, 0);
    const std::string values = readBytes(out / "PUMP HOUSING A1.dfx");
    EXPECT_EQ(std::count(values.begin(), values.end(), '\n'), 2);
}

TEST(DesktopProcess, WithoutSwitchItWaitsForTheOperator)
{
    testing_support::TemporaryDirectory config;
    testing_support::TemporaryDirectory out;
    testing_support::writeBytes(config / "VELTRUM_NORDA_KONVERTER.ini", "[Settings]\nDIR=" + out.path().string() + "\n");
    EXPECT_EQ(runDesktopProgram("-a", config.path(), "4.5").exitCode, 124);
    EXPECT_EQ(out.listing(), "");
}
