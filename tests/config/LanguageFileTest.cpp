#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/CodePage.h"
#include "config/mdl_Sprache_Laden.h"
#include "support/Files.h"

using config::LanguageFileError;
using config::LanguageTexts;
using config::loadLanguageFile;
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

class LanguageFile : public ::testing::Test {
protected:
    LanguageTexts load(const std::string& bytes)
    {
        writeBytes(file(), bytes);
        return loadLanguageFile(file(), *m_codePage);
    }

    // The message of the LanguageFileError that loading these bytes throws.
    std::string refusal(const std::string& bytes)
    {
        writeBytes(file(), bytes);
        try {
            loadLanguageFile(file(), *m_codePage);
        } catch (const LanguageFileError& error) {
            return error.what();
        }
        ADD_FAILURE() << "the file was loaded";
        return {};
    }

    std::filesystem::path file() const { return m_directory / "resource.dll"; }

    TemporaryDirectory m_directory;
    std::unique_ptr<config::CodePage> m_codePage = config::codePageByNumber(1252);
};

} // namespace

TEST_F(LanguageFile, FillsEverySlotFromItsOwnLine)
{
    const LanguageTexts texts = load(numberedLines(165));
    EXPECT_EQ(texts.line(1), "line 1");
    EXPECT_EQ(texts.line(4), "line 4");
    EXPECT_EQ(texts.line(6), "line 6");
    EXPECT_EQ(texts.line(150), "line 150");
    EXPECT_EQ(texts.line(165), "line 165");
}

TEST_F(LanguageFile, LinesAfter165HaveNoEffect)
{
    const LanguageTexts exact = load(numberedLines(165));
    // Lines 166 to 170 hold bytes that are no text in any code page and lines far longer than any text.
    const LanguageTexts longer = load(numberedLines(165) + "\x81\x8D\x8F\x90\x9D\r\n" + std::string(100000, 'x') +
                                      "\r\n\r\r\nline 169\nline 170");
    for (int number = 1; number <= 165; ++number)
        EXPECT_EQ(longer.line(number), exact.line(number)) << "text line " << number;
}

TEST_F(LanguageFile, Refuses164LinesNamingTheFile)
{
    EXPECT_EQ(refusal(numberedLines(164)),
              "Cannot use the language file \"" + file().string() + "\": it has 164 lines, 165 are needed");
}

TEST_F(LanguageFile, RefusesAnEmptyFile)
{
    EXPECT_EQ(refusal(""), "Cannot use the language file \"" + file().string() + "\": it has 0 lines, 165 are needed");
}

TEST_F(LanguageFile, RefusesASingleLine)
{
    EXPECT_EQ(refusal("only line\r\n"),
              "Cannot use the language file \"" + file().string() + "\": it has 1 line, 165 are needed");
}

TEST_F(LanguageFile, RefusesAMissingFileWithTheSystemsReason)
{
    const std::filesystem::path missing = m_directory / "German.dll";
    try {
        loadLanguageFile(missing, *m_codePage);
        FAIL() << "a missing file was loaded";
    } catch (const LanguageFileError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot use the language file \"" + missing.string() + "\": No such file or directory");
        EXPECT_EQ(error.file(), missing);
        EXPECT_EQ(error.reason(), "No such file or directory");
    }
}

TEST_F(LanguageFile, RefusesADirectory)
{
    std::filesystem::create_directory(file());
    try {
        loadLanguageFile(file(), *m_codePage);
        FAIL() << "a directory was loaded";
    } catch (const LanguageFileError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot use the language file \"" + file().string() + "\": Is a directory");
    }
}

TEST_F(LanguageFile, LastLineWithoutLineEndCounts)
{
    std::string bytes = numberedLines(165);
    bytes.resize(bytes.size() - 2);   // no CR LF after "line 165"
    EXPECT_EQ(load(bytes).line(165), "line 165");
}

TEST_F(LanguageFile, EmptyLineIsALineOfItsOwn)
{
    // 164 lines, then an empty line 165: the CR LF pair after it is one line end, not two.
    const LanguageTexts texts = load(numberedLines(164) + "\r\n");
    EXPECT_EQ(texts.line(164), "line 164");
    EXPECT_EQ(texts.line(165), "");
}

TEST_F(LanguageFile, LoneCrEndsALine)
{
    const LanguageTexts texts = load(numberedLines(165, "\r"));
    EXPECT_EQ(texts.line(1), "line 1");
    EXPECT_EQ(texts.line(2), "line 2");
    EXPECT_EQ(texts.line(165), "line 165");
}

TEST_F(LanguageFile, LoneLfBelongsToTheText)
{
    // A message of two lines in one text line; the texts after it keep their numbers.
    const LanguageTexts texts = load("first\nsecond\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size()));
    EXPECT_EQ(texts.line(1), "first\nsecond");
    EXPECT_EQ(texts.line(2), "line 2");
    EXPECT_EQ(texts.line(165), "line 165");
    // A file with LF alone as line end is one long line, and is refused as too short.
    EXPECT_THROW(load(numberedLines(165, "\n")), config::LanguageFileError);
}

TEST_F(LanguageFile, CrBeforeCrLfLeavesAnEmptyLine)
{
    // "line 1" CR, then an empty line ended by CR LF, then "line 3" ...: line ends may be mixed.
    const LanguageTexts texts = load("line 1\r\r\n" + numberedLines(165).substr(std::string("line 1\r\nline 2\r\n").size()));
    EXPECT_EQ(texts.line(1), "line 1");
    EXPECT_EQ(texts.line(2), "");
    EXPECT_EQ(texts.line(3), "line 3");
}

TEST_F(LanguageFile, CrLfSplitAcrossReadsIsOneLineEnd)
{
    // The CR is the last byte of the first 4096-byte read and the LF the first of the next.
    const std::string first(4095, 'x');
    const LanguageTexts texts = load(first + "\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size()));
    EXPECT_EQ(texts.line(1), first);
    EXPECT_EQ(texts.line(2), "line 2");
    EXPECT_EQ(texts.line(165), "line 165");
}

TEST_F(LanguageFile, KeepsBlanksAroundATextAsTheyAre)
{
    std::string bytes = "  Norda \t\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size());
    EXPECT_EQ(load(bytes).line(1), "  Norda \t");
}

TEST_F(LanguageFile, DecodesWindows1252Umlauts)
{
    // "Änderung für Größe" in windows-1252 on line 7.
    const std::string caption = "\xC4nderung f\xFCr Gr\xF6\xDF" "e";
    std::string bytes = numberedLines(6) + caption + "\r\n" + numberedLines(165).substr(numberedLines(7).size());
    const LanguageTexts texts = load(bytes);
    EXPECT_EQ(texts.line(7), "\xC3\x84nderung f\xC3\xBCr Gr\xC3\xB6\xC3\x9F" "e");
    EXPECT_EQ(texts.line(8), "line 8");
}

TEST_F(LanguageFile, DecodesWithTheGivenCodePage)
{
    // The same byte is "¥" in windows-1252 and "Ą" in windows-1250.
    const std::string bytes = "\xA5\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size());
    writeBytes(file(), bytes);
    EXPECT_EQ(loadLanguageFile(file(), *config::codePageByNumber(1252)).line(1), "\xC2\xA5");
    EXPECT_EQ(loadLanguageFile(file(), *config::codePageByNumber(1250)).line(1), "\xC4\x84");
}

TEST_F(LanguageFile, IgnoredLineMayHoldAnything)
{
    std::string bytes = numberedLines(4) + "\x81\x8D\x8F undefined bytes and " + std::string(5000, '#') + "\r\n" +
                        numberedLines(165).substr(numberedLines(5).size());
    const LanguageTexts texts = load(bytes);
    EXPECT_EQ(texts.line(5), "");
    EXPECT_EQ(texts.line(4), "line 4");
    EXPECT_EQ(texts.line(6), "line 6");
}

TEST_F(LanguageFile, ResourceTextsComeFromResourceDllInTheProgramDirectory)
{
    writeBytes(m_directory / "English.dll", numberedLines(165, "\r\n"));
    writeBytes(file(), "Konverter\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size()));
    LanguageTexts texts;
    config::LoadResourceTexts(texts, m_directory.path(), *m_codePage);
    EXPECT_EQ(texts.line(1), "Konverter");
    EXPECT_EQ(texts.line(165), "line 165");
}

TEST_F(LanguageFile, FailedResourceLoadKeepsTheOldTexts)
{
    writeBytes(file(), "Konverter\r\n" + numberedLines(165).substr(std::string("line 1\r\n").size()));
    LanguageTexts texts;
    config::LoadResourceTexts(texts, m_directory.path(), *m_codePage);

    writeBytes(file(), numberedLines(164));
    EXPECT_THROW(config::LoadResourceTexts(texts, m_directory.path(), *m_codePage), LanguageFileError);
    std::filesystem::remove(file());
    EXPECT_THROW(config::LoadResourceTexts(texts, m_directory.path(), *m_codePage), LanguageFileError);

    EXPECT_EQ(texts.line(1), "Konverter");
    EXPECT_EQ(texts.line(2), "line 2");
    EXPECT_EQ(texts.line(165), "line 165");
}

TEST_F(LanguageFile, MissingResourceDllIsNamedInTheMessage)
{
    LanguageTexts texts;
    try {
        config::LoadResourceTexts(texts, m_directory.path(), *m_codePage);
        FAIL() << "loaded without resource.dll";
    } catch (const LanguageFileError& error) {
        EXPECT_EQ(error.file(), m_directory.path() / "resource.dll");
    }
}
