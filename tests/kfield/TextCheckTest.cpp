#include "kfield/mdl_Allgemein.h"

#include <gtest/gtest.h>

#include <optional>

using kfield::FitsLength;
using kfield::IsIntegerText;
using kfield::IsNumericText;
using kfield::NumberSeparators;

namespace {

const NumberSeparators kPoint{".", ","};   // English settings
const NumberSeparators kComma{",", "."};   // German settings

struct NumberCase {
    const char* text;
    const NumberSeparators& separators;
    bool numeric;                          // IsNumericText
    std::optional<std::int16_t> whole;     // what wholeNumberOf takes it for
};

} // namespace

TEST(NumberTexts, ReadTheFormsOfTheRegionalSettings)
{
    const NumberCase cases[] = {
        {"12", kPoint, true, 12},
        {" 7 ", kPoint, true, 7},
        {"12.4", kPoint, true, 12},
        {"12,4", kComma, true, 12},
        {"-5", kPoint, true, -5},
        {"+5", kPoint, true, 5},
        {"1E3", kPoint, true, 1000},
        {".5", kPoint, true, 0},
        {"1e300", kPoint, true, std::nullopt},
        {" -123456789012.25 ", kPoint, true, std::nullopt},
        // The grouping separator between digits of the whole part counts for nothing.
        {"1.5", kComma, true, 15},
        {"2.500,25", kComma, true, 2500},
        {"1,5", kPoint, true, 15},
        {"-1,000.5", kPoint, true, -1000},
        {"1.000.000", kComma, true, std::nullopt},
        // Not numbers.
        {"", kPoint, false, std::nullopt},
        {"   ", kPoint, false, std::nullopt},
        {"abc", kPoint, false, std::nullopt},
        {"12a", kPoint, false, std::nullopt},
        {"5-", kPoint, false, std::nullopt},
        {"-", kPoint, false, std::nullopt},
        {"+", kPoint, false, std::nullopt},
        {".", kPoint, false, std::nullopt},
        {"1E", kPoint, false, std::nullopt},
        {"1e400", kPoint, false, std::nullopt},
        {"12.4", NumberSeparators{",", ""}, false, std::nullopt},   // no grouping in these settings
        {",5", kPoint, false, std::nullopt},                       // grouping needs a digit before it
        {"1,", kPoint, false, std::nullopt},                       // ... and after it
        {"1,,5", kPoint, false, std::nullopt},
        {"1.5,0", kPoint, false, std::nullopt},                    // not in the fraction
        {"1.5e1,0", kPoint, false, std::nullopt},                  // nor in the exponent
        // Sixteen-bit range of whole numbers, rounded with ties to even.
        {"32767", kPoint, true, 32767},
        {"-32768", kPoint, true, -32768},
        {"32768", kPoint, true, std::nullopt},
        {"-32769", kPoint, true, std::nullopt},
        {"32767.4", kPoint, true, 32767},
        {"32767.5", kPoint, true, std::nullopt},
        {"-32768.5", kPoint, true, -32768},
        {"2.5", kPoint, true, 2},
        {"1e5", kPoint, true, std::nullopt},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(IsNumericText(c.text, c.separators), c.numeric) << '"' << c.text << '"';
        EXPECT_EQ(kfield::wholeNumberOf(c.text, c.separators), c.whole) << '"' << c.text << '"';
        EXPECT_EQ(IsIntegerText(c.text, c.separators), c.whole.has_value()) << '"' << c.text << '"';
    }
}

TEST(FitsLength, CountsCharactersNotBytes)
{
    EXPECT_TRUE(FitsLength("abcde", 5));
    EXPECT_FALSE(FitsLength("abcdef", 5));
    EXPECT_TRUE(FitsLength("", 0));
    EXPECT_TRUE(FitsLength("\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6", 5)); // five umlauts, ten bytes
    EXPECT_FALSE(FitsLength("a", -1));
}
