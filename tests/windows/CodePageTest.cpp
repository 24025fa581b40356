#include "config/CodePage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

// The same bytes as the Linux code pages give: the transfer files must not depend on the system
// that wrote them.
TEST(WindowsCodePage, EncodesWesternTextAsWindows1252)
{
    const auto western = config::codePageByNumber(1252);
    const std::string german = "Gr\xC3\xB6\xC3\x9F" "e \xC3\x84nderung \xE2\x82\xAC";
    EXPECT_EQ(western->encode(german), "Gr\xF6\xDF" "e \xC4nderung \x80");
    EXPECT_EQ(western->decode("Gr\xF6\xDF" "e \xC4nderung \x80"), german);
    EXPECT_EQ(western->name(), "windows-1252");
}

TEST(WindowsCodePage, RoundTripsCzech)
{
    const auto czech = config::codePageByNumber(1250);
    const std::string czechText = "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD";
    EXPECT_EQ(czech->encode(czechText), "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD");
    EXPECT_EQ(czech->decode(czech->encode(czechText)), czechText);
}

TEST(WindowsCodePage, ReplacesWhatItCannotRepresentWithoutBestFit)
{
    const auto western = config::codePageByNumber(1252);
    EXPECT_EQ(western->encode("a\xE4\xB8\xAD" "b"), "a?b");   // a Chinese character
    EXPECT_EQ(western->encode("a\xC3" "b"), "a?b");           // a broken sequence
    // Best fit would write "l" and "A": a look-alike is a different text.
    EXPECT_EQ(western->encode("\xC5\x82\xC4\x80"), "??");
}

TEST(WindowsCodePage, PlainAsciiPassesUnchanged)
{
    const auto western = config::codePageByNumber(1252);
    const std::string ascii = "K2001/12 DIA_BEARING\x14\x0F";
    EXPECT_EQ(western->encode(ascii), ascii);
    EXPECT_EQ(western->decode(ascii), ascii);
}

TEST(WindowsCodePage, SystemCodePageIsTheAnsiCodePage)
{
    const auto system = config::systemCodePage();
    EXPECT_EQ(system->name(), "windows-" + std::to_string(GetACP()));
    // Wine's German and English locales have windows-1252.
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(system->encode("\xC3\x84"), "\xC4");
}

TEST(WindowsCodePage, UnknownCodePageIsReported)
{
    EXPECT_THROW(config::codePageByNumber(4242), std::runtime_error);
}
