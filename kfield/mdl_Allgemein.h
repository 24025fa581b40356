#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The text checks applied to the values of named values.
namespace kfield {

// The separators of the user's regional settings that a number text may carry: under German settings
// "," and ".", under English ones "." and ",".
struct NumberSeparators {
    std::string decimal;
    std::string grouping;
};

// True when the text reads as a number under the regional separators and, rounded to the nearest
// whole number (ties to even), lies in -32768..32767. Accepted: surrounding blanks, an optional sign,
// digits with an optional fraction, an optional exponent ("1E3"). The grouping separator may stand
// between two digits of the whole part and counts for nothing: under German settings "1.5" is 15 and
// "2.500,25" is 2500.25, as part programs in use have it.
bool IsIntegerText(std::string_view text, const NumberSeparators& separators);

// The whole number such a text stands for, or nothing where IsIntegerText is false.
std::optional<std::int16_t> wholeNumberOf(std::string_view text, const NumberSeparators& separators);

// The same test for any number a double holds.
bool IsNumericText(std::string_view text, const NumberSeparators& separators);

// True when the text has at most maximum characters.
bool FitsLength(std::string_view text, std::int16_t maximum);

} // namespace kfield
