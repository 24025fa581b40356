#include "kfield/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>

using kfield::formatFixed;

TEST(NumberFormat, UsesTheGivenDecimalSeparator)
{
    EXPECT_EQ(formatFixed(-0.5, 4, ","), "-0,5000");
    EXPECT_EQ(formatFixed(-0.5, 4, "."), "-0.5000");
    EXPECT_EQ(formatFixed(25, 5, ","), "25,00000");
}

TEST(NumberFormat, PadsToTheRequestedPlaces)
{
    EXPECT_EQ(formatFixed(25, 5, "."), "25.00000");
    EXPECT_EQ(formatFixed(0.1 + 0.2, 3, "."), "0.300");
    EXPECT_EQ(formatFixed(123456789.125, 4, "."), "123456789.1250");
    EXPECT_EQ(formatFixed(0.000001, 4, "."), "0.0000");
}

TEST(NumberFormat, RoundsTiesAwayFromZero)
{
    EXPECT_EQ(formatFixed(1.03125, 4, "."), "1.0313");   // exactly halfway in binary
    EXPECT_EQ(formatFixed(-1.03125, 4, "."), "-1.0313");
    EXPECT_EQ(formatFixed(0.96875, 4, "."), "0.9688");
    EXPECT_EQ(formatFixed(2.5, 0, "."), "3");
    EXPECT_EQ(formatFixed(9.5, 0, "."), "10");          // the carry runs into a new digit
    EXPECT_EQ(formatFixed(25.03124, 4, "."), "25.0312"); // not a tie: rounded to nearest
    EXPECT_EQ(formatFixed(0.123456, 5, "."), "0.12346");
}

TEST(NumberFormat, WritesNoMinusSignForZero)
{
    EXPECT_EQ(formatFixed(-0.0, 5, "."), "0.00000");
    EXPECT_EQ(formatFixed(-0.00004, 4, "."), "0.0000");
    EXPECT_EQ(formatFixed(-0.00005, 4, "."), "-0.0001");
}

TEST(NumberFormat, RefusesValuesThatAreNoFiniteNumber)
{
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::infinity(), 4, "."), std::domain_error);
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::quiet_NaN(), 4, "."), std::domain_error);
}

TEST(NumberFormat, WritesHugeValuesInFull)
{
    const std::string text = formatFixed(1e300, 4, ".");
    EXPECT_EQ(text.size(), 301u + 5u);
    EXPECT_EQ(text.substr(text.size() - 5), ".0000");
}
