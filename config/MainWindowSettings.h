#pragma once

#include <string>
#include <string_view>

namespace config {

class SettingsStore;

// The main window's copies of the stored settings. The flags stay text, as stored; each user tests
// them with isFlagOn at the point of use. Only NordaPos is turned into a bool when it is read.
struct MainWindowSettings {
    std::string SettingDir;
    std::string SettingKommentare = "0";
    std::string SettingDFQ = "0";
    std::string SettingSeriennummer = "0";
    std::string SettingNamenslaenge = "0";
    std::string SettingPosAchse = "0";
    std::string SettingProgVerz = "0";
    std::string SettingSingleFile = "0";
    std::string SettingVersionInFileName = "0";
    bool SettingNordaPos = false;
};

// Reads the settings as the main window does each time it loads: "DRIVE" is not read, an absent
// "DIR" is the empty text and an absent flag "0". Lets the store's exceptions through.
MainWindowSettings readMainWindowSettings(const SettingsStore& store);

// Whether a flag text is on: a decimal number other than 0, such as "1", "2", "-1", "1.0" or " 1 ".
// Blanks and tabs around the number are ignored. A text that is not a number (empty, "ja", "1,0",
// "0x1", "1e3") is off, so a hand-edited store can never switch an option on by accident.
bool isFlagOn(std::string_view flagText);

} // namespace config
