#include "files/FileReplacement.h"
#include "files/LocalFileSystem.h"
#include "files/FileError.h"

#include "support/Files.h"

#include <gtest/gtest.h>

using namespace testing_support;

// Failing writes, full disks and appends are swept over whole runs (tests/reliability) on a file-system
// double; here the real file system's own failures.
TEST(FileReplacement, AppearsOnlyOnCommitFromAPartFileNamedAsNoOtherFile)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "half";
        EXPECT_EQ(dir.listing(), "a.dfd.part");
    }
    EXPECT_EQ(dir.listing(), "");
    for (const char* foreign : {"a.dfd.part", "a.dfd.2.part"})
        writeBytes(dir / foreign, "an operator's file");
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "K0100 1\r\n";
        EXPECT_EQ(dir.listing(), "a.dfd.1.part a.dfd.2.part a.dfd.part");
        file.commit();
    }
    EXPECT_EQ(dir.listing(), "a.dfd a.dfd.2.part a.dfd.part");
    EXPECT_EQ(readBytes(dir / "a.dfd"), "K0100 1\r\n");
    EXPECT_EQ(readBytes(dir / "a.dfd.2.part"), "an operator's file");
}

TEST(FileReplacement, NamesTheFirstPartFileWhenEveryNameIsTaken)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    writeBytes(dir / "a.dfd.part", "");
    for (int attempt = 1; attempt < 100; ++attempt)
        writeBytes(dir / ("a.dfd." + std::to_string(attempt) + ".part"), "");
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
