#include <gtest/gtest.h>

#include <set>
#include <string>

#include "config/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/Files.h"

using config::LanguageFileError;
using config::LanguageTexts;
using testing_support::TemporaryDirectory;
using testing_support::writeBytes;

namespace {

// "line 1", "line 2", ... each followed by the given line end.
std::string numberedLines(int count, const std::string& lineEnd = "\r\n")
{
    std::string bytes;
    for (int number = 1; number <= count; ++number)
        bytes += "line " + std::to_string(number) + lineEnd;
    return bytes;
}

// The numbered lines with the first ones replaced by the given bytes.
std::string startingWith(const std::string& first, int replacedLines)
{
    return first + numberedLines(165).substr(numberedLines(replacedLines).size());
}

class LanguageFile : public ::testing::Test {
protected:
    LanguageTexts load(const std::string& bytes, int codePage = 1252)
    {
        writeBytes(file(), bytes);
        return config::loadLanguageFile(file(), *config::codePageByNumber(codePage));
    }

    std::filesystem::path file() const { return m_directory / "resource.dll"; }

    TemporaryDirectory m_directory;
};

} // namespace

TEST_F(LanguageFile, SplitsAndDecodesTheLinesIntoTheirSlots)
{
    const std::string x4095(4095, 'x');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::pair<int, std::string>> lines; // text line -> its text
        int codePage = 1252;
    } cases[] = {
        {"lines after 165", numberedLines(165) + "\x81\x8D\r\n" + std::string(100000, 'x') + "\r\n\r\r\nline 169\nline 170",
         {{1, "line 1"}, {165, "line 165"}}},
        {"no line end after the last line", numberedLines(165).substr(0, numberedLines(165).size() - 2), {{165, "line 165"}}},
        {"an empty line", numberedLines(164) + "\r\n", {{164, "line 164"}, {165, ""}}},
        {"lone CR", numberedLines(165, "\r"), {{1, "line 1"}, {2, "line 2"}, {165, "line 165"}}},
        {"lone LF belongs to the text", startingWith("first\nsecond\r\n", 1), {{1, "first\nsecond"}, {2, "line 2"}, {165, "line 165"}}},
        {"CR before CR LF", startingWith("line 1\r\r\n", 2), {{1, "line 1"}, {2, ""}, {3, "line 3"}}},
        {"CR LF split across reads", startingWith(x4095 + "\r\n", 1), {{1, x4095}, {2, "line 2"}, {165, "line 165"}}},
        {"blanks kept", startingWith("  Norda \t\r\n", 1), {{1, "  Norda \t"}}},
        {"an ignored line may hold anything", startingWith(numberedLines(4) + "\x81\x8D undefined " + std::string(5000, '#') + "\r\n", 5),
         {{4, "line 4"}, {5, ""}, {6, "line 6"}}},
        {"windows-1252", startingWith("\xC4nderung f\xFCr Gr\xF6\xDF" "e\r\n\xA5\r\n", 2),
         {{1, "\xC3\x84nderung f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e"}, {2, "\xC2\xA5"}, {3, "line 3"}}},
        {"windows-1250", startingWith("\xA5\r\n", 1), {{1, "\xC4\x84"}, {2, "line 2"}}, 1250},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const LanguageTexts texts = load(c.bytes, c.codePage);
        for (const auto& [number, text] : c.lines)
            EXPECT_EQ(texts.line(number), text) << "text line " << number;
    }
    const std::set<int> ignored{5, 12, 29, 66, 73, 89, 96, 149};
    const LanguageTexts texts = load(numberedLines(165));
    for (int number = 1; number <= 165; ++number)
        EXPECT_EQ(texts.line(number), ignored.contains(number) ? "" : "line " + std::to_string(number));
}

TEST_F(LanguageFile, RefusesAFileItCannotUseNamingFileAndReason)
{
    const struct {
        const char* name;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {"164 lines", numberedLines(164), "it has 164 lines, 165 are needed"},
        {"empty", "", "it has 0 lines, 165 are needed"},
        {"one line", "only line\r\n", "it has 1 line, 165 are needed"},
        {"LF alone ends no line", numberedLines(165, "\n"), "it has 1 line, 165 are needed"},
        {"missing", "", "No such file or directory"},
        {"a directory", "", "Is a directory"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(file());
        if (c.reason == "Is a directory")
            std::filesystem::create_directory(file());
        else if (c.reason != "No such file or directory")
            writeBytes(file(), c.bytes);
        try {
            config::loadLanguageFile(file(), *config::codePageByNumber(1252));
            ADD_FAILURE() << "the file was loaded";
        } catch (const LanguageFileError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot use the language file \"" + file().string() + "\": " + c.reason);
            EXPECT_EQ(error.file(), file());
            EXPECT_EQ(error.reason(), c.reason);
        }
    }
}

TEST_F(LanguageFile, ResourceTextsComeFromResourceDllOrStayAsTheyWere)
{
    const auto codePage = config::codePageByNumber(1252);
    writeBytes(m_directory / "English.dll", numberedLines(165));
    LanguageTexts texts;
    EXPECT_THROW(config::LoadResourceTexts(texts, m_directory.path(), *codePage), LanguageFileError);
    writeBytes(file(), startingWith("Konverter\r\n", 1));
    config::LoadResourceTexts(texts, m_directory.path(), *codePage);
    EXPECT_EQ(texts.line(1), "Konverter");

    writeBytes(file(), numberedLines(164));
    EXPECT_THROW(config::LoadResourceTexts(texts, m_directory.path(), *codePage), LanguageFileError);
    EXPECT_EQ(texts.line(1), "Konverter");
    EXPECT_EQ(texts.line(165), "line 165");
}
