#include <gtest/gtest.h>

#include <string>

#include "platform/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/ErrorText.h"
#include "support/Files.h"

#include <nlohmann/json.hpp>

using config::LanguageFileError;
using config::LanguageTexts;
using testing_support::testDataDir;

// The files under tests/data/desktop/language-files, each split and decoded into the text lines its
// row names (and, if "numbered", "line N" on every other line N), or refused with its reason.
TEST(LanguageFileCases, AreSplitDecodedOrRefusedAsTheirRowsSay)
{
    const std::filesystem::path folder = testDataDir() / "desktop" / "language-files";
    for (const nlohmann::json& row : nlohmann::json::parse(testing_support::readBytes(folder / "cases.json"))) {
        SCOPED_TRACE(row["case"].get<std::string>());
        const std::filesystem::path file = folder / row["file"].get<std::string>();
        const auto codePage = config::codePageByNumber(row.value("codePage", 1252));
        if (!row.contains("refused")) {
            const LanguageTexts texts = config::loadLanguageFile(file, *codePage);
            for (int number = 1; number <= config::kTextLineCount; ++number) {
                const std::string key = std::to_string(number);
                if (row["lines"].contains(key)) {
                    EXPECT_EQ(texts.line(number), row["lines"][key]) << "text line " << number;
                } else if (row.value("numbered", false)) {
                    EXPECT_EQ(texts.line(number), "line " + key);
                }
            }
            continue;
        }
        EXPECT_EQ(testing_support::errorText<LanguageFileError>([&] { config::loadLanguageFile(file, *codePage); }),
                  "Cannot use the language file \"" + file.string() + "\": " + row["refused"].get<std::string>());
    }
}

// The texts come from resource.dll beside the program and from no other language file: the window
// flows. Here that a resource.dll that cannot be used leaves them as they were.
TEST(LanguageFile, ResourceTextsStayAsTheyWereWhenResourceDllCannotBeUsed)
{
    const std::filesystem::path cases = testDataDir() / "desktop" / "language-files";
    const auto codePage = config::codePageByNumber(1252);
    const testing_support::TemporaryDirectory dir;
    std::filesystem::copy_file(cases / "164-lines.dll", dir / "resource.dll");
    LanguageTexts texts = config::loadLanguageFile(cases / "windows-1252.dll", *codePage);
    EXPECT_THROW(config::LoadResourceTexts(texts, dir.path(), *codePage), LanguageFileError);
    EXPECT_EQ(texts.line(1), "\xC3\x84nderung f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e");
}
