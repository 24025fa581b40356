#pragma once

#include <algorithm>
#include <string_view>

// Small checks and cuts on texts that the code page conversions, the settings and the writers share.
namespace config {

inline bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Blanks and tabs removed at both ends, as a stored setting is read.
inline std::string_view trimBlanksAndTabs(std::string_view text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace config
