// The code pages give the same bytes on every system: the transfer files must not depend on the
// system that wrote them. The same cases run in the Linux and in the Windows suite.
#include "platform/CodePage.h"

#include "platform/PlatformError.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/LocaleCodePage.h"
#include "support/Files.h"

#include <nlohmann/json.hpp>

#include <cstdlib>
#endif

namespace {

enum class Way { Both, Encode, Decode };

} // namespace

TEST(CodePage, EncodesAndDecodesTheSameBytesOnEverySystem)
{
    const struct {
        int number;
        const char* text;
        const char* bytes;
        Way way;
    } cases[] = {
        {1252, "Gr\xC3\xB6\xC3\x9F" "e \xC3\x84nderung \xE2\x82\xAC", "Gr\xF6\xDF" "e \xC4nderung \x80", Way::Both},
        {1250, "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD", "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD", Way::Both},
        {1252, "K2001/12 DIA_BEARING\x14\x0F", "K2001/12 DIA_BEARING\x14\x0F", Way::Both},
        {874, "\xE0\xB8\x81\xE0\xB9\x91", "\xA1\xF1", Way::Both}, // Thai: ko kai, digit one
        {1252, "a\xE4\xB8\xAD" "b", "a?b", Way::Encode},       // a Chinese character
        {1252, "a\xC3" "b", "a?b", Way::Encode},               // a broken sequence
        {1252, "\xC5\x82\xC4\x80", "??", Way::Encode},          // no best fit: a look-alike is a different text
#ifndef _WIN32
        // 0x81 is undefined in windows-1252; Windows itself decodes it as U+0081.
        {1252, "a\xEF\xBF\xBD" "b", "a\x81" "b", Way::Decode},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto codePage = config::codePageByNumber(c.number);
        EXPECT_EQ(codePage->name(), "windows-" + std::to_string(c.number));
        if (c.way != Way::Decode) {
            EXPECT_EQ(codePage->encode(c.text), c.bytes);
        }
        if (c.way != Way::Encode) {
            EXPECT_EQ(codePage->decode(c.bytes), c.text);
        }
    }
    EXPECT_THROW(config::codePageByNumber(4242), config::PlatformError);
}

#ifdef _WIN32
TEST(CodePage, SystemCodePageIsTheAnsiCodePage)
{
    // Wine's German and English locales have windows-1252.
    ASSERT_EQ(GetACP(), 1252u);
    const auto system = config::systemCodePage();
    EXPECT_EQ(system->name(), "windows-1252");
    EXPECT_EQ(system->encode("\xC3\x84"), "\xC4");
}
#else
// The Windows code page of each locale: the rows of tests/data/desktop/locale-code-pages.json.
TEST(CodePage, IsChosenByLocaleNumberOrName)
{
    const auto rows = nlohmann::json::parse(testing_support::readBytes(testing_support::testDataDir() / "desktop" / "locale-code-pages.json"));
    for (const auto& [locale, codePage] : rows.get<std::vector<std::pair<std::string, int>>>())
        EXPECT_EQ(config::windowsCodePageForLocale(locale), codePage) << locale;
    EXPECT_EQ(config::parseCodePageName("1250"), 1250);
    EXPECT_EQ(config::parseCodePageName("CP1250"), 1250);
    EXPECT_EQ(config::parseCodePageName("windows-1252"), 1252);
    EXPECT_EQ(config::parseCodePageName("latin1"), std::nullopt);
    EXPECT_EQ(config::parseCodePageName(""), std::nullopt);
}

// NORDA_CODEPAGE first, then the locale of the first of LC_ALL, LC_CTYPE and LANG that is set and not empty.
TEST(CodePage, EnvironmentChoosesTheSystemCodePage)
{
    ::setenv("NORDA_CODEPAGE", "1250", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1250");
    ::setenv("NORDA_CODEPAGE", "nonsense", 1);
    EXPECT_THROW(config::systemCodePage(), config::PlatformError);
    ::unsetenv("NORDA_CODEPAGE");
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_CTYPE", "ru_RU", 1);
    ::setenv("LANG", "el_GR", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1251");
    ::unsetenv("LC_CTYPE");
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1253");
    ::setenv("LC_ALL", "cs_CZ.UTF-8", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1250");
    ::unsetenv("LC_ALL");
    ::unsetenv("LANG");
}
#endif
