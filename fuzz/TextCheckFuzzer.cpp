// The text checks of named values and the number rendering of the transfer files, against properties
// that hold for every input.
#include "FuzzCheck.h"

#include "kfield/NumberFormat.h"
#include "kfield/Utf8.h"
#include "kfield/mdl_Allgemein.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool isDigits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// "#####0.0000": an optional minus, at least one digit, the separator, exactly `places` digits.
void checkRendering(double value, int places, const kfield::NumberSeparators& separators)
{
    const std::string_view separator = separators.decimal;
    const std::string text = kfield::formatFixed(value, places, separator);
    std::string_view rest = text;
    const bool negative = rest.starts_with('-');
    if (negative)
        rest.remove_prefix(1);
    const auto at = rest.rfind(separator);
    check(at != std::string_view::npos);
    check(isDigits(rest.substr(0, at)));
    check(rest.substr(at + separator.size()).size() == static_cast<std::size_t>(places));
    check(isDigits(rest.substr(at + separator.size())));
    check(kfield::IsNumericText(text, separators));

    // Read back, the text is the value rounded to `places` decimals, and zero has no sign.
    std::string plain(rest.substr(0, at));
    plain += '.';
    plain += rest.substr(at + separator.size());
    double magnitude = 0;
    std::from_chars(plain.data(), plain.data() + plain.size(), magnitude);
    check(!(negative && magnitude == 0));
    if (std::fabs(value) < 1e12) {
        const double step = std::pow(10.0, -places);
        check(std::fabs((negative ? -magnitude : magnitude) - value) <= step / 2 * (1 + 1e-9) + std::fabs(value) * 1e-15);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    // The first byte picks the decimal and the grouping separator, the rest is the text.
    static constexpr std::string_view kSeparators[] = {".", ",", "\xD9\xAB", "'"};
    const kfield::NumberSeparators separator{std::string(kSeparators[data[0] % 4]), std::string(kSeparators[data[0] / 4 % 4])};
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const bool integer = kfield::IsIntegerText(text, separator);
    const bool numeric = kfield::IsNumericText(text, separator);
    check(!integer || numeric);
    const auto whole = kfield::wholeNumberOf(text, separator);
    check(whole.has_value() == integer);

    const std::size_t characters = kfield::characterCount(text);
    check(characters <= text.size());
    check(!kfield::FitsLength(text, -1));
    if (characters <= 32767) {
        check(kfield::FitsLength(text, static_cast<std::int16_t>(characters)));
        if (characters > 0)
            check(!kfield::FitsLength(text, static_cast<std::int16_t>(characters - 1)));
    }

    // Eight bytes of the input as a double, rendered both ways.
    if (text.size() >= 8) {
        double value = 0;
        std::memcpy(&value, text.data(), sizeof value);
        if (std::isfinite(value)) {
            checkRendering(value, 4, separator);
            checkRendering(value, 5, separator);
        }
    }
    return 0;
}
