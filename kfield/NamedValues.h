#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "mdl_Allgemein.h"

namespace config {
class LanguageTexts;
}

namespace kfield {

class OperatorMessages;
struct DescriptionState;

enum class NamedValueOutcome { Continue, AbortRun };

// The description keyword line (150, 159..165) a name matches, in the order they are tried; nothing
// when none.
std::optional<int> matchDescriptionKeyword(std::string_view name, const config::LanguageTexts& texts);

// Handles a named value of description keyword line `keyword` met by the description walk: checks
// the trimmed value, shows a message and replaces or cuts a bad one, and stores it for characteristic
// `next` or for the part header. Two bad values abort the run: a K2005 value that is no whole number
// and a K2404 value that is no number.
NamedValueOutcome handleNamedValue(int keyword, std::string_view value, std::int64_t next, DescriptionState& state,
                                   const config::LanguageTexts& texts, OperatorMessages& messages, const NumberSeparators& separators);

} // namespace kfield
