// The Windows code page of each locale (the rows of tests/data/desktop/locale-code-pages.json), and
// where the locale comes from.
#include "platform/CodePage.h"
#include "platform/LocaleCodePage.h"
#include "support/Files.h"

#include <cstdlib>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

TEST(LocaleCodePage, IsTheCodePageOfTheLocalesLanguage)
{
    const auto rows = nlohmann::json::parse(testing_support::readBytes(testing_support::testDataDir() / "desktop" / "locale-code-pages.json"));
    for (const auto& [locale, codePage] : rows.get<std::vector<std::pair<std::string, int>>>())
        EXPECT_EQ(config::windowsCodePageForLocale(locale), codePage) << locale;
}

// The first of LC_ALL, LC_CTYPE and LANG that is set names the locale.
TEST(LocaleCodePage, ComesFromTheFirstLocaleVariableThatIsSet)
{
    ::unsetenv("NORDA_CODEPAGE");
    ::setenv("LC_ALL", "", 1);
    ::setenv("LC_CTYPE", "ru_RU", 1);
    ::setenv("LANG", "el_GR", 1);
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1251");
    ::unsetenv("LC_CTYPE");
    EXPECT_EQ(config::systemCodePage()->name(), "windows-1253");
}
