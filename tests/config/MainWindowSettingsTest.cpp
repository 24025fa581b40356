#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/MainWindowSettings.h"
#include "config/MemorySettingsStore.h"

using config::isFlagOn;
using config::MainWindowSettings;
using config::MemorySettingsStore;
using config::readMainWindowSettings;

namespace {

const std::string kApplication = "VELTRUM_NORDA_KONVERTER";
const std::string kSection = "Settings";

// Answers every read with its default and notes what was asked.
class RecordingStore final : public config::SettingsStore {
public:
    std::string ReadSetting(std::string_view application, std::string_view section, std::string_view key,
                            std::string_view defaultValue) const override
    {
        reads.push_back(std::string(application) + "|" + std::string(section) + "|" + std::string(key) + "|" +
                        std::string(defaultValue));
        return std::string(defaultValue);
    }
    void WriteSetting(std::string_view, std::string_view, std::string_view key, std::string_view) override
    {
        ADD_FAILURE() << "the main window wrote \"" << key << "\"";
    }

    mutable std::vector<std::string> reads;
};

} // namespace

TEST(MainWindowSettings, EmptyStoreGivesTheMainWindowDefaults)
{
    const MemorySettingsStore store;
    const MainWindowSettings settings = readMainWindowSettings(store);
    EXPECT_EQ(settings.SettingDir, "");
    EXPECT_EQ(settings.SettingKommentare, "0");
    EXPECT_EQ(settings.SettingDFQ, "0");
    EXPECT_EQ(settings.SettingSeriennummer, "0");
    EXPECT_EQ(settings.SettingNamenslaenge, "0");
    EXPECT_EQ(settings.SettingPosAchse, "0");
    EXPECT_EQ(settings.SettingProgVerz, "0");
    EXPECT_EQ(settings.SettingSingleFile, "0");
    EXPECT_EQ(settings.SettingVersionInFileName, "0");
    EXPECT_FALSE(settings.SettingNordaPos);
}

TEST(MainWindowSettings, ReadsTheKeysInTheMainWindowsOrderAndNeverDrive)
{
    const RecordingStore store;
    readMainWindowSettings(store);
    const std::string prefix = kApplication + "|" + kSection + "|";
    const std::vector<std::string> expected{
        prefix + "KOMMENTARE|0", prefix + "DFQ|0",        prefix + "DIR|",
        prefix + "SERIENNUMMER|0", prefix + "NAMENSL\xC3\x84NGE|0", prefix + "POS_ACHSE|0",
        prefix + "ProgVerz|0",   prefix + "SingleFile|0", prefix + "VersionInFileName|0",
        prefix + "NordaPos|0",
    };
    EXPECT_EQ(store.reads, expected);
}

TEST(MainWindowSettings, EachFieldComesFromItsOwnKey)
{
    MemorySettingsStore store;
    const auto write = [&store](const std::string& key, const std::string& value) {
        store.WriteSetting(kApplication, kSection, key, value);
    };
    write("DRIVE", "d:");
    write("DIR", "D:\\Messdaten\\Pr\xC3\xBC" "fung");
    write("KOMMENTARE", "1");
    write("DFQ", "2");
    write("SERIENNUMMER", "3");
    write("NAMENSL\xC3\x84NGE", "4");
    write("POS_ACHSE", "5");
    write("ProgVerz", "6");
    write("VersionInFileName", "7");
    write("SingleFile", "8");
    write("NordaPos", "1");

    const MainWindowSettings settings = readMainWindowSettings(store);
    EXPECT_EQ(settings.SettingDir, "D:\\Messdaten\\Pr\xC3\xBC" "fung");
    EXPECT_EQ(settings.SettingKommentare, "1");
    EXPECT_EQ(settings.SettingDFQ, "2");
    EXPECT_EQ(settings.SettingSeriennummer, "3");
    EXPECT_EQ(settings.SettingNamenslaenge, "4");
    EXPECT_EQ(settings.SettingPosAchse, "5");
    EXPECT_EQ(settings.SettingProgVerz, "6");
    EXPECT_EQ(settings.SettingVersionInFileName, "7");
    EXPECT_EQ(settings.SettingSingleFile, "8");
    EXPECT_TRUE(settings.SettingNordaPos);
}

TEST(MainWindowSettings, FlagsStayTextAsStored)
{
    MemorySettingsStore store;
    store.WriteSetting(kApplication, kSection, "KOMMENTARE", " 1");
    store.WriteSetting(kApplication, kSection, "DFQ", "ja");
    const MainWindowSettings settings = readMainWindowSettings(store);
    EXPECT_EQ(settings.SettingKommentare, " 1");
    EXPECT_EQ(settings.SettingDFQ, "ja");
}

TEST(MainWindowSettings, NordaPosOneIsTrueZeroIsFalse)
{
    MemorySettingsStore store;
    store.WriteSetting(kApplication, kSection, "NordaPos", "1");
    EXPECT_TRUE(readMainWindowSettings(store).SettingNordaPos);
    store.WriteSetting(kApplication, kSection, "NordaPos", "0");
    EXPECT_FALSE(readMainWindowSettings(store).SettingNordaPos);
}

TEST(MainWindowSettings, NordaPosThatIsNoNumberIsFalse)
{
    MemorySettingsStore store;
    store.WriteSetting(kApplication, kSection, "NordaPos", "True");
    EXPECT_FALSE(readMainWindowSettings(store).SettingNordaPos);
}

TEST(MainWindowSettings, KeysOfAnotherSectionOrSpellingAreNotSeen)
{
    MemorySettingsStore store;
    store.WriteSetting(kApplication, "settings", "NordaPos", "1");
    store.WriteSetting("NORDA", kSection, "KOMMENTARE", "1");
    store.WriteSetting(kApplication, kSection, "NAMENSLAENGE", "1");
    store.WriteSetting(kApplication, kSection, "Dir", "C:\\");
    const MainWindowSettings settings = readMainWindowSettings(store);
    EXPECT_FALSE(settings.SettingNordaPos);
    EXPECT_EQ(settings.SettingKommentare, "0");
    EXPECT_EQ(settings.SettingNamenslaenge, "0");
    EXPECT_EQ(settings.SettingDir, "");
}

class FlagText : public ::testing::TestWithParam<std::pair<const char*, bool>> {};

// A test name that spells the flag text out: " 1" is "Blank1", "-0.5" is "Minus0Point5".
std::string spelledOut(const ::testing::TestParamInfo<FlagText::ParamType>& info)
{
    std::string name;
    for (const char c : std::string(info.param.first)) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            name += c;
        else if (c == ' ')
            name += "Blank";
        else if (c == '\t')
            name += "Tab";
        else if (c == '.')
            name += "Point";
        else if (c == '-')
            name += "Minus";
        else if (c == '+')
            name += "Plus";
        else if (c == ',')
            name += "Comma";
        else
            name += "Byte" + std::to_string(static_cast<unsigned char>(c));
    }
    return name.empty() ? "Empty" : name;
}

TEST_P(FlagText, IsOnOnlyForANumberOtherThanZero)
{
    const auto& [text, on] = GetParam();
    EXPECT_EQ(isFlagOn(text), on) << "\"" << text << "\"";
}

INSTANTIATE_TEST_SUITE_P(On, FlagText,
                         ::testing::Values(std::pair{"1", true}, std::pair{"2", true}, std::pair{"-1", true},
                                           std::pair{"+1", true}, std::pair{" 1", true}, std::pair{"1 ", true},
                                           std::pair{"\t1\t", true}, std::pair{"1.0", true}, std::pair{"0.5", true},
                                           std::pair{".5", true}, std::pair{"1.", true}, std::pair{"007", true},
                                           std::pair{"99999999999999999999999999", true}),
                         spelledOut);

INSTANTIATE_TEST_SUITE_P(Off, FlagText,
                         ::testing::Values(std::pair{"0", false}, std::pair{"00", false}, std::pair{"-0", false},
                                           std::pair{"+0", false}, std::pair{"0.0", false}, std::pair{" 0 ", false},
                                           std::pair{"0.", false}, std::pair{".0", false}),
                         spelledOut);

// Not a number at all: only a hand-edited store holds such a text.
INSTANTIATE_TEST_SUITE_P(NotANumber, FlagText,
                         ::testing::Values(std::pair{"", false}, std::pair{" ", false}, std::pair{"ja", false},
                                           std::pair{"True", false}, std::pair{"1,0", false}, std::pair{"0x1", false},
                                           std::pair{"1e3", false}, std::pair{"1 1", false}, std::pair{"--1", false},
                                           std::pair{"- 1", false}, std::pair{".", false}, std::pair{"-", false},
                                           std::pair{"1.2.3", false}, std::pair{"1\n", false},
                                           std::pair{"\xC2\xA0" "1", false}),
                         spelledOut);
