#include "NumberFormat.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>

namespace kfield {
namespace {

// Adds one unit in the last place to a plain decimal text of digits and at most one ".".
void incrementLastDigit(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it == '.')
            continue;
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

std::string toFixed(double magnitude, int places)
{
    std::array<char, 400> buffer; // to_chars writes what it returns; nothing to clear
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::fixed, places);
    if (result.ec != std::errc())
        throw std::domain_error("the number is too large to be written");
    return std::string(buffer.data(), result.ptr);
}

} // namespace

std::string formatFixed(double value, int places, std::string_view decimalSeparator)
{
    if (!std::isfinite(value))
        throw std::domain_error("the value is not a finite number");

    const double magnitude = std::fabs(value);
    // to_chars rounds the exact binary value correctly, ties to even. A tie can only occur when the
    // value is an exact multiple of 2^-(places+1); then its text with one more place is exact and ends
    // in 5, and the tie is broken away from zero here.
    std::string text = toFixed(magnitude, places);
    const double scaled = std::ldexp(magnitude, places + 1);
    if (scaled == std::floor(scaled)) {
        std::string longer = toFixed(magnitude, places + 1);
        if (longer.back() == '5') {
            longer.pop_back();
            if (places == 0)
                longer.pop_back(); // the "." left behind
            incrementLastDigit(longer);
            text = std::move(longer);
        }
    }

    const bool isZero = text.find_first_not_of("0.") == std::string::npos;
    std::string result;
    result.reserve(text.size() + decimalSeparator.size() + 1);
    if (std::signbit(value) && !isZero)
        result += '-';
    const std::size_t point = text.find('.');
    if (point == std::string::npos) {
        result += text;
        return result;
    }
    result.append(text, 0, point);
    result += decimalSeparator;
    result.append(text, point + 1);
    return result;
}

} // namespace kfield
