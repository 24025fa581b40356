#include "app/FileNameText.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

using namespace testing_support;

namespace {

class OutputPaths : public RunFixture {
protected:
    void SetUp() override { regional = FixedRegionalSettings(","); }
};

struct NamingRow {
    std::string partName;
    std::string revision;
    std::string directory;
    std::string settings; // S serial number, N eight characters, V revision, F single file, P part program's folder
    std::string description;
};

} // namespace

TEST_F(OutputPaths, NameTheFilesAsTheSettingsSay)
{
    const std::string stamp = "_05.12.2026_14.03.12";
    const std::vector<NamingRow> rows{
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "", "/MESSDATEN/PUMP HOUSING A1.dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "S", "/MESSDATEN/4711.dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "N", "/MESSDATEN/PUMP HOU.dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "V", "/MESSDATEN/PUMP HOUSING A1_B.dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "F", "/MESSDATEN/PUMP HOUSING A1" + stamp + ".dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "VF", "/MESSDATEN/PUMP HOUSING A1_B" + stamp + ".dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "NVF", "/MESSDATEN/PUMP HOU_B" + stamp + ".dfd"},
        {"PUMP HOUSING A1", "B", "/MESSDATEN", "P", "D:\\MESSDATEN/PUMP HOUSING A1.dfd"},
        {"PUMP HOUSING A1", "B", "", "", "/PUMP HOUSING A1.dfd"},
        {"PUMP HOUSING A1", "B", "/data/", "", "/data//PUMP HOUSING A1.dfd"},
        {"  SHORT  ", "B", "/MESSDATEN", "N", "/MESSDATEN/SHORT.dfd"},
        {"AB CD EF GH", "B", "/MESSDATEN", "N", "/MESSDATEN/AB CD EF.dfd"},
        {"ABCDEFG IJ", "B", "/MESSDATEN", "N", "/MESSDATEN/ABCDEFG .dfd"}, // the cut may leave a trailing blank
        {"   ", "B", "/MESSDATEN", "", "/MESSDATEN/.dfd"},
        {"../../etc/passwd", "A\\B:C", "/MESSDATEN", "V", "/MESSDATEN/.._.._etc_passwd_A_B_C.dfd"},
        {"a*b?c\"d<e>f|g\x01h\x7Fi", "B", "/MESSDATEN", "", "/MESSDATEN/a_b_c_d_e_f_g_h_i.dfd"},
        {"AUX", "B", "/MESSDATEN", "", "/MESSDATEN/AUX_.dfd"},
        {"AUX", "B", "/MESSDATEN", "V", "/MESSDATEN/AUX_B.dfd"},
        {"AUX", "B", "/MESSDATEN", "F", "/MESSDATEN/AUX" + stamp + ".dfd"},
        {"aux", "B", "/MESSDATEN", "", "/MESSDATEN/aux_.dfd"},
    };
    for (const NamingRow& row : rows) {
        SCOPED_TRACE(row.partName + " " + row.settings);
        auto record = exampleApplication();
        record.activePartProgram->partName = row.partName;
        record.activePartProgram->revisionNumber = row.revision;
        attach(record);
        run.ConnectToApplication(runServices());
        const auto setting = [&](char letter) { return std::string(row.settings.find(letter) != std::string::npos ? "1" : "0"); };
        run.Settings.SettingDir = row.directory;
        run.Settings.SettingSeriennummer = setting('S');
        run.Settings.SettingNamenslaenge = setting('N');
        run.Settings.SettingVersionInFileName = setting('V');
        run.Settings.SettingSingleFile = setting('F');
        run.Settings.SettingProgVerz = setting('P');
        run.BuildOutputPaths(runServices());
        EXPECT_EQ(run.DfdPath.string(), row.description);
        const std::string stem = row.description.substr(0, row.description.size() - 4);
        EXPECT_EQ(run.DfxPath.string(), stem + ".dfx");
        EXPECT_EQ(run.TmpPath.string(), stem + ".tmp");
        EXPECT_EQ(run.DfqPath.string(), stem + ".dfq");
    }
}

TEST(DeviceNames, GetAnUnderscoreBehindTheWholeDeviceNameOnly)
{
    const std::vector<std::pair<std::string, std::string>> renamed{
        {"CON", "CON_"},       {"con", "con_"},         {"Nul", "Nul_"},           {"PRN", "PRN_"},         {"aux", "aux_"},
        {"COM1", "COM1_"},     {"com9", "com9_"},       {"LPT0", "LPT0_"},         {"lpt3", "lpt3_"},       {"CONIN$", "CONIN$_"},
        {"conout$", "conout$_"}, {"COM\xC2\xB9", "COM\xC2\xB9_"}, {"NUL.dfx", "NUL_.dfx"}, {"CON  .a.b", "CON_  .a.b"}, {"AUX.", "AUX_."},
    };
    for (const auto& [stem, safe] : renamed)
        EXPECT_EQ(app::notADeviceName(stem), safe) << stem;
    for (const std::string stem : {"", "CONSOLE", "CO", "COM", "COM10", "LPT", "COMA", "XCON", " CON", "_CON", "A.CON", "NUL_",
                                   "COM\xC2\xB4", ".CON", "AUX_B.dfd", "NUL_05.12.2026_14.03.12.dfq"})
        EXPECT_EQ(app::notADeviceName(stem), stem) << stem;
}

TEST_F(OutputPaths, RenderOtherDateAndTimeFormatsWithPoints)
{
    regional = FixedRegionalSettings(".", "/", ":");
    run.Settings.SettingDir = "/MESSDATEN";
    run.Settings.SettingSingleFile = "1";
    attach(exampleApplication());
    run.ConnectToApplication(runServices());
    run.BuildOutputPaths(runServices());
    EXPECT_EQ(run.DfdPath.string(), "/MESSDATEN/PUMP HOUSING A1_05.12.2026_14.03.12.dfd");
    EXPECT_EQ(app::dateTimeForFileName("02:03:12 PM"), "02.03.12 PM");
    EXPECT_EQ(app::dateTimeForFileName("2026-12-05"), "2026-12-05");
}
