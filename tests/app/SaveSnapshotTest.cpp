// norda-cli --save-snapshot as a process: the copy of the part program that support asks for.
#include "support/CliFixture.h"

#include "source/Snapshot.h"

#include <nlohmann/json.hpp>

using namespace testing_support;

namespace {

const std::filesystem::path kExamples = std::filesystem::path(NORDA_SOURCE_DIR) / "examples";

class SaveSnapshot : public CliFixture {
protected:
    ProcessResult save(const std::filesystem::path& snapshot, const std::filesystem::path& target)
    {
        return cli({"--snapshot", snapshot.string(), "--save-snapshot", target.string()});
    }
};

} // namespace

TEST_F(SaveSnapshot, CopiesEachExampleUnchangedAndTheCopyOfACopyByteForByte)
{
    for (const char* name : {"pump-housing.json", "gearbox-cover.json"}) {
        SCOPED_TRACE(name);
        const auto first = save(kExamples / name, out / "copy.json");
        ASSERT_EQ(first.exitCode, 0) << first.err;
        EXPECT_EQ(first.out + first.err, "");
        const std::string copy = readBytes(out / "copy.json");
        EXPECT_EQ(nlohmann::json::parse(copy), nlohmann::json::parse(readBytes(kExamples / name)));

        ASSERT_EQ(save(out / "copy.json", out / "copy of copy.json").exitCode, 0);
        EXPECT_EQ(firstDifference(readBytes(out / "copy of copy.json"), copy), "");
        std::filesystem::remove(out / "copy.json");
        std::filesystem::remove(out / "copy of copy.json");
    }
    expectNothingOutsideTheOutputDirectory();
}

TEST_F(SaveSnapshot, KeepsTextsBeyondAsciiAndConvertsAsTheOriginal)
{
    const std::string partName = "Getriebedeckel Gr\xC3\xB6\xC3\x9F" "e \xC3\x84" "7 \xE6\xB8\xAC\xE5\xAE\x9A"; // ö ß Ä and CJK
    std::string original = readBytes(kPumpSnapshot);
    original.replace(original.find("PUMP HOUSING A1"), 15, partName);
    original.replace(original.find("Bore check"), 10, "Pr\xC3\xBC" "fung \xC5\x82\xC3\xBC" "cke");
    writeBytes(in / "original.json", original);

    const auto saved = save(in / "original.json", in / "Kopie \xC3\xA4.json");
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(nlohmann::json::parse(readBytes(in / "Kopie \xC3\xA4.json")), nlohmann::json::parse(original));

    const std::filesystem::path fromOriginal = out / "original";
    const std::filesystem::path fromCopy = out / "copy";
    std::filesystem::create_directories(fromOriginal);
    std::filesystem::create_directories(fromCopy);
    const std::vector<std::string> settings{"--now", "2026-12-05T14:03:12", "--set", "KOMMENTARE=1"};
    auto withSource = [&](const std::filesystem::path& snapshot, const std::filesystem::path& directory) {
        std::vector<std::string> all{"--snapshot", snapshot.string(), "--set", "DIR=" + directory.string()};
        all.insert(all.end(), settings.begin(), settings.end());
        return all;
    };
    ASSERT_EQ(cli(withSource(in / "original.json", fromOriginal)).exitCode, 0);
    ASSERT_EQ(cli(withSource(in / "Kopie \xC3\xA4.json", fromCopy)).exitCode, 0);
    EXPECT_EQ(contentsOf(fromCopy), contentsOf(fromOriginal));
    EXPECT_EQ(contentsOf(fromCopy).count(partName + ".dfd"), 1u);
}

// A refused read stops the save with the member and the command, and leaves no file: neither the
// snapshot nor a part file, and a snapshot saved earlier under that name stays as it was.
TEST_F(SaveSnapshot, RefusedReadLeavesNoFile)
{
    std::string faulty = readBytes(kPumpSnapshot);
    const auto measured = faulty.find("\"measured\": 0"); // the third command, the axis block start
    ASSERT_NE(measured, std::string::npos);
    faulty.insert(measured, "\"failingReads\": [\"measured\"], ");
    writeBytes(in / "faulty.json", faulty);
    writeBytes(out / "earlier.json", "saved earlier\n");

    for (const char* target : {"new.json", "earlier.json"}) {
        SCOPED_TRACE(target);
        const auto result = save(in / "faulty.json", out / target);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_TRUE(result.err.starts_with("Error: Cannot read DimensionData.Measured of command 3 from the measuring application"))
            << result.err;
        EXPECT_TRUE(isOneLine(result.err)) << result.err;
        EXPECT_EQ(contentsOf(out), (DirectoryBytes{{"earlier.json", "saved earlier\n"}}));
    }
}

TEST_F(SaveSnapshot, SaysWhyItCannotSaveAndWritesNothing)
{
    struct Row {
        std::vector<std::string> arguments;
        std::string message;
    };
    const std::vector<Row> rows{
        {{"--save-snapshot", (out / "s.json").string()},
         "Veltrum is not running. Please start Veltrum and open a part program.\n"},
        {{"--snapshot", (kExamples / "no-part-program.json").string(), "--save-snapshot", (out / "s.json").string()},
         "No part program is open"},
        {{"--snapshot", kPumpSnapshot.string(), "--save-snapshot", (out / "missing" / "s.json").string()},
         "Error: Cannot open \"" + (out / "missing" / "s.json.part").string() + "\": No such file"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.message);
        const auto result = cli(row.arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(result.err.starts_with(row.message)) << result.err;
        EXPECT_TRUE(std::filesystem::is_empty(out));
    }
    expectNothingOutsideTheOutputDirectory();
}
