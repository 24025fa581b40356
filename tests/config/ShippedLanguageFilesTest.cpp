#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "config/CodePage.h"
#include "config/LanguageTexts.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/Files.h"

namespace {

struct ShippedLanguage {
    const char* fileName;
    int codePage;
};

const ShippedLanguage kLanguages[] = {
    {"German.dll", 1252}, {"English.dll", 1252}, {"Czech.dll", 1250}, {"Spanish.dll", 1252},
    {"French.dll", 1252}, {"Portuguese.dll", 1252}, {"Italian.dll", 1252},
};

std::filesystem::path languageDir()
{
    return std::filesystem::path(NORDA_SOURCE_DIR) / "lang";
}

// The raw lines of a file whose every line ends in CR LF; fails the test at the first other line end.
std::vector<std::string> crLfLines(const std::string& bytes)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "line " << lines.size() + 1 << " does not end in CR LF";
            break;
        }
        const std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "lone CR or LF in line " << lines.size() + 1;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

// Shown nowhere but still present: they keep the numbers of the lines after them.
bool isUnshownLine(int number)
{
    static const std::set<int> unshown{27, 45, 48, 49, 50, 51, 52, 53, 57, 65, 72, 90, 91, 92, 93, 94, 95, 148, 156};
    return unshown.contains(number);
}

bool isKeywordLine(int number)
{
    return (number >= 150 && number <= 155) || (number >= 157 && number <= 165);
}

bool isBlankOnly(const std::string& text)
{
    return text.find_first_not_of(" \t") == std::string::npos;
}

class ShippedLanguageFile : public ::testing::TestWithParam<ShippedLanguage> {
protected:
    std::filesystem::path file() const { return languageDir() / GetParam().fileName; }
    std::vector<std::string> rawLines() const { return crLfLines(testing_support::readBytes(file())); }
    config::LanguageTexts texts() const
    {
        return config::loadLanguageFile(file(), *config::codePageByNumber(GetParam().codePage));
    }
};

} // namespace

TEST_P(ShippedLanguageFile, Has165LinesEachEndingInCrLf)
{
    EXPECT_EQ(rawLines().size(), 165u);
}

TEST_P(ShippedLanguageFile, DecodesWithoutReplacementCharacters)
{
    const auto codePage = config::codePageByNumber(GetParam().codePage);
    const std::vector<std::string> lines = rawLines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        EXPECT_EQ(codePage->decode(lines[index]).find("\xEF\xBF\xBD"), std::string::npos)
            << "text line " << index + 1 << " has a byte that " << codePage->name() << " does not define";
    }
}

TEST_P(ShippedLanguageFile, EveryShownLineHasText)
{
    const config::LanguageTexts loaded = texts();
    for (int number = 1; number <= config::kTextLineCount; ++number) {
        if (config::LanguageTexts::isIgnoredLine(number) || isUnshownLine(number))
            continue;
        EXPECT_FALSE(isBlankOnly(loaded.line(number))) << "text line " << number << " is empty";
    }
}

TEST_P(ShippedLanguageFile, KeywordsAreUpperCaseWithoutBlanks)
{
    // A part program's name is upper-cased and trimmed before it is compared, so a keyword with a
    // lower-case letter or a blank never matches. Keywords stay ASCII: upper-casing beyond ASCII
    // differs between systems.
    const config::LanguageTexts loaded = texts();
    for (int number = 150; number <= 165; ++number) {
        if (!isKeywordLine(number))
            continue;
        const std::string& keyword = loaded.line(number);
        EXPECT_FALSE(keyword.empty()) << "keyword line " << number;
        for (const char c : keyword) {
            const bool isUpperAsciiWord = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
            EXPECT_TRUE(isUpperAsciiWord) << "keyword line " << number << " \"" << keyword << "\"";
        }
    }
}

TEST_P(ShippedLanguageFile, TypeNamesAreDistinctWithinEachTable)
{
    const config::LanguageTexts loaded = texts();
    for (const auto& [first, last] : {std::pair{97, 114}, std::pair{115, 131}, std::pair{133, 147}}) {
        std::set<std::string> seen;
        for (int number = first; number <= last; ++number)
            EXPECT_TRUE(seen.insert(loaded.line(number)).second)
                << "text line " << number << " repeats the type name \"" << loaded.line(number) << "\"";
    }
}

INSTANTIATE_TEST_SUITE_P(Lang, ShippedLanguageFile, ::testing::ValuesIn(kLanguages),
                         [](const auto& info) {
                             const std::string name = info.param.fileName;
                             return name.substr(0, name.find('.'));
                         });

TEST(ShippedLanguageFiles, KeywordLinesAreTheSameInEveryLanguage)
{
    // A part program must work whatever language the operator has chosen.
    std::vector<std::string> reference;
    for (const auto& language : kLanguages) {
        const std::vector<std::string> lines = crLfLines(testing_support::readBytes(languageDir() / language.fileName));
        ASSERT_EQ(lines.size(), 165u) << language.fileName;
        std::vector<std::string> keywords;
        for (int number = 150; number <= 165; ++number) {
            if (isKeywordLine(number))
                keywords.push_back(lines[static_cast<std::size_t>(number - 1)]);
        }
        if (reference.empty())
            reference = keywords;
        EXPECT_EQ(keywords, reference) << language.fileName << " differs from " << kLanguages[0].fileName;
    }
    EXPECT_EQ(reference.size(), 15u);
}

TEST(ShippedLanguageFiles, AreExactlyTheSevenLanguages)
{
    std::set<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(languageDir())) {
        if (entry.path().extension() == ".dll")
            found.insert(entry.path().filename().string());
    }
    std::set<std::string> expected;
    for (const auto& language : kLanguages)
        expected.insert(language.fileName);
    EXPECT_EQ(found, expected);
}
