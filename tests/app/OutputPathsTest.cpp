// File naming: the rows of tests/data/desktop/file-names.json, each a part program, its settings and the
// description file's path; the other three files share its stem.
#include "run/FileNameText.h"

#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <nlohmann/json.hpp>

using namespace testing_support;
using nlohmann::json;

namespace {

class OutputPaths : public RunFixture {
protected:
    void SetUp() override { regional = FixedRegionalSettings(",", "/", ":"); }

    const json names = json::parse(readBytes(testDataDir() / "desktop" / "file-names.json"));
};

} // namespace

TEST_F(OutputPaths, NameTheFilesAsTheSettingsSay)
{
    for (const json& row : names["rows"]) {
        SCOPED_TRACE(row.dump());
        auto record = exampleApplication();
        record.activePartProgram->partName = row[0];
        record.activePartProgram->revisionNumber = row[1];
        attach(record);
        run.ConnectToApplication(runServices());
        const std::string settings = row[3];
        const auto setting = [&](char letter) { return std::string(settings.find(letter) != std::string::npos ? "1" : "0"); };
        run.Settings.SettingDir = row[2];
        run.Settings.SettingSeriennummer = setting('S');
        run.Settings.SettingNamenslaenge = setting('N');
        run.Settings.SettingVersionInFileName = setting('V');
        run.Settings.SettingSingleFile = setting('F');
        run.Settings.SettingProgVerz = setting('P');
        run.BuildOutputPaths(runServices());
        const std::string description = row[4];
        EXPECT_EQ(run.DfdPath.string(), description);
        const std::string stem = description.substr(0, description.size() - 4);
        EXPECT_EQ(run.DfxPath.string(), stem + ".dfx");
        EXPECT_EQ(run.TmpPath.string(), stem + ".tmp");
        EXPECT_EQ(run.DfqPath.string(), stem + ".dfq");
    }
}

TEST_F(OutputPaths, GiveAnUnderscoreBehindTheWholeDeviceNameOnly)
{
    for (const auto& [stem, safe] : names["device names renamed"].get<std::vector<std::pair<std::string, std::string>>>())
        EXPECT_EQ(app::notADeviceName(stem), safe) << stem;
    for (const std::string& stem : names["not device names"].get<std::vector<std::string>>())
        EXPECT_EQ(app::notADeviceName(stem), stem) << stem;
}

TEST_F(OutputPaths, RenderOtherDateAndTimeFormatsWithPoints)
{
    for (const auto& [text, safe] : names["date and time texts"].get<std::vector<std::pair<std::string, std::string>>>())
        EXPECT_EQ(app::dateTimeForFileName(text), safe) << text;
}
