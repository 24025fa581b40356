#include "MainWindowSettings.h"

#include <algorithm>

#include "SettingKeys.h"
#include "SettingsStore.h"
#include "platform/TextChecks.h"

namespace config {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

MainWindowSettings readMainWindowSettings(const SettingsStore& store)
{
    const auto read = [&store](std::string_view key, std::string_view defaultValue) {
        return store.ReadSetting(setting::kApplication, setting::kSection, key, defaultValue);
    };
    // One statement per key keeps the order of the reads fixed.
    MainWindowSettings settings;
    settings.SettingKommentare = read(setting::kKommentare, setting::kFlagOff);
    settings.SettingDFQ = read(setting::kDfq, setting::kFlagOff);
    settings.SettingDir = read(setting::kDir, "");
    settings.SettingSeriennummer = read(setting::kSeriennummer, setting::kFlagOff);
    settings.SettingNamenslaenge = read(setting::kNamenslaenge, setting::kFlagOff);
    settings.SettingPosAchse = read(setting::kPosAchse, setting::kFlagOff);
    settings.SettingProgVerz = read(setting::kProgVerz, setting::kFlagOff);
    settings.SettingSingleFile = read(setting::kSingleFile, setting::kFlagOff);
    settings.SettingVersionInFileName = read(setting::kVersionInFileName, setting::kFlagOff);
    settings.SettingNordaPos = isFlagOn(read(setting::kNordaPos, setting::kFlagOff));
    return settings;
}

bool isFlagOn(std::string_view flagText)
{
    std::string_view number = trimBlanksAndTabs(flagText);
    if (!number.empty() && (number.front() == '+' || number.front() == '-'))
        number.remove_prefix(1);

    const std::size_t point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    const bool isNumber = (!whole.empty() || !fraction.empty()) &&
                          std::all_of(whole.begin(), whole.end(), isDigit) &&
                          std::all_of(fraction.begin(), fraction.end(), isDigit);
    // Looking at the digits, not converting them, keeps any length of number free of overflow.
    return isNumber && (std::any_of(whole.begin(), whole.end(), [](char c) { return c != '0'; }) ||
                        std::any_of(fraction.begin(), fraction.end(), [](char c) { return c != '0'; }));
}

} // namespace config
