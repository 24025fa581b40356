#include "app/FileNameText.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

using namespace testing_support;

namespace {

class OutputPaths : public RunFixture {
protected:
    void SetUp() override
    {
        regional = FixedRegionalSettings(",");
        run.SettingDir = "/MESSDATEN";
        attach(exampleApplication());
        run.ConnectToApplication(runServices());
    }

    std::string description()
    {
        run.BuildOutputPaths(runServices());
        return run.DfdPath.string();
    }
};

} // namespace

TEST_F(OutputPaths, FollowTheExamples)
{
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOUSING A1.dfd");
    EXPECT_EQ(run.DfxPath.string(), "/MESSDATEN/PUMP HOUSING A1.dfx");
    EXPECT_EQ(run.TmpPath.string(), "/MESSDATEN/PUMP HOUSING A1.tmp");
    EXPECT_EQ(run.DfqPath.string(), "/MESSDATEN/PUMP HOUSING A1.dfq");
    run.SettingSeriennummer = "1";
    EXPECT_EQ(description(), "/MESSDATEN/4711.dfd");
    run.SettingSeriennummer = "0";
    run.SettingNamenslaenge = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOU.dfd");
    run.SettingNamenslaenge = "0";
    run.SettingVersionInFileName = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOUSING A1_B.dfd");
    run.SettingVersionInFileName = "0";
    run.SettingSingleFile = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOUSING A1_05.12.2026_14.03.12.dfd");
    run.SettingVersionInFileName = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOUSING A1_B_05.12.2026_14.03.12.dfd");
    EXPECT_EQ(run.DfqPath.string(), "/MESSDATEN/PUMP HOUSING A1_B_05.12.2026_14.03.12.dfq");
    EXPECT_EQ(run.BaseFileName, "PUMP HOUSING A1");
}

TEST_F(OutputPaths, CutShortNamesBeforeTheSuffixes)
{
    run.SettingNamenslaenge = "1";
    run.SettingVersionInFileName = "1";
    run.SettingSingleFile = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOU_B_05.12.2026_14.03.12.dfd");
    auto record = exampleApplication();
    record.activePartProgram->partName = "  SHORT  ";
    attach(record);
    run.ConnectToApplication(runServices());
    run.SettingVersionInFileName = "0";
    run.SettingSingleFile = "0";
    EXPECT_EQ(description(), "/MESSDATEN/SHORT.dfd");
    record.activePartProgram->partName = "AB CD EF GH";
    attach(record);
    run.ConnectToApplication(runServices());
    EXPECT_EQ(description(), "/MESSDATEN/AB CD EF.dfd");
    record.activePartProgram->partName = "ABCDEFG IJ";
    attach(record);
    run.ConnectToApplication(runServices());
    EXPECT_EQ(description(), "/MESSDATEN/ABCDEFG .dfd"); // the cut may leave a trailing blank
}

TEST_F(OutputPaths, AlwaysInsertTheSeparator)
{
    run.SettingDir = "";
    EXPECT_EQ(description(), "/PUMP HOUSING A1.dfd");
    run.SettingDir = "/data/";
    EXPECT_EQ(description(), "/data//PUMP HOUSING A1.dfd");
}

TEST_F(OutputPaths, NameFilesOnlyBySuffixForAnEmptyPartName)
{
    auto record = exampleApplication();
    record.activePartProgram->partName = "   ";
    attach(record);
    run.ConnectToApplication(runServices());
    EXPECT_EQ(description(), "/MESSDATEN/.dfd");
}

TEST_F(OutputPaths, NeverLeadOutOfTheOutputDirectory)
{
    auto record = exampleApplication();
    record.activePartProgram->partName = "../../etc/passwd";
    record.activePartProgram->revisionNumber = "A\\B:C";
    attach(record);
    run.ConnectToApplication(runServices());
    run.SettingVersionInFileName = "1";
    EXPECT_EQ(description(), "/MESSDATEN/.._.._etc_passwd_A_B_C.dfd");
    record.activePartProgram->partName = "a*b?c\"d<e>f|g\x01h";
    attach(record);
    run.ConnectToApplication(runServices());
    run.SettingVersionInFileName = "0";
    EXPECT_EQ(description(), "/MESSDATEN/a_b_c_d_e_f_g_h.dfd");
}

TEST_F(OutputPaths, GiveOnlyAWholeDeviceNameItsUnderscore)
{
    auto record = exampleApplication();
    record.activePartProgram->partName = "AUX";
    attach(record);
    run.ConnectToApplication(runServices());
    EXPECT_EQ(description(), "/MESSDATEN/AUX_.dfd");
    run.SettingVersionInFileName = "1";
    EXPECT_EQ(description(), "/MESSDATEN/AUX_B.dfd");
    run.SettingVersionInFileName = "0";
    run.SettingSingleFile = "1";
    EXPECT_EQ(description(), "/MESSDATEN/AUX_05.12.2026_14.03.12.dfd");
}

TEST_F(OutputPaths, ReadTheDirectoryOfThePartProgramWithProgVerz)
{
    run.SettingProgVerz = "1";
    EXPECT_EQ(description(), "D:\\MESSDATEN/PUMP HOUSING A1.dfd");
    EXPECT_EQ(run.SettingDir, "D:\\MESSDATEN");
}

TEST_F(OutputPaths, RenderOtherDateAndTimeFormatsWithPoints)
{
    regional = FixedRegionalSettings(".", "/", ":");
    run.SettingSingleFile = "1";
    EXPECT_EQ(description(), "/MESSDATEN/PUMP HOUSING A1_05.12.2026_14.03.12.dfd");
    EXPECT_EQ(app::dateTimeForFileName("02:03:12 PM"), "02.03.12 PM");
    EXPECT_EQ(app::dateTimeForFileName("2026-12-05"), "2026-12-05");
}

TEST_F(OutputPaths, ReadTheRevisionForEachPath)
{
    run.SettingVersionInFileName = "1";
    connector.application->log().reset();
    description();
    EXPECT_EQ(connector.application->log().count(source::Member::PartProgramRevisionNumber), 4u);
    EXPECT_EQ(connector.application->log().count(source::Member::PartProgramSerialNumber), 0u);
}
