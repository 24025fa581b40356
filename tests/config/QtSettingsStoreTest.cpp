#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "config/MainWindowSettings.h"
#include "config/QtSettingsStore.h"
#include "config/SettingKeys.h"
#include "support/Files.h"

using config::QtSettingsStore;
using testing_support::readBytes;
using testing_support::TemporaryDirectory;
using testing_support::writeBytes;

namespace {

const std::string kApplication = "VELTRUM_NORDA_KONVERTER";
const std::string kSection = "Settings";
const std::string kNamenslaenge = "NAMENSL\xC3\x84NGE";

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs the probe as a process of its own and returns what it printed; fails the test on a non-zero exit.
std::string runProbe(const std::vector<std::string>& arguments)
{
    std::string command = shellQuoted(SETTINGS_PROBE);
    for (const auto& argument : arguments)
        command += " " + shellQuoted(argument);
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot start " << command;
        return {};
    }
    std::string output;
    char buffer[256];
    while (const std::size_t count = std::fread(buffer, 1, sizeof buffer, pipe))
        output.append(buffer, count);
    EXPECT_EQ(::pclose(pipe), 0) << command;
    return output;
}

// Sets or removes an environment variable for the length of a test.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_saved = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_saved)
            ::setenv(m_name.c_str(), m_saved->c_str(), 1);
        else
            ::unsetenv(m_name.c_str());
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string m_name;
    std::optional<std::string> m_saved;
};

class QtSettingsStoreTest : public ::testing::Test {
protected:
    std::filesystem::path iniFile() const { return m_directory / (kApplication + ".ini"); }
    void write(const std::string& key, const std::string& value) { m_store.WriteSetting(kApplication, kSection, key, value); }
    std::string read(const QtSettingsStore& store, const std::string& key) const
    {
        return store.ReadSetting(kApplication, kSection, key, "<absent>");
    }

    TemporaryDirectory m_directory;
    QtSettingsStore m_store{m_directory.path()};
};

} // namespace

TEST_F(QtSettingsStoreTest, WorksWithoutQCoreApplication)
{
    // The command-line converter has no QCoreApplication; neither has this test program.
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    write("DFQ", "1");
    EXPECT_EQ(read(m_store, "DFQ"), "1");
}

TEST_F(QtSettingsStoreTest, AllElevenKeysRoundTripThroughANewStore)
{
    // The dialog's values, with texts that an INI file must escape or quote.
    const std::vector<std::pair<std::string, std::string>> values{
        {"DRIVE", "c: [SYSTEM]"},
        {"DIR", "C:\\Messdaten\\Pr\xC3\xBC" "fung 1, neu; alt"},
        {"KOMMENTARE", "1"},
        {"DFQ", "0"},
        {"SERIENNUMMER", "1"},
        {kNamenslaenge, "1"},
        {"POS_ACHSE", "0"},
        {"ProgVerz", " 1 "},
        {"VersionInFileName", "@Variant(1)"},
        {"SingleFile", "true"},
        {"NordaPos", "1"},
    };
    for (const auto& [key, value] : values)
        write(key, value);

    const QtSettingsStore restarted(m_directory.path());
    for (const auto& [key, value] : values)
        EXPECT_EQ(read(restarted, key), value) << key;
}

TEST_F(QtSettingsStoreTest, KeyConstantsAddressTheStoredKeys)
{
    for (const std::string_view key : config::setting::kDialogOrder)
        m_store.WriteSetting(config::setting::kApplication, config::setting::kSection, key, "1");
    const std::string ini = readBytes(iniFile());
    for (const std::string line : {"DRIVE=1\n", "DIR=1\n", "KOMMENTARE=1\n", "DFQ=1\n", "SERIENNUMMER=1\n",
                                   "NAMENSL%C4NGE=1\n", "POS_ACHSE=1\n", "ProgVerz=1\n", "VersionInFileName=1\n",
                                   "SingleFile=1\n", "NordaPos=1\n"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "missing in\n" << ini;
}

TEST_F(QtSettingsStoreTest, WritesTheSettingsGroupOfAPlainIniFile)
{
    write("DIR", "C:\\Daten");
    write(kNamenslaenge, "1");
    // Qt escapes a letter beyond ASCII in a key as %XX of its code (U+00C4) and a backslash in a value.
    EXPECT_EQ(readBytes(iniFile()), "[Settings]\nDIR=C:\\\\Daten\nNAMENSL%C4NGE=1\n");
    EXPECT_EQ(m_directory.listing(), kApplication + ".ini");
}

TEST_F(QtSettingsStoreTest, UmlautKeyIsFoundAfterARestart)
{
    write(kNamenslaenge, "1");
    EXPECT_EQ(runProbe({"read", m_directory.path().string(), kApplication, kSection, kNamenslaenge, "<absent>"}), "1");
    // Spelt without the letter, it is another key.
    EXPECT_EQ(runProbe({"read", m_directory.path().string(), kApplication, kSection, "NAMENSLAENGE", "<absent>"}),
              "<absent>");
}

TEST_F(QtSettingsStoreTest, FindsTheUmlautKeyWrittenByHandInUtf8)
{
    writeBytes(iniFile(), "[Settings]\r\nNAMENSL\xC3\x84NGE=1\r\n");
    EXPECT_EQ(read(m_store, kNamenslaenge), "1");
}

TEST_F(QtSettingsStoreTest, EachWriteReachesAnotherProcessAtOnce)
{
    write("DIR", "D:\\Norda");
    EXPECT_EQ(runProbe({"read", m_directory.path().string(), kApplication, kSection, "DIR", "<absent>"}), "D:\\Norda");
    write("DIR", "E:\\");
    EXPECT_EQ(runProbe({"read", m_directory.path().string(), kApplication, kSection, "DIR", "<absent>"}), "E:\\");
}

TEST_F(QtSettingsStoreTest, SeesAndKeepsWhatAnotherProcessWrote)
{
    write("DFQ", "0");
    EXPECT_EQ(read(m_store, "DFQ"), "0");
    runProbe({"write", m_directory.path().string(), kApplication, kSection, "DFQ", "1 (from the probe)"});
    runProbe({"write", m_directory.path().string(), kApplication, kSection, "DIR", "F:\\Probe"});
    EXPECT_EQ(read(m_store, "DFQ"), "1 (from the probe)");

    // Writing one key here must not put back the older state of the file.
    write("KOMMENTARE", "1");
    EXPECT_EQ(runProbe({"read", m_directory.path().string(), kApplication, kSection, "DIR", "<absent>"}), "F:\\Probe");
    EXPECT_EQ(read(QtSettingsStore(m_directory.path()), "DFQ"), "1 (from the probe)");
}

TEST_F(QtSettingsStoreTest, AbsentKeyOrFileGivesTheDefaultAndCreatesNothing)
{
    const QtSettingsStore elsewhere(m_directory / "not-yet");
    EXPECT_EQ(elsewhere.ReadSetting(kApplication, kSection, "DRIVE", "C:\\"), "C:\\");
    EXPECT_FALSE(std::filesystem::exists(m_directory / "not-yet"));

    write("DFQ", "1");
    EXPECT_EQ(m_store.ReadSetting(kApplication, kSection, "DRIVE", "C:\\"), "C:\\");
    EXPECT_EQ(m_store.ReadSetting(kApplication, "Other", "DFQ", "0"), "0");
    EXPECT_EQ(m_store.ReadSetting("OTHER_APPLICATION", kSection, "DFQ", "0"), "0");
}

TEST_F(QtSettingsStoreTest, StoredEmptyTextIsNotAbsent)
{
    write("DIR", "");
    EXPECT_EQ(m_store.ReadSetting(kApplication, kSection, "DIR", "C:\\"), "");
}

TEST_F(QtSettingsStoreTest, FirstWriteCreatesTheDirectory)
{
    QtSettingsStore store(m_directory / "a" / "b");
    store.WriteSetting(kApplication, kSection, "DFQ", "1");
    EXPECT_TRUE(std::filesystem::is_regular_file(m_directory / "a" / "b" / (kApplication + ".ini")));
}

TEST_F(QtSettingsStoreTest, FailedWriteThrowsNamingTheFile)
{
    // A regular file where the directory should be: no user, not even root, can write below it.
    writeBytes(m_directory / "blocked", "");
    QtSettingsStore store(m_directory / "blocked");
    try {
        store.WriteSetting(kApplication, kSection, "DFQ", "1");
        FAIL() << "the write did not fail";
    } catch (const std::runtime_error& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("\"DFQ\""), std::string::npos) << message;
        EXPECT_NE(message.find((m_directory / "blocked" / (kApplication + ".ini")).string()), std::string::npos)
            << message;
    }
}

TEST_F(QtSettingsStoreTest, HandEditedListKeepsItsCommas)
{
    // Unquoted, QSettings would read the text as a list of three.
    writeBytes(iniFile(), "[Settings]\nDIR=C:\\\\a,b,c\n");
    EXPECT_EQ(read(m_store, "DIR"), "C:\\a,b,c");
}

TEST_F(QtSettingsStoreTest, MainWindowReadsFlagsWrittenByTheStore)
{
    write("NordaPos", "1");
    write(kNamenslaenge, "1");
    const config::MainWindowSettings settings = config::readMainWindowSettings(QtSettingsStore(m_directory.path()));
    EXPECT_TRUE(settings.SettingNordaPos);
    EXPECT_EQ(settings.SettingNamenslaenge, "1");
    EXPECT_EQ(settings.SettingDir, "");
}

TEST(QtSettingsStoreLocation, IniFileIsInXdgConfigHome)
{
    // Never run against the real ~/.config: ctest points XDG_CONFIG_HOME into the build tree.
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    ASSERT_NE(configHome, nullptr) << "run through ctest, which sets XDG_CONFIG_HOME";
    const std::filesystem::path expected = std::filesystem::path(configHome) / "VELTRUM_NORDA_KONVERTER.ini";
    std::filesystem::remove(expected);

    QtSettingsStore store;
    EXPECT_EQ(store.iniFile(config::setting::kApplication), expected);
    store.WriteSetting(config::setting::kApplication, config::setting::kSection, "DFQ", "1");
    EXPECT_EQ(readBytes(expected), "[Settings]\nDFQ=1\n");
}

TEST(QtSettingsStoreLocation, WithoutXdgConfigHomeUsesDotConfigInHome)
{
    TemporaryDirectory home;
    const ScopedEnvironment homeVariable("HOME", home.path().c_str());
    const ScopedEnvironment noConfigHome("XDG_CONFIG_HOME", nullptr);
    EXPECT_EQ(QtSettingsStore().iniFile("VELTRUM_NORDA_KONVERTER"), home / ".config/VELTRUM_NORDA_KONVERTER.ini");
}

TEST(QtSettingsStoreLocation, RelativeXdgConfigHomeIsIgnored)
{
    // Else the settings would depend on the directory the converter was started from.
    TemporaryDirectory home;
    const ScopedEnvironment homeVariable("HOME", home.path().c_str());
    const ScopedEnvironment relativeConfigHome("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(QtSettingsStore().iniFile("VELTRUM_NORDA_KONVERTER"), home / ".config/VELTRUM_NORDA_KONVERTER.ini");
}
