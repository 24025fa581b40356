#include "kfield/mdl_Allgemein.h"

#include <gtest/gtest.h>

using kfield::FitsLength;
using kfield::IsIntegerText;
using kfield::IsNumericText;

TEST(IsIntegerText, AcceptsWholeNumbersAndRoundedFractions)
{
    EXPECT_TRUE(IsIntegerText("12", "."));
    EXPECT_TRUE(IsIntegerText(" 7 ", "."));
    EXPECT_TRUE(IsIntegerText("12.4", "."));
    EXPECT_TRUE(IsIntegerText("12,4", ","));
    EXPECT_TRUE(IsIntegerText("-5", "."));
    EXPECT_TRUE(IsIntegerText("+5", "."));
    EXPECT_TRUE(IsIntegerText("1E3", "."));
    EXPECT_TRUE(IsIntegerText(".5", "."));
}

TEST(IsIntegerText, RefusesTextsThatAreNoNumber)
{
    EXPECT_FALSE(IsIntegerText("", "."));
    EXPECT_FALSE(IsIntegerText("   ", "."));
    EXPECT_FALSE(IsIntegerText("abc", "."));
    EXPECT_FALSE(IsIntegerText("12a", "."));
    EXPECT_FALSE(IsIntegerText("5-", "."));
    EXPECT_FALSE(IsIntegerText("-", "."));
    EXPECT_FALSE(IsIntegerText(".", "."));
    EXPECT_FALSE(IsIntegerText("1E", "."));
    EXPECT_FALSE(IsIntegerText("1,000", "."));     // no grouping separators
    EXPECT_FALSE(IsIntegerText("12.4", ","));      // the point is no decimal separator under a comma
}

TEST(IsIntegerText, KeepsToTheSixteenBitRange)
{
    EXPECT_TRUE(IsIntegerText("32767", "."));
    EXPECT_TRUE(IsIntegerText("-32768", "."));
    EXPECT_FALSE(IsIntegerText("32768", "."));
    EXPECT_FALSE(IsIntegerText("-32769", "."));
    EXPECT_FALSE(IsIntegerText("99999", "."));
    EXPECT_TRUE(IsIntegerText("32767.4", "."));
    EXPECT_FALSE(IsIntegerText("32767.5", "."));   // rounds to 32768
    EXPECT_TRUE(IsIntegerText("-32768.5", "."));   // ties to even: -32768
    EXPECT_FALSE(IsIntegerText("1e5", "."));
}

TEST(IsNumericText, AcceptsAnyNumberADoubleHolds)
{
    EXPECT_TRUE(IsNumericText("1.5", "."));
    EXPECT_TRUE(IsNumericText("1,5", ","));
    EXPECT_TRUE(IsNumericText(" -123456789012.25 ", "."));
    EXPECT_TRUE(IsNumericText("1e300", "."));
    EXPECT_FALSE(IsNumericText("1e400", "."));
    EXPECT_FALSE(IsNumericText("1.5", ","));
    EXPECT_FALSE(IsNumericText("one", "."));
    EXPECT_FALSE(IsNumericText("", "."));
}

TEST(FitsLength, CountsCharactersNotBytes)
{
    EXPECT_TRUE(FitsLength("abcde", 5));
    EXPECT_FALSE(FitsLength("abcdef", 5));
    EXPECT_TRUE(FitsLength("", 0));
    EXPECT_TRUE(FitsLength("\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6", 5)); // five umlauts, ten bytes
    EXPECT_FALSE(FitsLength("a", -1));
}
