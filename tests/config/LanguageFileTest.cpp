#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/Files.h"

#include <nlohmann/json.hpp>

using config::LanguageFileError;
using config::LanguageTexts;
using testing_support::TemporaryDirectory;
using testing_support::writeBytes;

namespace {

// "line 1", "line 2", ... each followed by CR LF.
std::string numberedLines(int count)
{
    std::string bytes;
    for (int number = 1; number <= count; ++number)
        bytes += "line " + std::to_string(number) + "\r\n";
    return bytes;
}

// The numbered lines with the first ones replaced by the given bytes.
std::string startingWith(const std::string& first, int replacedLines)
{
    return first + numberedLines(165).substr(numberedLines(replacedLines).size());
}

class LanguageFile : public ::testing::Test {
protected:
    LanguageTexts load(const std::string& bytes)
    {
        writeBytes(file(), bytes);
        return config::loadLanguageFile(file(), *config::codePageByNumber(1252));
    }

    std::filesystem::path file() const { return m_directory / "resource.dll"; }

    TemporaryDirectory m_directory;
};

} // namespace

// The files under tests/data/desktop/language-files, each split and decoded into the text lines its
// row names, or refused with its reason.
TEST(LanguageFileCases, AreSplitDecodedOrRefusedAsTheirRowsSay)
{
    const std::filesystem::path folder = testing_support::testDataDir() / "desktop" / "language-files";
    for (const nlohmann::json& row : nlohmann::json::parse(testing_support::readBytes(folder / "cases.json"))) {
        SCOPED_TRACE(row["case"].get<std::string>());
        const std::filesystem::path file = folder / row["file"].get<std::string>();
        const auto codePage = config::codePageByNumber(row.value("codePage", 1252));
        if (!row.contains("refused")) {
            const LanguageTexts texts = config::loadLanguageFile(file, *codePage);
            for (const auto& [number, text] : row["lines"].items())
                EXPECT_EQ(texts.line(std::stoi(number)), text) << "text line " << number;
            continue;
        }
        const std::string reason = row["refused"];
        try {
            config::loadLanguageFile(file, *codePage);
            ADD_FAILURE() << "the file was loaded";
        } catch (const LanguageFileError& error) {
            EXPECT_EQ(std::string(error.what()), "Cannot use the language file \"" + file.string() + "\": " + reason);
            EXPECT_EQ(error.file(), file);
            EXPECT_EQ(error.reason(), reason);
        }
    }
}

TEST_F(LanguageFile, LeavesTheIgnoredLinesEmpty)
{
    const std::set<int> ignored{5, 12, 29, 66, 73, 89, 96, 149};
    const LanguageTexts texts = load(numberedLines(165));
    for (int number = 1; number <= 165; ++number)
        EXPECT_EQ(texts.line(number), ignored.contains(number) ? "" : "line " + std::to_string(number));
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
