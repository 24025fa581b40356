#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The text checks applied to the values of named values.
namespace kfield {

// True when the text reads as a number under the regional decimal separator and, rounded to the
// nearest whole number (ties to even), lies in -32768..32767. Accepted: surrounding blanks, an
// optional sign, digits with an optional fraction, an optional exponent ("1E3"); no grouping.
bool IsIntegerText(std::string_view text, std::string_view decimalSeparator);

// The whole number such a text stands for, or nothing where IsIntegerText is false.
std::optional<std::int16_t> wholeNumberOf(std::string_view text, std::string_view decimalSeparator);

// The same test for any number a double holds.
bool IsNumericText(std::string_view text, std::string_view decimalSeparator);

// True when the text has at most maximum characters.
bool FitsLength(std::string_view text, std::int16_t maximum);

} // namespace kfield
