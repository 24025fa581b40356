#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Character-level work on UTF-8 texts: lengths and cuts count characters, not bytes, as the
// measuring application's texts are wide-character texts.
namespace kfield {

std::size_t characterCount(std::string_view text);
std::string firstCharacters(std::string_view text, std::size_t count);
// Blanks (the space character only) removed at both ends.
std::string trimBlanks(std::string_view text);
// Upper case for the Latin letters (ASCII, Latin-1 and Latin Extended-A); other characters unchanged.
std::string upperCase(std::string_view text);

} // namespace kfield
