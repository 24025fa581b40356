// Files that cannot be written, seen from norda-cli: each fault gives one clear message and exit
// status 1, and leaves every file as it was.
#include "CliFixture.h"
#include "ImmutableFlag.h"

using namespace reliability;
using testing_support::writeBytes;

namespace {

const std::filesystem::path kPump = kExamples / "pump-housing.json";

class FileSystemFaults : public CliFixture, public ::testing::WithParamInterface<bool> {
protected:
    std::vector<std::string> settings() const { return {"--set", std::string("DFQ=") + (GetParam() ? "1" : "0")}; }
    std::string valuesName() const { return GetParam() ? "PUMP HOUSING A1.dfq" : "PUMP HOUSING A1.dfx"; }

    void firstRun()
    {
        const auto result = convert(kPump, settings());
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    // Runs once more and checks the promise: exit status 1, one line naming the reason, nothing changed.
    void expectRefused(const std::string& reason, const ChildOptions& childOptions)
    {
        const DirectoryBytes before = contentsOf(out);
        const auto result = ChildProcess(kCli, arguments(kPump, settings()), childOptions).wait();
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(isOneLine(result.err)) << result.err;
        EXPECT_TRUE(result.err.starts_with("Error: Cannot ")) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(contentsOf(out), before);
        expectNothingOutsideTheOutputDirectory();
    }
    void expectRefused(const std::string& reason) { expectRefused(reason, options()); }

    void requireImmutableFlag()
    {
        if (const std::string reason = ImmutableFlag::unavailableReason(root.path()); !reason.empty())
            GTEST_SKIP() << reason;
    }
};

} // namespace

TEST_P(FileSystemFaults, MissingOutputDirectory)
{
    std::filesystem::remove(out);
    const auto result = convert(kPump, settings());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "Error: Cannot write into the output directory \"" + out.string() + "\": the directory does not exist\n");
    EXPECT_EQ(root.listing(), "config in");
}

TEST_P(FileSystemFaults, ReadOnlyOutputDirectoryOnAFullWrite)
{
    requireImmutableFlag();
    writeBytes(out / "PUMP HOUSING A1.dfx", "earlier values\r\n");
    ImmutableFlag readOnly(out);
    expectRefused("Operation not permitted");
}

TEST_P(FileSystemFaults, ReadOnlyOutputDirectoryStillTakesAnAppend)
{
    // An append creates no file, not even a lock file, so a folder that takes no new file still takes it.
    requireImmutableFlag();
    firstRun();
    const std::string before = testing_support::readBytes(out / valuesName());
    ImmutableFlag readOnly(out);
    const auto result = convert(kPump, settings());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(testing_support::readBytes(out / valuesName()).starts_with(before));
    EXPECT_GT(testing_support::readBytes(out / valuesName()).size(), before.size());
}

TEST_P(FileSystemFaults, ReadOnlyValuesOrCombinedFile)
{
    requireImmutableFlag();
    firstRun();
    ImmutableFlag readOnly(out / valuesName());
    expectRefused("\"" + (out / valuesName()).string() + "\": Operation not permitted");
}

TEST_P(FileSystemFaults, ReadOnlyValuesFileLeftFromEarlierRuns)
{
    // Combined mode moves a left-over values file into the combined file and deletes it; when it
    // cannot be deleted, the combined file must lose what was added to it.
    requireImmutableFlag();
    firstRun();
    writeBytes(out / "PUMP HOUSING A1.dfx", "earlier values\r\n");
    ImmutableFlag readOnly(out / "PUMP HOUSING A1.dfx");
    expectRefused("Operation not permitted");
}

TEST_P(FileSystemFaults, AFolderIsNotATransferFile)
{
    // A folder named like a transfer file neither starts an append nor is written past; a folder
    // named like the temporary file is not deleted. Each stays as it was.
    const std::pair<const char*, const char*> cases[] = {
        {".dfd", "a folder has the name of the transfer file"},
        {".dfq", "a folder has the name of the transfer file"},
        {".tmp", "a file or folder of this name is in the way"},
    };
    for (const auto& [extension, reason] : cases) {
        const std::filesystem::path folder = out / (std::string("PUMP HOUSING A1") + extension);
        std::filesystem::create_directory(folder);
        writeBytes(folder / "inside", "kept");
        expectRefused("\"" + folder.string() + "\": " + reason);
        EXPECT_EQ(testing_support::readBytes(folder / "inside"), "kept");
        std::filesystem::remove_all(folder);
    }
}

TEST_P(FileSystemFaults, FilesNamedLikeLockAndScratchFilesAreNotOurs)
{
    // Read-only files that merely have the names of lock and part files: a first run and an append
    // beside them leave them byte-identical, and nothing but the transfer files appears.
    const std::vector<std::string> foreign{"PUMP HOUSING A1.lock", "PUMP HOUSING A1.1.lock", "PUMP HOUSING A1.dfd.part",
                                           "PUMP HOUSING A1.dfd.1.part", "PUMP HOUSING A1.dfq.part", "PUMP HOUSING A1.dfq.1.part"};
    for (const std::string& name : foreign) {
        writeBytes(out / name, "an operator's file called " + name + "\r\n");
        std::filesystem::permissions(out / name, std::filesystem::perms::owner_read);
    }
    DirectoryBytes expected = contentsOf(out);
    std::vector<std::string> withComments = settings();
    withComments.insert(withComments.end(), {"--set", "KOMMENTARE=1"});
    for (int run = 0; run < 2; ++run) {
        const auto result = convert(kPump, withComments);
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    const DirectoryBytes after = contentsOf(out);
    const std::string golden = testing_support::readBytes(testing_support::testDataDir() / "golden" / "cli" / "pump-housing.dfd");
    if (GetParam()) {
        expected["PUMP HOUSING A1.dfq"] = after.at("PUMP HOUSING A1.dfq");
        EXPECT_TRUE(after.at("PUMP HOUSING A1.dfq").starts_with(golden));
    } else {
        expected["PUMP HOUSING A1.dfd"] = golden;
        expected["PUMP HOUSING A1.dfx"] = after.at("PUMP HOUSING A1.dfx");
    }
    EXPECT_EQ(after, expected);
    expectNothingOutsideTheOutputDirectory();
}

TEST_P(FileSystemFaults, DiskFillingUpDuringAFullWrite)
{
    // The sizes of a complete run bound the limits worth trying.
    firstRun();
    std::size_t largest = 0;
    for (const auto& [name, bytes] : contentsOf(out))
        largest = std::max(largest, bytes.size());
    std::filesystem::remove_all(out);
    std::filesystem::create_directories(out);

    for (std::uint64_t limit : {std::uint64_t{0}, std::uint64_t{1}, std::uint64_t{100}, std::uint64_t{largest / 2},
                                std::uint64_t{largest - 1}}) {
        SCOPED_TRACE("file size limit " + std::to_string(limit));
        ChildOptions limited = options();
        limited.fileSizeLimit = limit;
        expectRefused("File too large", limited);
    }
}

TEST_P(FileSystemFaults, DiskFillingUpDuringAnAppend)
{
    firstRun();
    const std::uintmax_t size = std::filesystem::file_size(out / valuesName());
    for (std::uint64_t extra : {0, 1, 30}) {
        SCOPED_TRACE("bytes that fit: " + std::to_string(extra));
        ChildOptions limited = options();
        limited.fileSizeLimit = size + extra;
        expectRefused("File too large", limited);
    }
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, FileSystemFaults, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
