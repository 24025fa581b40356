#pragma once

#include <filesystem>
#include <string>

namespace config {
class CodePage;
class RegionalSettings;
class SettingsStore;
} // namespace config

namespace kfield {
class FileLocks;
class FileSystem;
} // namespace kfield

namespace app {

class ApplicationConnector;
class Clock;

// What the desktop program is given by the system it runs on: the program directory with its
// language files, the argument text, the settings store and the services a conversion needs.
struct DesktopEnvironment {
    std::filesystem::path programDirectory;
    std::string argumentText;
    const config::CodePage& codePage;
    const config::RegionalSettings& regional;
    kfield::FileSystem& files;
    kfield::FileLocks& locks;
    config::SettingsStore& settings;
    ApplicationConnector& connector;
    const Clock& clock;
};

} // namespace app
