#pragma once

#include <string>
#include <string_view>

namespace kfield {

// Renders a value as "#####0.00000" (places = 5) or "#####0.0000" (places = 4): an optional "-", at
// least one integer digit, no grouping, exactly that many decimals, the given decimal separator.
// Ties are rounded away from zero; a value that rounds to zero has no minus sign. Independent of the
// C++ global locale. Throws std::domain_error for infinity and NaN.
std::string formatFixed(double value, int places, std::string_view decimalSeparator);

} // namespace kfield
