#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/PlatformError.h"
#include "config/QtSettingsStore.h"
#include "support/ErrorText.h"
#include "support/Files.h"
#include "support/Process.h"

using config::QtSettingsStore;
using testing_support::readBytes;
using testing_support::TemporaryDirectory;
using testing_support::writeBytes;

namespace {

const std::string kApplication = "VELTRUM_NORDA_KONVERTER";
const std::string kSection = "Settings";

// Runs the probe as a process of its own and returns what it printed; fails the test on a non-zero exit.
std::string runProbe(const std::vector<std::string>& arguments, const std::map<std::string, std::string>& environment = {})
{
    const auto result = testing_support::ChildProcess(SETTINGS_PROBE, arguments, environment).wait();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

class QtSettingsStoreTest : public ::testing::Test {
protected:
    void write(const std::string& key, const std::string& value) { m_store.WriteSetting(kApplication, kSection, key, value); }
    std::string read(const std::string& key) const { return m_store.ReadSetting(kApplication, kSection, key, "<absent>"); }
    std::string probe(const std::string& action, const std::string& key, const std::string& text)
    {
        return runProbe({action, m_directory.path().string(), kApplication, kSection, key, text});
    }

    TemporaryDirectory m_directory;
    QtSettingsStore m_store{m_directory.path()};
};

} // namespace

TEST_F(QtSettingsStoreTest, SharesEveryWriteWithAnotherProcessAtOnce)
{
    write("DIR", "D:\\Norda");
    EXPECT_EQ(probe("read", "DIR", "<absent>"), "D:\\Norda");
    write("DIR", "E:\\");
    EXPECT_EQ(probe("read", "DIR", "<absent>"), "E:\\");

    probe("write", "DFQ", "1 (from the probe)");
    probe("write", "DRIVE", "f:");
    EXPECT_EQ(read("DFQ"), "1 (from the probe)");
    // Writing one key here must not put back the older state of the file.
    write("KOMMENTARE", "1");
    EXPECT_EQ(probe("read", "DRIVE", "<absent>"), "f:");
}

TEST_F(QtSettingsStoreTest, CreatesItsDirectoryOnTheFirstWriteOnly)
{
    const QtSettingsStore elsewhere(m_directory / "a" / "b");
    EXPECT_EQ(elsewhere.ReadSetting(kApplication, kSection, "DRIVE", "C:\\"), "C:\\");
    EXPECT_FALSE(std::filesystem::exists(m_directory / "a"));
    QtSettingsStore(m_directory / "a" / "b").WriteSetting(kApplication, kSection, "DFQ", "1");
    EXPECT_EQ(readBytes(m_directory / "a" / "b" / (kApplication + ".ini")), "[Settings]\nDFQ=1\n");
}

TEST_F(QtSettingsStoreTest, FailedWriteThrowsNamingKeyAndFile)
{
    // A regular file where the directory should be: no user, not even root, can write below it.
    writeBytes(m_directory / "blocked", "");
    const std::string message = testing_support::errorText<config::PlatformError>(
        [&] { QtSettingsStore(m_directory / "blocked").WriteSetting(kApplication, kSection, "DFQ", "1"); });
    EXPECT_NE(message.find("\"DFQ\""), std::string::npos) << message;
    EXPECT_NE(message.find((m_directory / "blocked" / (kApplication + ".ini")).string()), std::string::npos) << message;
}

TEST(QtSettingsStoreLocation, IsAnIniFileInTheUsersConfigDirectory)
{
    // In $XDG_CONFIG_HOME; without it, or with a relative one (the settings would depend on the
    // directory the converter was started from), in ~/.config. Never the real one: HOME is a test's.
    const TemporaryDirectory home;
    const std::pair<std::string, std::filesystem::path> configHomes[] = {
        {(home / "xdg").string(), home / "xdg"}, {"", home / ".config"}, {"relative/config", home / ".config"}};
    for (const auto& [configHome, directory] : configHomes)
        EXPECT_EQ(runProbe({"where", kApplication}, {{"HOME", home.path().string()}, {"XDG_CONFIG_HOME", configHome}}),
                  (directory / "VELTRUM_NORDA_KONVERTER.ini").string())
            << configHome;
}
