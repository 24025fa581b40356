#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/MainWindowSettings.h"
#include "config/MemorySettingsStore.h"
#include "support/Files.h"

#include <nlohmann/json.hpp>

using config::MainWindowSettings;
using config::MemorySettingsStore;
using config::readMainWindowSettings;

namespace {

const std::string kApplication = "VELTRUM_NORDA_KONVERTER";
const std::string kSection = "Settings";

// The fields in the order of the keys: DIR, KOMMENTARE, DFQ, SERIENNUMMER, NAMENSLÄNGE, POS_ACHSE,
// ProgVerz, VersionInFileName, SingleFile, NordaPos.
std::vector<std::string> fields(const MainWindowSettings& settings)
{
    return {settings.SettingDir,          settings.SettingKommentare,       settings.SettingDFQ,
            settings.SettingSeriennummer, settings.SettingNamenslaenge,     settings.SettingPosAchse,
            settings.SettingProgVerz,     settings.SettingVersionInFileName, settings.SettingSingleFile,
            settings.SettingNordaPos ? "on" : "off"};
}

} // namespace

// The defaults from an empty store; then each field as stored, from its own key (each holds a text of
// its own). That another section, application or spelling is another key is the stores' contract.
TEST(MainWindowSettings, EachFieldComesFromItsOwnKeyAsStored)
{
    MemorySettingsStore store;
    const std::vector<std::string> defaults{"", "0", "0", "0", "0", "0", "0", "0", "0", "off"};
    EXPECT_EQ(fields(readMainWindowSettings(store)), defaults);
    const std::vector<std::pair<std::string, std::string>> stored{
        {"DRIVE", "d:"}, {"DIR", "D:\\Messdaten\\Pr\xC3\xBC" "fung"}, {"KOMMENTARE", " 1"}, {"DFQ", "ja"}, {"SERIENNUMMER", "3"},
        {"NAMENSL\xC3\x84NGE", "4"}, {"POS_ACHSE", "5"}, {"ProgVerz", "6"}, {"VersionInFileName", "7"}, {"SingleFile", "8"},
        {"NordaPos", "1"}};
    for (const auto& [key, value] : stored)
        store.WriteSetting(kApplication, kSection, key, value);
    const std::vector<std::string> expected{"D:\\Messdaten\\Pr\xC3\xBC" "fung", " 1", "ja", "3", "4", "5", "6", "7", "8", "on"};
    EXPECT_EQ(fields(readMainWindowSettings(store)), expected);
}

// Not a number at all ("ja", "1,0") is off: only a hand-edited store holds such a text.
TEST(MainWindowSettings, AFlagIsOnOnlyForANumberOtherThanZero)
{
    const auto texts = nlohmann::json::parse(testing_support::readBytes(testing_support::testDataDir() / "desktop" / "flag-texts.json"));
    for (const std::string& text : texts["on"].get<std::vector<std::string>>())
        EXPECT_TRUE(config::isFlagOn(text)) << '"' << text << '"';
    for (const std::string& text : texts["off"].get<std::vector<std::string>>())
        EXPECT_FALSE(config::isFlagOn(text)) << '"' << text << '"';
}
