#include "KeywordMatch.h"

#include "Utf8.h"

#include "config/LanguageTexts.h"

#include <string>

namespace kfield {

std::optional<int> matchKeyword(std::string_view name, std::span<const int> lines, const config::LanguageTexts& texts)
{
    const std::string key = trimBlanks(upperCase(name));
    for (int line : lines) {
        if (texts.line(line) == key)
            return line;
    }
    return std::nullopt;
}

} // namespace kfield
