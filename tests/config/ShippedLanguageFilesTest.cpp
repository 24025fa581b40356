#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "config/LanguageTexts.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/Files.h"

namespace {

// Shown nowhere but still present: they keep the numbers of the lines after them.
const std::set<int> kUnshownLines{27, 45, 48, 49, 50, 51, 52, 53, 57, 65, 72, 90, 91, 92, 93, 94, 95, 148, 156};

bool isKeywordLine(int number)
{
    return (number >= 150 && number <= 155) || (number >= 157 && number <= 165);
}

} // namespace

TEST(ShippedLanguageFiles, AreCompleteDecodableAndAgreeOnTheKeywords)
{
    std::filesystem::path reference;
    std::vector<std::string> referenceKeywords;
    for (const auto& entry : std::filesystem::directory_iterator(std::filesystem::path(NORDA_SOURCE_DIR) / "lang")) {
        const std::filesystem::path& file = entry.path();
        if (file.extension() != ".dll")
            continue;
        SCOPED_TRACE(file.filename().string());
        const std::string bytes = testing_support::readBytes(file);
        // 165 lines, each ended by CR LF and nothing else, every byte defined in the code page.
        ASSERT_TRUE(bytes.ends_with("\r\n"));
        EXPECT_EQ(std::ranges::count(bytes, '\r'), 165);
        EXPECT_EQ(std::ranges::count(bytes, '\n'), 165);
        for (std::size_t at = bytes.find('\r'); at != std::string::npos; at = bytes.find('\r', at + 1))
            EXPECT_EQ(bytes[at + 1], '\n') << "a CR without LF at byte " << at;
        // Czech is written in the central European code page, the others in the western one.
        const auto codePage = config::codePageByNumber(file.filename() == "Czech.dll" ? 1250 : 1252);
        EXPECT_EQ(codePage->decode(bytes).find("\xEF\xBF\xBD"), std::string::npos) << "a byte " << codePage->name() << " does not define";

        const config::LanguageTexts texts = config::loadLanguageFile(file, *codePage);
        std::vector<std::string> keywords;
        for (int number = 1; number <= config::kTextLineCount; ++number) {
            const std::string& text = texts.line(number);
            if (!config::LanguageTexts::isIgnoredLine(number) && !kUnshownLines.contains(number)) {
                EXPECT_NE(text.find_first_not_of(" \t"), std::string::npos) << "text line " << number << " is empty";
            }
            if (!isKeywordLine(number))
                continue;
            // A name is upper-cased and trimmed before it is compared, so a keyword with a lower-case
            // letter or a blank never matches; ASCII only, as upper-casing beyond it differs between systems.
            EXPECT_FALSE(text.empty()) << "keyword line " << number;
            EXPECT_EQ(text.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-"), std::string::npos) << "keyword line " << number;
            keywords.push_back(text);
        }
        // A part program must work whatever language the operator has chosen.
        if (reference.empty()) {
            reference = file.filename();
            referenceKeywords = keywords;
        }
        EXPECT_EQ(keywords, referenceKeywords) << "differs from " << reference;
        for (const auto& [first, last] : {std::pair{97, 114}, std::pair{115, 131}, std::pair{133, 147}}) {
            std::set<std::string> seen;
            for (int number = first; number <= last; ++number)
                EXPECT_TRUE(seen.insert(texts.line(number)).second) << "text line " << number << " repeats a type name";
        }
    }
    EXPECT_FALSE(reference.empty()) << "no language file found";
}
