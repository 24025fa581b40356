#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "LanguageTexts.h"

namespace config {

class CodePage;

// The working copy of the chosen language, the only language file the program reads.
inline constexpr std::string_view kResourceFileName = "resource.dll";

// A language file that cannot be loaded. The message is fixed English: without a loaded file there
// are no texts to say it in.
class LanguageFileError : public std::runtime_error {
public:
    LanguageFileError(const std::filesystem::path& file, const std::string& reason);
};

// Reads lines 1 to 165 of a language file, each decoded with the code page; anything after line 165
// is ignored. Throws LanguageFileError when the file cannot be read or has fewer than 165 lines.
LanguageTexts loadLanguageFile(const std::filesystem::path& file, const CodePage& codePage);

// Loads resource.dll from the program directory. On failure throws LanguageFileError and leaves
// texts as they were.
void LoadResourceTexts(LanguageTexts& texts, const std::filesystem::path& programDirectory,
                       const CodePage& codePage);

} // namespace config
