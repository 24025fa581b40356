#include <gtest/gtest.h>

#include <string>

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

} // namespace

TEST(MainWindowSettings, EmptyStoreGivesTheDefaults)
{
    const MemorySettingsStore store;
    const MainWindowSettings settings = readMainWindowSettings(store);
    for (const std::string* flag : {&settings.SettingKommentare, &settings.SettingDFQ, &settings.SettingSeriennummer,
                                    &settings.SettingNamenslaenge, &settings.SettingPosAchse, &settings.SettingProgVerz,
                                    &settings.SettingSingleFile, &settings.SettingVersionInFileName})
        EXPECT_EQ(*flag, "0");
    EXPECT_EQ(settings.SettingDir, "");
    EXPECT_FALSE(settings.SettingNordaPos);
}

TEST(MainWindowSettings, EachFieldComesFromItsOwnKeyAsStored)
{
    MemorySettingsStore store;
    const auto write = [&store](const std::string& key, const std::string& value) {
        store.WriteSetting(kApplication, kSection, key, value);
    };
    write("DRIVE", "d:");
    write("DIR", "D:\\Messdaten\\Pr\xC3\xBC" "fung");
    write("KOMMENTARE", " 1");
    write("DFQ", "ja");
    write("SERIENNUMMER", "3");
    write("NAMENSL\xC3\x84NGE", "4");
    write("POS_ACHSE", "5");
    write("ProgVerz", "6");
    write("VersionInFileName", "7");
    write("SingleFile", "8");
    write("NordaPos", "1");
    // Another section, application or spelling is another key.
    store.WriteSetting(kApplication, "settings", "SERIENNUMMER", "x");
    store.WriteSetting("NORDA", kSection, "POS_ACHSE", "x");
    write("NAMENSLAENGE", "x");
    write("Dir", "x");

    const MainWindowSettings settings = readMainWindowSettings(store);
    EXPECT_EQ(settings.SettingDir, "D:\\Messdaten\\Pr\xC3\xBC" "fung");
    EXPECT_EQ(settings.SettingKommentare, " 1");
    EXPECT_EQ(settings.SettingDFQ, "ja");
    EXPECT_EQ(settings.SettingSeriennummer, "3");
    EXPECT_EQ(settings.SettingNamenslaenge, "4");
    EXPECT_EQ(settings.SettingPosAchse, "5");
    EXPECT_EQ(settings.SettingProgVerz, "6");
    EXPECT_EQ(settings.SettingVersionInFileName, "7");
    EXPECT_EQ(settings.SettingSingleFile, "8");
    EXPECT_TRUE(settings.SettingNordaPos);
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
