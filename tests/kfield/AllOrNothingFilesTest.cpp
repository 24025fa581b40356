#include "files/FileReplacement.h"
#include "files/LocalFileSystem.h"
#include "files/FileError.h"

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
    try {
        kfield::FileReplacement file(files, dir / "a.dfd");
        FAIL() << "no error";
    } catch (const kfield::FileError& error) {
        const std::string expected = "every name for its part file is taken (" + (dir / "a.dfd.part").string() + " and on)";
        EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << error.what();
    }
}

TEST(LocalFileSystem, ReportsAFullDiskOnAWriteOrAtTheLastByte)
{
    kfield::LocalFileSystem files;
    for (const std::size_t size : {std::size_t{1}, std::size_t{1} << 20}) {
        const auto file = files.openForAppending("/dev/full");
        file->stream() << std::string(size, 'x');
        try {
            file->close();
            ADD_FAILURE() << "no error for " << size << " bytes";
        } catch (const kfield::FileError& error) {
            EXPECT_STREQ(error.what(), "Cannot write \"/dev/full\": No space left on device");
        }
    }
}
