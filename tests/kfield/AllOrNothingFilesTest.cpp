#include "kfield/FileReplacement.h"
#include "kfield/LocalFileSystem.h"
#include "kfield/WriteError.h"

#include "support/Files.h"

#include <gtest/gtest.h>

using namespace testing_support;

// Failing writes, full disks and appends are swept over whole runs (tests/reliability).
TEST(FileReplacement, AppearsOnlyOnCommit)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "half";
    }
    EXPECT_EQ(dir.listing(), "");
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "K0100 1\r\n";
        EXPECT_EQ(dir.listing(), "a.dfd.part");
        file.commit();
    }
    EXPECT_EQ(dir.listing(), "a.dfd");
    EXPECT_EQ(readBytes(dir / "a.dfd"), "K0100 1\r\n");
}

TEST(FileReplacement, ReportsAMissingDirectoryWithPathAndReason)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    try {
        kfield::FileReplacement file(files, dir / "missing" / "a.dfd");
        FAIL() << "no error";
    } catch (const kfield::FileError& error) {
        EXPECT_NE(std::string(error.what()).find("missing/a.dfd.part"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos) << error.what();
    }
}
