#pragma once

#include <string>

#include "SettingsStore.h"

namespace config {

// The settings store in the registry of the current user, where the platform's settings functions
// keep them: HKEY_CURRENT_USER\<root>\<application>\<section>, one string value per key. Keys and
// values go in and out as UTF-16, so "NAMENSLÄNGE" keeps its Ä. Every read and write goes to the
// registry at once.
class WindowsRegistrySettingsStore final : public SettingsStore {
public:
    static constexpr std::string_view kDefaultRoot = "Software\\VB and VBA Program Settings";

    explicit WindowsRegistrySettingsStore(std::string root = std::string(kDefaultRoot));

    // The default also for a value that exists but cannot be read as a string.
    std::string ReadSetting(std::string_view application, std::string_view section,
                            std::string_view key, std::string_view defaultValue) const override;
    // Throws PlatformError naming the key and the registry key when the value cannot be written.
    void WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value) override;

    // "HKEY_CURRENT_USER\...\<application>\<section>", for messages.
    std::string keyName(std::string_view application, std::string_view section) const;

private:
    std::string m_root;
};

} // namespace config
