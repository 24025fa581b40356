// The small text rules of the transfer files: number rendering, number and length checks, UTF-8
// handling, line writing and the language lines that name the command types.
#include "platform/CodePage.h"
#include "kfield/LineWriter.h"
#include "kfield/NumberFormat.h"
#include "kfield/TypeTexts.h"
#include "kfield/Utf8.h"
#include "kfield/mdl_Allgemein.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>

using namespace kfield;
using testing_support::TableRow;
using testing_support::tableRows;

TEST(NumberFormat, RoundsTiesAwayFromZeroWithTheGivenSeparator)
{
    for (const TableRow& row : tableRows("kfield/number-format.txt"))
        EXPECT_EQ(formatFixed(std::stod(row[0]), std::stoi(row[1]), row[2]), row[3]) << row[0] << " with " << row[1];
    const std::string huge = formatFixed(1e300, 4, ".");
    EXPECT_EQ(huge.size(), 301u + 5u);
    EXPECT_TRUE(huge.ends_with(".0000"));
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::infinity(), 4, "."), std::domain_error);
    EXPECT_THROW(formatFixed(std::numeric_limits<double>::quiet_NaN(), 4, "."), std::domain_error);
}

TEST(NumberTexts, ReadTheFormsOfTheRegionalSettings)
{
    const std::map<std::string, NumberSeparators> separators{{"point", {".", ","}}, {"comma", {",", "."}}, {"bare-comma", {",", ""}}};
    for (const TableRow& row : tableRows("kfield/number-texts.txt")) {
        const std::string& text = row[0];
        const NumberSeparators& forms = separators.at(row[1]);
        const std::optional<std::int16_t> whole = row[3].empty() ? std::nullopt : std::optional<std::int16_t>(std::stoi(row[3]));
        EXPECT_EQ(IsNumericText(text, forms), row[2] == "yes") << '"' << text << '"';
        EXPECT_EQ(wholeNumberOf(text, forms), whole) << '"' << text << '"';
        EXPECT_EQ(IsIntegerText(text, forms), whole.has_value()) << '"' << text << '"';
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
    std::map<std::string, std::map<int, int>> tables;
    for (const TableRow& row : tableRows("kfield/type-lines.txt"))
        tables[row[0]][std::stoi(row[1])] = std::stoi(row[2]);
    const auto lineIn = [&tables](const std::string& table, int type) {
        const auto entry = tables[table].find(type);
        return entry == tables[table].end() ? std::nullopt : std::optional<int>(entry->second);
    };
    for (int type = 990; type <= 1230; ++type) {
        EXPECT_EQ(singleTypeLine(type), lineIn("single", type)) << type;
        EXPECT_EQ(axisLineTypeLine(type), lineIn("axis", type)) << type;
        EXPECT_EQ(positionAxisTypeLine(type), lineIn("position", type)) << type;
    }
    EXPECT_STREQ(unitText(0), "INCH");
    EXPECT_STREQ(unitText(1), "MM");
    EXPECT_STREQ(unitText(2), "DEG");
    EXPECT_STREQ(unitText(3), "");
    EXPECT_STREQ(unitText(-1), "");
}
