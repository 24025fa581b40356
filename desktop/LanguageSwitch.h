#pragma once

#include <filesystem>
#include <string_view>

namespace config {
class CodePage;
}

namespace kfield {
class FileSystem;
}

namespace app {

enum class LanguageInstall {
    Installed,  // resource.dll now holds the chosen language
    FileMissing // the language file or resource.dll does not exist; nothing was touched
};

// Installs "<language>.dll" of the program directory as its working copy resource.dll. Only a file
// that loads as a language file is installed, and it replaces resource.dll by a rename, so the
// program never finds a half-copied or broken resource.dll. Throws config::LanguageFileError when the
// language file cannot be loaded and kfield::FileError when it cannot be copied; resource.dll is
// unchanged then.
LanguageInstall installLanguageFile(kfield::FileSystem& files, const std::filesystem::path& programDirectory,
                                    std::string_view language, const config::CodePage& codePage);

} // namespace app
