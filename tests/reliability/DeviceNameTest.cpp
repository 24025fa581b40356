#include "app/FileNameText.h"

#include <gtest/gtest.h>

TEST(DeviceNames, GetAnUnderscoreBehindTheDeviceName)
{
    const std::vector<std::pair<std::string, std::string>> cases{
        {"CON", "CON_"},         {"con", "con_"},           {"Nul", "Nul_"},           {"PRN", "PRN_"},
        {"AUX", "AUX_"},         {"COM1", "COM1_"},         {"com9", "com9_"},         {"LPT0", "LPT0_"},
        {"CONIN$", "CONIN$_"},   {"conout$", "conout$_"},   {"COM\xC2\xB9", "COM\xC2\xB9_"},
        {"NUL.dfx", "NUL_.dfx"},     {"CON  .a.b", "CON_  .a.b"}, {"AUX.", "AUX_."},
    };
    for (const auto& [stem, safe] : cases)
        EXPECT_EQ(app::notADeviceName(stem), safe) << stem;
}

TEST(DeviceNames, LeaveOtherNamesAlone)
{
    for (const std::string stem : {"", "CONSOLE", "CO", "COM", "COM10", "LPT", "COMA", "XCON", " CON", "_CON", "A.CON", "NUL_",
                                   "PUMP HOUSING A1", "COM\xC2\xB4", ".CON", "AUX_B.dfd",
                                   "NUL_05.12.2026_14.03.12.dfq"})
        EXPECT_EQ(app::notADeviceName(stem), stem) << stem;
}
