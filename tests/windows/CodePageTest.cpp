#include "config/CodePage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <stdexcept>

// The system's code pages give the same bytes as the Linux ones: the transfer files must not depend
// on the system that wrote them.
TEST(WindowsCodePage, EncodesAsTheLinuxCodePagesDo)
{
    const struct {
        int number;
        const char* text;
        const char* encoded;
        bool roundTrips;
    } cases[] = {
        {1252, "Gr\xC3\xB6\xC3\x9F" "e \xC3\x84nderung \xE2\x82\xAC", "Gr\xF6\xDF" "e \xC4nderung \x80", true},
        {1250, "P\xC5\x99\xC3\xADli\xC5\xA1 \xC5\xBElu\xC5\xA5ou\xC4\x8Dk\xC3\xBD", "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD", true},
        {1252, "K2001/12 DIA_BEARING\x14\x0F", "K2001/12 DIA_BEARING\x14\x0F", true},
        {1252, "a\xE4\xB8\xAD" "b", "a?b", false}, // a Chinese character
        {1252, "a\xC3" "b", "a?b", false},         // a broken sequence
        {1252, "\xC5\x82\xC4\x80", "??", false},    // no best fit: a look-alike is a different text
    };
    for (const auto& c : cases) {
        const auto codePage = config::codePageByNumber(c.number);
        EXPECT_EQ(codePage->name(), "windows-" + std::to_string(c.number));
        EXPECT_EQ(codePage->encode(c.text), c.encoded) << c.text;
        if (c.roundTrips) {
            EXPECT_EQ(codePage->decode(c.encoded), c.text);
        }
    }
    EXPECT_THROW(config::codePageByNumber(4242), std::runtime_error);
}

TEST(WindowsCodePage, SystemCodePageIsTheAnsiCodePage)
{
    // Wine's German and English locales have windows-1252.
    ASSERT_EQ(GetACP(), 1252u);
    const auto system = config::systemCodePage();
    EXPECT_EQ(system->name(), "windows-1252");
    EXPECT_EQ(system->encode("\xC3\x84"), "\xC4");
}
