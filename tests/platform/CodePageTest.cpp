#include "config/CodePage.h"
#include "config/LocaleCodePage.h"
#include "config/PlatformError.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(CodePage, RoundTripsItsLanguagesAndReplacesWhatItCannotRepresent)
{
    const auto western = config::codePageByNumber(1252);
    const std::string german = "Gr\xC3\xB6\xC3\x9F" "e \xC3\x84nderung \xE2\x82\xAC";
    EXPECT_EQ(western->encode(german), "Gr\xF6\xDF" "e \xC4nderung \x80");
    EXPECT_EQ(western->decode(western->encode(german)), german);
    const auto czech = config::codePageByNumber(1250);
    const std::string czechText = "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD";
    EXPECT_EQ(czech->decode(czech->encode(czechText)), czechText);
    EXPECT_EQ(western->name(), "windows-1252");
    EXPECT_EQ(western->encode("a\xE4\xB8\xAD" "b"), "a?b");       // a Chinese character
    EXPECT_EQ(western->encode("a\xC3" "b"), "a?b");               // a broken sequence
    EXPECT_EQ(western->decode("a\x81" "b"), "a\xEF\xBF\xBD" "b"); // 0x81 is undefined in windows-1252
}

TEST(CodePage, IsChosenByLocaleNumberOrName)
{
    const std::pair<const char*, int> locales[] = {{"de_DE.UTF-8", 1252}, {"cs_CZ.UTF-8", 1250}, {"ru_RU", 1251},
                                                   {"zh_TW.UTF-8", 950},  {"C", 1252},           {"POSIX", 1252}};
    for (const auto& [locale, codePage] : locales)
        EXPECT_EQ(config::windowsCodePageForLocale(locale), codePage) << locale;
    EXPECT_EQ(config::parseCodePageName("1250"), 1250);
    EXPECT_EQ(config::parseCodePageName("CP1250"), 1250);
    EXPECT_EQ(config::parseCodePageName("windows-1252"), 1252);
    EXPECT_EQ(config::parseCodePageName("latin1"), std::nullopt);
    EXPECT_EQ(config::parseCodePageName(""), std::nullopt);
    EXPECT_THROW(config::codePageByNumber(4242), config::PlatformError);
}

TEST(CodePage, EnvironmentChoosesTheSystemCodePage)
{
    ::setenv("NORDA_CODEPAGE", "1250", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1250");
    ::setenv("NORDA_CODEPAGE", "nonsense", 1);
    EXPECT_THROW(config::systemCodePage(), config::PlatformError);
    ::unsetenv("NORDA_CODEPAGE");
    ::setenv("LC_ALL", "cs_CZ.UTF-8", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1250");
    ::unsetenv("LC_ALL");
}
