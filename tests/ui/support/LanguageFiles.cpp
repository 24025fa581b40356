#include "LanguageFiles.h"

#include "support/TestTexts.h"

namespace ui_testing {

std::string languageFileBytes(const std::string& prefix, int lineCount)
{
    const config::LanguageTexts numbered = testing_support::numberedTexts();
    std::string bytes;
    for (int line = 1; line <= lineCount; ++line) {
        const std::string own = "L" + std::to_string(line);
        const bool isNumbered = config::LanguageTexts::isIgnoredLine(line) || line > 165 || numbered.line(line) == own;
        bytes += (isNumbered ? prefix + std::to_string(line) : numbered.line(line)) + "\r\n";
    }
    return bytes;
}

} // namespace ui_testing
