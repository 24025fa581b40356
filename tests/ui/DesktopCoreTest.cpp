// The desktop program's parts without windows: the command line and the installation of a language.
#include "app/CommandLineSwitches.h"
#include "app/LanguageSwitch.h"
#include "config/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "kfield/WriteError.h"
#include "support/FaultyFileSystem.h"
#include "support/Files.h"
#include "support/LanguageFiles.h"

#include <gtest/gtest.h>

using namespace std::chrono_literals;
using testing_support::readBytes;

TEST(CommandLineSwitches, ArgumentTextJoinsWithSingleBlanks)
{
    EXPECT_EQ(app::argumentText({}), "");
    EXPECT_EQ(app::argumentText({"/a"}), "/a");
    EXPECT_EQ(app::argumentText({"/a", "/s"}), "/a /s");
    EXPECT_EQ(app::argumentText({"/a", ""}), "/a ");
}

TEST(CommandLineSwitches, OnlyTheFourTextsAreSwitches)
{
    struct Case {
        const char* text;
        bool autoStart;
        bool endAfterRun;
    };
    const Case cases[] = {
        {"/a", true, true},   {"/A", true, true},    {"/s", false, true},  {"/S", false, true},
        {"", false, false},   {"-a", false, false},  {"-s", false, false}, {"/a /s", false, false},
        {"/s /a", false, false}, {" /a", false, false}, {"/a ", false, false}, {"/auto", false, false},
        {"a", false, false},  {"/b", false, false},  {"/\xC3\xA4", false, false},
    };
    for (const Case& c : cases) {
        const app::CommandLineSwitches switches = app::evaluateCommandLine(c.text);
        EXPECT_EQ(switches.AutoStart, c.autoStart) << '"' << c.text << '"';
        EXPECT_EQ(switches.EndAfterRun, c.endAfterRun) << '"' << c.text << '"';
    }
}

TEST(CommandLineSwitches, TheStartUpWindowStays3000msUnlessSlashA)
{
    EXPECT_EQ(app::startUpWindowDuration("/a"), 10ms);
    EXPECT_EQ(app::startUpWindowDuration("/A"), 10ms);
    EXPECT_EQ(app::startUpWindowDuration("/s"), 3000ms);
    EXPECT_EQ(app::startUpWindowDuration(""), 3000ms);
    EXPECT_EQ(app::startUpWindowDuration("-a"), 3000ms);
}

class LanguageInstall : public ::testing::Test {
protected:
    testing_support::TemporaryDirectory dir;
    testing_support::FaultyFileSystem files;
    std::unique_ptr<config::CodePage> codePage = config::codePageByNumber(1252);

    void SetUp() override
    {
        ui_testing::writeLanguageFile(dir / "resource.dll", "L");
        ui_testing::writeLanguageFile(dir / "German.dll", "G");
    }
    app::LanguageInstall install(const char* language)
    {
        return app::installLanguageFile(files, dir.path(), language, *codePage);
    }
};

TEST_F(LanguageInstall, CopiesTheLanguageFileOverTheWorkingCopy)
{
    EXPECT_EQ(install("German"), app::LanguageInstall::Installed);
    EXPECT_EQ(readBytes(dir / "resource.dll"), readBytes(dir / "German.dll"));
    EXPECT_EQ(dir.listing(), "German.dll resource.dll");
}

TEST_F(LanguageInstall, AMissingLanguageFileTouchesNothing)
{
    const std::string before = readBytes(dir / "resource.dll");
    EXPECT_EQ(install("Czech"), app::LanguageInstall::FileMissing);
    EXPECT_EQ(readBytes(dir / "resource.dll"), before);
    EXPECT_EQ(dir.listing(), "German.dll resource.dll");
}

TEST_F(LanguageInstall, AMissingWorkingCopyIsNotCreated)
{
    std::filesystem::remove(dir / "resource.dll");
    EXPECT_EQ(install("German"), app::LanguageInstall::FileMissing);
    EXPECT_EQ(dir.listing(), "German.dll");
}

TEST_F(LanguageInstall, AShortLanguageFileIsRefused)
{
    ui_testing::writeLanguageFile(dir / "Italian.dll", "I", 164);
    const std::string before = readBytes(dir / "resource.dll");
    EXPECT_THROW(install("Italian"), config::LanguageFileError);
    EXPECT_EQ(readBytes(dir / "resource.dll"), before);
    EXPECT_EQ(dir.listing(), "German.dll Italian.dll resource.dll");
}

TEST_F(LanguageInstall, EveryFailingFileOperationLeavesTheWorkingCopyWhole)
{
    const std::string before = readBytes(dir / "resource.dll");
    EXPECT_EQ(install("German"), app::LanguageInstall::Installed);
    const int operations = files.operations();
    ASSERT_GT(operations, 3);
    for (int failing = 1; failing <= operations; ++failing) {
        testing_support::writeBytes(dir / "resource.dll", before);
        files.failOperation(failing);
        EXPECT_THROW(install("German"), kfield::WriteError) << "operation " << failing;
        files.failOperation(0);
        EXPECT_EQ(readBytes(dir / "resource.dll"), before) << "operation " << failing;
        EXPECT_EQ(dir.listing(), "German.dll resource.dll") << "operation " << failing;
    }
}

TEST_F(LanguageInstall, AFullDiskLeavesTheWorkingCopyWhole)
{
    const std::string before = readBytes(dir / "resource.dll");
    files.failWritesAfter(100);
    EXPECT_THROW(install("German"), kfield::WriteError);
    EXPECT_EQ(readBytes(dir / "resource.dll"), before);
    EXPECT_EQ(dir.listing(), "German.dll resource.dll");
}
