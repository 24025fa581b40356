#pragma once

#include <cstdint>
#include <string_view>

#include "mdl_Allgemein.h"

namespace config {
class LanguageTexts;
}

namespace kfield {

class OperatorMessages;
struct DescriptionState;

enum class NamedValueOutcome { Continue, AbortRun };

// Handles a named value met by the description walk: when its name (upper-cased, then trimmed) is one
// of the description keywords, checks the trimmed value, shows a message and replaces or cuts a bad
// one, and stores it for characteristic `next` or for the part header. Two bad values abort the run:
// a K2005 value that is no whole number and a K2404 value that is no number.
NamedValueOutcome handleNamedValue(std::string_view name, std::string_view value, std::int64_t next, DescriptionState& state,
                                   const config::LanguageTexts& texts, OperatorMessages& messages, const NumberSeparators& separators);

// The description keyword line (150, 159..165) a name matches, in the order they are tried; 0 when none.
int matchDescriptionKeyword(std::string_view name, const config::LanguageTexts& texts);

} // namespace kfield
