#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace config {
class LanguageTexts;
}

namespace kfield {

// The first of the keyword `lines` whose text equals a named value's name, upper-cased then trimmed;
// nothing when none does.
std::optional<int> matchKeyword(std::string_view name, std::span<const int> lines, const config::LanguageTexts& texts);

} // namespace kfield
