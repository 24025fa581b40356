#include "kfield/LineWriter.h"

#include "config/CodePage.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

std::string written(int codePage, void (*write)(kfield::LineWriter&))
{
    const auto encoding = config::codePageByNumber(codePage);
    std::ostringstream out;
    kfield::LineWriter writer(out, *encoding);
    write(writer);
    return out.str();
}

} // namespace

TEST(LineWriter, EndsEveryLineWithCrLf)
{
    EXPECT_EQ(written(1252, [](kfield::LineWriter& w) { w.keyLine("K1001", ""); w.keyLine("K0100", "2"); }),
              "K1001 \r\nK0100 2\r\n");
    EXPECT_EQ(written(1252, [](kfield::LineWriter& w) { w.characteristicLine("K2001", 12, "DIM1"); }), "K2001/12 DIM1\r\n");
}

TEST(LineWriter, WritesTheAnsiCodePage)
{
    // Ä in windows-1252 is 0xC4; Ř is not in windows-1252 and becomes "?", but is 0xD8 in windows-1250.
    EXPECT_EQ(written(1252, [](kfield::LineWriter& w) { w.keyLine("K1002", "\xC3\x84 \xC5\x98"); }), "K1002 \xC4 ?\r\n");
    EXPECT_EQ(written(1250, [](kfield::LineWriter& w) { w.keyLine("K1002", "\xC5\x98"); }), "K1002 \xD8\r\n");
    EXPECT_EQ(written(1252, [](kfield::LineWriter& w) { w.keyLine("K1002", "\xE2\x82\xAC"); }), "K1002 \x80\r\n"); // €
}

TEST(LineWriter, KeepsValuesOnTheirLine)
{
    EXPECT_EQ(written(1252, [](kfield::LineWriter& w) { w.keyLine("K1002", "A\r\nB\x14" "C\x0F"); }), "K1002 A  B C \r\n");
    EXPECT_EQ(kfield::lineSafe(std::string("a\0b", 3)), "a b");
    EXPECT_EQ(kfield::lineSafe("tab\tstays"), "tab\tstays");
}
