#include "kfield/Utf8.h"

#include <gtest/gtest.h>

using namespace kfield;

TEST(Utf8, UpperCasesLatinLetters)
{
    EXPECT_EQ(upperCase("k2060"), "K2060");
    EXPECT_EQ(upperCase("gr\xC3\xB6\xC3\x9F" "e"), "GR\xC3\x96\xC3\x9F" "E");   // ö -> Ö, ß stays
    EXPECT_EQ(upperCase("\xC4\x8D\xC5\x99\xC5\xBE"), "\xC4\x8C\xC5\x98\xC5\xBD"); // č ř ž -> Č Ř Ž
    EXPECT_EQ(upperCase("\xC4\xBA\xC3\xBF"), "\xC4\xB9\xC5\xB8");                 // ĺ ÿ -> Ĺ Ÿ
    EXPECT_EQ(upperCase("\xC3\xB7"), "\xC3\xB7");                                 // ÷ is no letter
}

TEST(Utf8, TrimsOnlyBlanks)
{
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta "), "\ta");
    EXPECT_EQ(trimBlanks("   "), "");
}

TEST(Utf8, CutsWholeCharacters)
{
    EXPECT_EQ(firstCharacters("\xC3\x84" "bc", 2), "\xC3\x84" "b");
    EXPECT_EQ(firstCharacters("ab", 5), "ab");
    EXPECT_EQ(characterCount("\xE2\x82\xAC" "1"), 2u); // € and 1
}

TEST(Utf8, KeepsMalformedBytes)
{
    EXPECT_EQ(upperCase("a\xFF" "b"), "A\xFF" "B");
    EXPECT_EQ(characterCount("\xC3"), 1u);
}
