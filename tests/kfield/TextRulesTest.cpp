// The small text rules of the transfer files: number rendering, number and length checks, UTF-8
// handling, line writing and the language lines that name the command types.
#include "config/CodePage.h"
#include "kfield/LineWriter.h"
#include "kfield/NumberFormat.h"
#include "kfield/TypeTexts.h"
#include "kfield/Utf8.h"
#include "kfield/mdl_Allgemein.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

using namespace kfield;

TEST(NumberFormat, RoundsTiesAwayFromZeroWithTheGivenSeparator)
{
    const struct {
        double value;
        int places;
        const char* separator;
        const char* text;
    } cases[] = {
        {-0.5, 4, ",", "-0,5000"},         {25, 5, ".", "25.00000"},       {0.1 + 0.2, 3, ".", "0.300"},
        {123456789.125, 4, ".", "123456789.1250"}, {0.000001, 4, ".", "0.0000"},
        {1.03125, 4, ".", "1.0313"},       {-1.03125, 4, ".", "-1.0313"}, {0.96875, 4, ".", "0.9688"},
        {2.5, 0, ".", "3"},                {9.5, 0, ".", "10"},           {25.03124, 4, ".", "25.0312"},
        {0.123456, 5, ".", "0.12346"},     {-0.0, 5, ".", "0.00000"},     {-0.00004, 4, ".", "0.0000"},
        {-0.00005, 4, ".", "-0.0001"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.places, c.separator), c.text) << c.value << " with " << c.places;
    const std::string huge = formatFixed(1e300, 4, ".");
    EXPECT_EQ(huge.size(), 301u + 5u);
    EXPECT_TRUE(huge.ends_with(".0000"));
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::infinity(), 4, "."), std::domain_error);
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::quiet_NaN(), 4, "."), std::domain_error);
}

TEST(NumberTexts, ReadTheFormsOfTheRegionalSettings)
{
    const NumberSeparators point{".", ","};
    const NumberSeparators comma{",", "."};
    const struct {
        const char* text;
        const NumberSeparators& separators;
        bool numeric;
        std::optional<std::int16_t> whole; // rounded with ties to even, in the sixteen-bit range
    } cases[] = {
        {"12", point, true, 12}, {" 7 ", point, true, 7}, {"12.4", point, true, 12}, {"12,4", comma, true, 12},
        {"-5", point, true, -5}, {"+5", point, true, 5}, {"1E3", point, true, 1000}, {".5", point, true, 0},
        {"-.5", point, true, 0}, {"1e-2", point, true, 0}, {"1e300", point, true, std::nullopt},
        {" -123456789012.25 ", point, true, std::nullopt},
        // The grouping separator between digits of the whole part counts for nothing.
        {"1.5", comma, true, 15}, {"2.500,25", comma, true, 2500}, {"1,5", point, true, 15},
        {"-1,000.5", point, true, -1000}, {"1.000.000", comma, true, std::nullopt},
        {"32767", point, true, 32767}, {"-32768", point, true, -32768}, {"32768", point, true, std::nullopt},
        {"-32769", point, true, std::nullopt}, {"32767.4", point, true, 32767}, {"32767.5", point, true, std::nullopt},
        {"-32768.5", point, true, -32768}, {"2.5", point, true, 2}, {"1e5", point, true, std::nullopt},
        // Not numbers: a sign, separator or exponent needs digits.
        {"", point, false, {}}, {"   ", point, false, {}}, {"abc", point, false, {}}, {"12a", point, false, {}},
        {"5-", point, false, {}}, {"-", point, false, {}}, {"+", point, false, {}}, {" + ", point, false, {}},
        {"+-5", point, false, {}}, {"--5", point, false, {}}, {"- 5", point, false, {}}, {"-e5", point, false, {}},
        {"+.", point, false, {}}, {".", point, false, {}}, {"1E", point, false, {}}, {"1e+", point, false, {}},
        {"1e400", point, false, {}}, {"12.4", NumberSeparators{",", ""}, false, {}}, {",5", point, false, {}},
        {"1,", point, false, {}}, {"1,,5", point, false, {}}, {"1.5,0", point, false, {}}, {"1.5e1,0", point, false, {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsNumericText(c.text, c.separators), c.numeric) << '"' << c.text << '"';
        EXPECT_EQ(wholeNumberOf(c.text, c.separators), c.whole) << '"' << c.text << '"';
        EXPECT_EQ(IsIntegerText(c.text, c.separators), c.whole.has_value()) << '"' << c.text << '"';
    }
}

TEST(Utf8, CountsCutsAndKeepsMalformedBytes)
{
    // Each lead byte range at its bounds; a byte outside them, or a sequence cut short, counts alone.
    const std::pair<const char*, std::size_t> counts[] = {
        {"\xC1\x81", 2},         {"\xC2\x80", 1},         {"\xDF\xBF", 1},     {"\xE0\xA0\x80", 1},
        {"\xEF\xBF\xBF", 1},     {"\xF0\x90\x80\x80", 1}, {"\xF4\x8F\xBF\xBF", 1}, {"\xF5\x80\x80\x80", 4},
        {"\xE2\x82", 2},         {"\xE2\x82\xAC" "1", 2}, {"\xC3" "a", 2},     {"\xC3", 1},
    };
    for (const auto& [text, count] : counts)
        EXPECT_EQ(characterCount(text), count) << testing::PrintToString(std::string(text));
    EXPECT_EQ(firstCharacters("\xC3\x84" "bc", 2), "\xC3\x84" "b");
    EXPECT_EQ(firstCharacters("\xF0\x9F\x98\x80" "b", 1), "\xF0\x9F\x98\x80");
    EXPECT_EQ(firstCharacters("ab", 5), "ab");
    EXPECT_TRUE(FitsLength("\xC3\x84\xC3\x96\xC3\x9C\xC3\xA4\xC3\xB6", 5)); // five umlauts, ten bytes
    EXPECT_FALSE(FitsLength("abcdef", 5));
    EXPECT_TRUE(FitsLength("", 0));
    EXPECT_FALSE(FitsLength("a", -1));
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\ta "), "\ta");
    EXPECT_EQ(trimBlanks("   "), "");
}

TEST(Utf8, UpperCasesLatinLettersOnly)
{
    const std::pair<const char*, const char*> cases[] = {
        {"k2060 az", "K2060 AZ"}, {"`{@[", "`{@["},
        {"\xC3\xA0\xC3\xBE\xC3\x9F", "\xC3\x80\xC3\x9E\xC3\x9F"}, // à þ -> À Þ, ß stays
        {"\xC3\xB7\xC3\xBF", "\xC3\xB7\xC5\xB8"},                 // ÷ is no letter, ÿ -> Ÿ
        {"\xC4\x81\xC5\xB7\xC4\x80", "\xC4\x80\xC5\xB6\xC4\x80"}, // ā ŷ -> Ā Ŷ, Ā stays
        {"\xC4\xB1\xC4\xB8\xC5\x89", "\xC4\xB1\xC4\xB8\xC5\x89"}, // ı ĸ ŉ have no capital here
        {"\xC4\xBA\xC5\x88\xC4\xB9", "\xC4\xB9\xC5\x87\xC4\xB9"}, // ĺ ň -> Ĺ Ň, Ĺ stays
        {"\xC5\xBA\xC5\xBE\xC5\xB9", "\xC5\xB9\xC5\xBD\xC5\xB9"}, // ź ž -> Ź Ž, Ź stays
        {"\xC5\xBF\xE2\x82\xAC", "\xC5\xBF\xE2\x82\xAC"},         // ſ and € stay
        {"a\xFF" "b\xC3", "A\xFF" "B\xC3"},
    };
    for (const auto& [text, upper] : cases)
        EXPECT_EQ(upperCase(text), upper) << text;
}

namespace {

std::string written(int codePage, void (*write)(LineWriter&))
{
    std::ostringstream out;
    const auto encoding = config::codePageByNumber(codePage);
    LineWriter writer(out, *encoding);
    write(writer);
    return out.str();
}

} // namespace

TEST(LineWriter, EncodesEveryLineAndEndsItWithCrLf)
{
    EXPECT_EQ(written(1252, [](LineWriter& w) { w.keyLine("K1001", ""); w.characteristicLine("K2001", 12, "DIM1"); }),
              "K1001 \r\nK2001/12 DIM1\r\n");
    // Ä and € in windows-1252; Ř is not in it and becomes "?", but is 0xD8 in windows-1250.
    EXPECT_EQ(written(1252, [](LineWriter& w) { w.keyLine("K1002", "\xC3\x84\xE2\x82\xAC \xC5\x98"); }), "K1002 \xC4\x80 ?\r\n");
    EXPECT_EQ(written(1250, [](LineWriter& w) { w.keyLine("K1002", "\xC5\x98"); }), "K1002 \xD8\r\n");
    EXPECT_EQ(written(1252, [](LineWriter& w) { w.keyLine("K1002", "A\r\nB\x14" "C\x0F"); }), "K1002 A  B C \r\n");
    EXPECT_EQ(lineSafe(std::string("a\0b\x1A" "c", 5)), "a b c");
    EXPECT_EQ(lineSafe("tab\tstays"), "tab\tstays");
}

TEST(TypeTexts, NameEachTypeByItsLanguageLine)
{
    // type -> language line, per table; every other type in the range has no name in that table.
    const std::map<int, int> single{{1100, 147}, {1101, 145}, {1102, 140}, {1103, 143}, {1104, 142}, {1105, 144},
                                    {1106, 136}, {1107, 134}, {1108, 135}, {1109, 133}, {1110, 146}, {1111, 139},
                                    {1112, 137}, {1113, 141}, {1114, 138}};
    const std::map<int, int> axisLine{{1002, 112}, {1003, 113}, {1004, 114}, {1005, 98},  {1006, 105}, {1007, 97},
                                      {1008, 111}, {1009, 104}, {1010, 102}, {1012, 101}, {1013, 103}, {1014, 108},
                                      {1015, 109}, {1016, 107}, {1017, 100}, {1018, 99},  {1019, 106}, {1020, 110}};
    const std::map<int, int> positionAxis{{1202, 129}, {1203, 130}, {1204, 131}, {1205, 118}, {1206, 119}, {1207, 124},
                                          {1208, 123}, {1210, 121}, {1211, 127}, {1212, 122}, {1213, 128}, {1214, 115},
                                          {1215, 116}, {1216, 117}, {1217, 120}, {1218, 125}, {1219, 126}};
    const auto lineIn = [](const std::map<int, int>& table, int type) {
        const auto entry = table.find(type);
        return entry == table.end() ? std::nullopt : std::optional<int>(entry->second);
    };
    for (int type = 990; type <= 1230; ++type) {
        EXPECT_EQ(singleTypeLine(type), lineIn(single, type)) << type;
        EXPECT_EQ(axisLineTypeLine(type), lineIn(axisLine, type)) << type;
        EXPECT_EQ(positionAxisTypeLine(type), lineIn(positionAxis, type)) << type;
    }
    EXPECT_STREQ(unitText(0), "INCH");
    EXPECT_STREQ(unitText(1), "MM");
    EXPECT_STREQ(unitText(2), "DEG");
    EXPECT_STREQ(unitText(3), "");
    EXPECT_STREQ(unitText(-1), "");
}
