// The small text rules of the transfer files: number rendering, number and length checks, UTF-8
// handling, line writing and the language lines that name the command types; most are rows of
// tables under tests/data/kfield.
#include "platform/CodePage.h"
#include "kfield/LineWriter.h"
#include "kfield/NumberFormat.h"
#include "kfield/TypeTexts.h"
#include "kfield/Utf8.h"
#include "kfield/mdl_Allgemein.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <functional>
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

namespace {

// A table cell with \xNN written for the byte it stands for.
std::string withBytes(std::string cell)
{
    for (std::size_t at = 0; (at = cell.find("\\x", at)) != std::string::npos; ++at)
        cell.replace(at, 4, 1, static_cast<char>(std::stoi(cell.substr(at + 2, 2), nullptr, 16)));
    return cell;
}

std::string keyLineIn(int codePage, const std::string& value)
{
    std::ostringstream out;
    LineWriter(out, *config::codePageByNumber(codePage)).keyLine("K1002", value);
    return out.str();
}

using Rule = std::function<std::string(const std::string& text, const std::string& argument)>;

} // namespace

TEST(TextRules, GiveTheResultsOfTheirTable)
{
    const std::map<std::string, Rule> rules{
        {"count", [](const std::string& text, const std::string&) { return std::to_string(characterCount(text)); }},
        {"first", [](const std::string& text, const std::string& count) { return firstCharacters(text, std::stoul(count)); }},
        {"fits", [](const std::string& text, const std::string& length) {
             return FitsLength(text, static_cast<std::int16_t>(std::stoi(length))) ? "yes" : "no";
         }},
        {"trim", [](const std::string& text, const std::string&) { return trimBlanks(text); }},
        {"upper", [](const std::string& text, const std::string&) { return upperCase(text); }},
        {"safe", [](const std::string& text, const std::string&) { return lineSafe(text); }},
        {"line", [](const std::string& text, const std::string& codePage) { return keyLineIn(std::stoi(codePage), text); }},
        {"unit", [](const std::string&, const std::string& code) { return std::string(unitText(std::stoi(code))); }},
    };
    for (const TableRow& row : tableRows("kfield/text-rules.txt"))
        EXPECT_EQ(rules.at(row[0])(withBytes(row[1]), row[2]), withBytes(row[3])) << row[0] << "|" << row[1] << "|" << row[2];
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
}
