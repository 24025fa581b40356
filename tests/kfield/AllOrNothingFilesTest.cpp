#include "files/FileReplacement.h"
#include "files/LocalFileSystem.h"
#include "files/FileError.h"

#include "support/ErrorText.h"
#include "support/Files.h"

#include <gtest/gtest.h>

using namespace testing_support;

// Failing writes, full disks and appends are swept over whole runs (tests/reliability) on a file-system
// double, part files of other owners are left alone in a process case (tests/data/cli); here the real
// file system's own failures.
TEST(FileReplacement, TakesTheFirstFreePartFileNameAndNamesTheFirstWhenNoneIsFree)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    writeBytes(dir / "a.dfd.part", "");
    for (int attempt = 2; attempt < 100; ++attempt)
        writeBytes(dir / ("a.dfd." + std::to_string(attempt) + ".part"), "");
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        EXPECT_TRUE(std::filesystem::exists(dir / "a.dfd.1.part"));
    }
    writeBytes(dir / "a.dfd.1.part", "");
    const std::string error = errorText<kfield::FileError>([&] { kfield::FileReplacement file(files, dir / "a.dfd"); });
    const std::string expected = "every name for its part file is taken (" + (dir / "a.dfd.part").string() + " and on)";
    EXPECT_NE(error.find(expected), std::string::npos) << error;
}

TEST(LocalFileSystem, ReportsAFullDiskOnAWriteOrAtTheLastByte)
{
    kfield::LocalFileSystem files;
    for (const std::size_t size : {std::size_t{1}, std::size_t{1} << 20}) {
        const auto file = files.openForAppending("/dev/full");
        file->stream() << std::string(size, 'x');
        EXPECT_EQ(errorText<kfield::FileError>([&] { file->close(); }), "Cannot write \"/dev/full\": No space left on device") << size;
    }
}

// An append that failed is cut back to its old size; a cut that fails must say so, never pass silently.
TEST(LocalFileSystem, ReportsAFileThatCannotBeCutBack)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    writeBytes(dir / "a.dfx", "old\r\nnew");
    files.resize(dir / "a.dfx", 5);
    EXPECT_EQ(readBytes(dir / "a.dfx"), "old\r\n");
    const std::string error = errorText<kfield::FileError>([&] { files.resize(dir / "gone.dfx", 0); });
    EXPECT_TRUE(error.starts_with("Cannot restore \"" + (dir / "gone.dfx").string() + "\": ")) << error;
}
