#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "SettingsStore.h"

namespace config {

// The settings store as INI files through QSettings, one file per application: <directory>/<application>.ini,
// one [section] group per section. Every read opens the file afresh and every write is on disk before
// WriteSetting returns, so another process sees it at once. Needs no QCoreApplication.
class QtSettingsStore final : public SettingsStore {
public:
    // The user's store: $XDG_CONFIG_HOME, or ~/.config when that is not set.
    QtSettingsStore();
    // A store whose files live in the given directory; it is created on the first write.
    explicit QtSettingsStore(std::filesystem::path directory);

    std::string ReadSetting(std::string_view application, std::string_view section,
                            std::string_view key, std::string_view defaultValue) const override;
    // Throws PlatformError naming the file when the value cannot be written.
    void WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value) override;

    // The INI file that holds the settings of an application.
    std::filesystem::path iniFile(std::string_view application) const;

private:
    std::filesystem::path m_directory;
};

} // namespace config
