// The desktop program's parts without windows: the command line and the copy of a language file.
#include "desktop/CommandLineSwitches.h"
#include "desktop/LanguageSwitch.h"
#include "platform/CodePage.h"
#include "files/FileError.h"
#include "support/ErrorText.h"
#include "support/FaultyFileSystem.h"
#include "support/Files.h"
#include "support/LanguageFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using testing_support::readBytes;

// Only "/a" and "/s", in either case and alone, are switches: the rows of command-line-switches.json.
// The arguments are joined by single blanks first, so "/" and "a" are no switch.
TEST(CommandLineSwitches, OnlyTheFourTextsAreSwitches)
{
    using Row = std::tuple<std::vector<std::string>, bool, bool, int>;
    const auto table = nlohmann::json::parse(readBytes(testing_support::testDataDir() / "desktop" / "command-line-switches.json"));
    for (const auto& [arguments, autoStart, endAfterRun, startUp] : table["rows"].get<std::vector<Row>>()) {
        const std::string text = app::argumentText(arguments);
        const app::CommandLineSwitches switches = app::evaluateCommandLine(text);
        EXPECT_EQ(switches.AutoStart, autoStart) << '"' << text << '"';
        EXPECT_EQ(switches.EndAfterRun, endAfterRun) << '"' << text << '"';
        EXPECT_EQ(app::startUpWindowDuration(text), std::chrono::milliseconds(startUp)) << '"' << text << '"';
    }
}

// The refusals (a missing file, a short file) and the copy itself are shown by the language menu's
// flows; here the copy's failures.
TEST(LanguageInstall, EveryFailingFileOperationLeavesTheWorkingCopyWhole)
{
    testing_support::TemporaryDirectory dir;
    testing_support::FaultyFileSystem files;
    const std::unique_ptr<config::CodePage> codePage = config::codePageByNumber(1252);
    const auto install = [&] { return app::installLanguageFile(files, dir.path(), "German", *codePage); };
    testing_support::writeBytes(dir / "resource.dll", ui_testing::languageFileBytes("L"));
    testing_support::writeBytes(dir / "German.dll", ui_testing::languageFileBytes("G"));
    const std::string before = readBytes(dir / "resource.dll");
    ASSERT_EQ(install(), app::LanguageInstall::Installed);
    const int operations = files.operations();
    ASSERT_GT(operations, 3);
    // Each operation in turn, then a disk that fills up in the middle of the copy.
    for (int failing = 1; failing <= operations + 1; ++failing) {
        testing_support::writeBytes(dir / "resource.dll", before);
        if (failing <= operations)
            files.failOperation(failing);
        else
            files.failWritesAfter(100);
        EXPECT_THROW(install(), kfield::FileError) << "operation " << failing;
        files.failOperation(0);
        EXPECT_EQ(readBytes(dir / "resource.dll"), before) << "operation " << failing;
        EXPECT_EQ(dir.listing(), "German.dll resource.dll") << "operation " << failing;
    }
    testing_support::writeBytes(dir / "resource.dll", before);
    files.failReadsAfter(100); // a language file that breaks off while it is read
    EXPECT_TRUE(testing_support::errorText<kfield::FileError>(install).ends_with("\": the file cannot be read"));
    EXPECT_EQ(readBytes(dir / "resource.dll"), before);
}
