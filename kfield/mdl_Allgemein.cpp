#include "mdl_Allgemein.h"

#include "Utf8.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace kfield {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The number a text stands for, or nothing when it is no number in the accepted forms.
std::optional<double> readNumber(std::string_view text, const NumberSeparators& separators)
{
    const std::string_view decimalSeparator = separators.decimal;
    // A grouping separator that reads like the decimal one would make "1,5" ambiguous: it is ignored.
    const std::string_view grouping = separators.grouping == separators.decimal ? std::string_view() : separators.grouping;
    const std::string trimmed = trimBlanks(text);
    std::string_view rest = trimmed;
    std::string plain; // the number with "." as separator, for from_chars
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        if (rest.front() == '-')
            plain += '-';
        rest.remove_prefix(1);
    }
    bool hasDigit = false;
    for (;;) {
        while (!rest.empty() && isDigit(rest.front())) {
            plain += rest.front();
            rest.remove_prefix(1);
            hasDigit = true;
        }
        // Grouping counts only between two digits of the whole part.
        const bool grouped = hasDigit && !grouping.empty() && rest.starts_with(grouping) && rest.size() > grouping.size() &&
                             isDigit(rest[grouping.size()]);
        if (!grouped)
            break;
        rest.remove_prefix(grouping.size());
    }
    if (!decimalSeparator.empty() && rest.substr(0, decimalSeparator.size()) == decimalSeparator) {
        rest.remove_prefix(decimalSeparator.size());
        plain += '.';
        while (!rest.empty() && isDigit(rest.front())) {
            plain += rest.front();
            rest.remove_prefix(1);
            hasDigit = true;
        }
    }
    if (!hasDigit)
        return std::nullopt;
    if (!rest.empty() && (rest.front() == 'e' || rest.front() == 'E')) {
        plain += 'e';
        rest.remove_prefix(1);
        if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
            plain += rest.front();
            rest.remove_prefix(1);
        }
        bool hasExponentDigit = false;
        while (!rest.empty() && isDigit(rest.front())) {
            plain += rest.front();
            rest.remove_prefix(1);
            hasExponentDigit = true;
        }
        if (!hasExponentDigit)
            return std::nullopt;
    }
    if (!rest.empty())
        return std::nullopt;

    double value = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::int16_t> wholeNumberOf(std::string_view text, const NumberSeparators& separators)
{
    const auto value = readNumber(text, separators);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // ties to even, as a whole-number conversion does
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

bool IsIntegerText(std::string_view text, const NumberSeparators& separators)
{
    return wholeNumberOf(text, separators).has_value();
}

bool IsNumericText(std::string_view text, const NumberSeparators& separators)
{
    return readNumber(text, separators).has_value();
}

bool FitsLength(std::string_view text, std::int16_t maximum)
{
    return maximum >= 0 && characterCount(text) <= static_cast<std::size_t>(maximum);
}

} // namespace kfield
