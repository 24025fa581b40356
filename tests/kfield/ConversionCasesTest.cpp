// Full writes of the part programs under tests/data/conversions and tests/data/kfield/conversions: each
// case holds the program as a snapshot, the settings that are on, the messages the operator sees and the
// captions of the progress display, and the files written, byte by byte; the files in its "before"
// folder are in the output directory beforehand.
#include "kfield/ConvertPartProgram.h"
#include "source/Snapshot.h"

#include "support/ValuesFixture.h"

#include <algorithm>
#include <set>
#include <sstream>

using namespace testing_support;

namespace {

std::vector<std::filesystem::path> caseDirs()
{
    std::vector<std::filesystem::path> dirs;
    for (const auto& folder : {testDataDir() / "conversions", testDataDir() / "kfield" / "conversions"})
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            dirs.push_back(entry.path());
    std::sort(dirs.begin(), dirs.end());
    return dirs;
}

class ConversionCase : public ConversionFixture, public ::testing::WithParamInterface<std::filesystem::path> {};

} // namespace

TEST_P(ConversionCase, WritesTheExpectedFilesAndMessages)
{
    const std::filesystem::path& expected = GetParam();
    if (std::filesystem::exists(expected / "before"))
        std::filesystem::copy(expected / "before", dir.path());
    std::set<std::string> on;
    std::istringstream words(readBytes(expected / "settings.txt"));
    for (std::string word; words >> word;)
        on.insert(word);
    const auto isOn = [&on](const std::string& word) { return on.contains(word); };
    settings.Kommentare = isOn("comments");
    settings.PosAchse = isOn("position-axes");
    settings.NordaPos = isOn("position-groups");
    settings.DFQ = isOn("combined");
    regional = FixedRegionalSettings(isOn("comma") ? "," : ".");
    source::MemoryApplication application(source::readSnapshotFile(expected / "program.json"));
    run(application, kfield::ConvertPartProgram);

    std::string shown;
    for (const auto& message : messages.messages)
        shown += (message.icon == kfield::MessageIcon::Critical ? "critical " : "information ") + message.text + "\n";
    for (const std::string& caption : progress.captions)
        shown += "progress " + caption + "\n";
    EXPECT_EQ(shown, readBytes(expected / "messages.txt"));
    DirectoryBytes files = contentsOf(expected);
    std::erase_if(files, [](const auto& file) { return !file.first.starts_with("PUMP."); });
    EXPECT_EQ(contentsOf(dir.path()), files);
    EXPECT_EQ(application.record().updatesEnabled, true);
    EXPECT_FALSE(progress.visible);
}

INSTANTIATE_TEST_SUITE_P(Cases, ConversionCase, ::testing::ValuesIn(caseDirs()),
                         [](const auto& info) {
                             std::string name = info.param.filename().string();
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });
