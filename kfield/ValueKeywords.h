#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mdl_Allgemein.h"

namespace config {
class LanguageTexts;
}

namespace kfield {

struct ValueTables;

// The keyword line (151..158) a named value's name matches: the name upper-cased, then trimmed, equal
// to the line's text. Lines are tried in order; nothing when none matches.
std::optional<int> matchValueKeyword(std::string_view name, const config::LanguageTexts& texts);

// Checks the trimmed value of a named value that matched keyword line `keyword` and stores it in the
// tables (`next` is the number of the next characteristic). Returns the critical message when a check
// fails: then nothing is stored and the measurement must not be written.
std::optional<std::string> applyValueKeyword(int keyword, std::string_view value, std::int64_t next, ValueTables& tables,
                                             const config::LanguageTexts& texts, const NumberSeparators& separators);

} // namespace kfield
