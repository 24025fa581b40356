// Files and folders that nobody may write, seen from norda-cli: each refusal gives one clear message
// and exit status 1, and leaves every file as it was. The folders named like a transfer file, and the
// missing output directory, are process cases under tests/data/cli.
#include "support/CliFixture.h"


using namespace testing_support;

namespace {

ProcessResult changeAttributes(const char* change, const std::filesystem::path& path)
{
    return ChildProcess("/usr/bin/chattr", {change, path.string()}).wait();
}

// Makes a file or folder immutable while in scope: nothing can write, create, rename or delete there,
// not even root, whom permission bits do not stop. Left set, the test's directory could not be removed
// by anyone but an administrator.
class Immutable {
public:
    explicit Immutable(std::filesystem::path path) : m_path(std::move(path))
    {
        const ProcessResult result = changeAttributes("+i", m_path);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }
    ~Immutable() { changeAttributes("-i", m_path); }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;

private:
    std::filesystem::path m_path;
};

class FileSystemFaults : public CliFixture, public ::testing::WithParamInterface<bool> {
protected:
    std::vector<std::string> settings() const { return {"--set", std::string("DFQ=") + (GetParam() ? "1" : "0")}; }
    std::string valuesName() const { return GetParam() ? "PUMP HOUSING A1.dfq" : "PUMP HOUSING A1.dfx"; }

    void firstRun()
    {
        const auto result = convert(settings());
        ASSERT_EQ(result.exitCode, 0) << result.err;
    }

    // Runs once more and checks the promise: exit status 1, one line naming the reason, nothing changed.
    void expectRefused(const std::string& reason)
    {
        const DirectoryBytes before = contentsOf(out);
        const auto result = convert(settings());
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_TRUE(isOneLine(result.err)) << result.err;
        EXPECT_TRUE(result.err.starts_with("Error: Cannot ")) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(contentsOf(out), before);
        expectNothingOutsideTheOutputDirectory();
    }

    // Every test here needs the immutable attribute, which is not on tmpfs and only with the right to.
    void SetUp() override
    {
        CliFixture::SetUp();
        writeBytes(in / "probe", "");
        const ProcessResult result = changeAttributes("+i", in / "probe");
        changeAttributes("-i", in / "probe");
        if (result.exitCode != 0)
            GTEST_SKIP() << "the immutable attribute is not available here: " << result.err;
    }
};

} // namespace

TEST_P(FileSystemFaults, ReadOnlyOutputDirectoryRefusesAFullWriteAndTakesAnAppend)
{
    // An append creates no file, not even a lock file, so a folder that takes no new file still takes it.
    writeBytes(out / "PUMP HOUSING A1.dfx", "earlier values\r\n");
    {
        const Immutable readOnly(out);
        expectRefused("Operation not permitted");
    }
    std::filesystem::remove(out / "PUMP HOUSING A1.dfx");
    firstRun();
    const std::string before = readBytes(out / valuesName());
    const Immutable readOnly(out);
    const auto result = convert(settings());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(readBytes(out / valuesName()).starts_with(before + "25.0312"));
}

TEST_P(FileSystemFaults, ReadOnlyValuesOrCombinedFile)
{
    firstRun();
    const Immutable readOnly(out / valuesName());
    expectRefused("\"" + (out / valuesName()).string() + "\": Operation not permitted");
}

INSTANTIATE_TEST_SUITE_P(SeparateAndCombined, FileSystemFaults, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Combined" : "Separate"; });
