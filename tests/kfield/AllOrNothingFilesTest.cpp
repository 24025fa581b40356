#include "kfield/AppendTransaction.h"
#include "kfield/FileReplacement.h"
#include "kfield/LocalFileSystem.h"
#include "kfield/WriteError.h"

#include "support/FaultyFileSystem.h"
#include "support/Files.h"

#include <gtest/gtest.h>

using namespace testing_support;

TEST(FileReplacement, AppearsOnlyOnCommit)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "K0100 1\r\n";
        EXPECT_EQ(dir.listing(), "a.dfd.part");
        file.commit();
    }
    EXPECT_EQ(dir.listing(), "a.dfd");
    EXPECT_EQ(readBytes(dir / "a.dfd"), "K0100 1\r\n");
}

TEST(FileReplacement, LeavesNothingWhenNotCommitted)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    {
        kfield::FileReplacement file(files, dir / "a.dfd");
        file.stream() << "half";
    }
    EXPECT_EQ(dir.listing(), "");
}

TEST(FileReplacement, KeepsTheOldFileWhenTheDiskIsFull)
{
    TemporaryDirectory dir;
    writeBytes(dir / "a.dfd", "old");
    FaultyFileSystem files;
    files.failWritesAfter(3);
    kfield::FileReplacement file(files, dir / "a.dfd");
    file.stream() << "new content";
    EXPECT_THROW(file.commit(), kfield::WriteError);
    EXPECT_EQ(readBytes(dir / "a.dfd"), "old");
}

TEST(FileReplacement, ReportsAMissingDirectoryWithPathAndReason)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    try {
        kfield::FileReplacement file(files, dir / "missing" / "a.dfd");
        FAIL() << "no error";
    } catch (const kfield::WriteError& error) {
        EXPECT_NE(std::string(error.what()).find("missing/a.dfd.part"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("No such file or directory"), std::string::npos) << error.what();
    }
}

TEST(AppendTransaction, CutsTheFileBackUnlessCommitted)
{
    TemporaryDirectory dir;
    writeBytes(dir / "a.dfx", "block 1\r\n");
    kfield::LocalFileSystem files;
    {
        kfield::AppendTransaction append(files, dir / "a.dfx");
        append.stream() << "block 2\r\n";
        append.finish();
    }
    EXPECT_EQ(readBytes(dir / "a.dfx"), "block 1\r\n");
    {
        kfield::AppendTransaction append(files, dir / "a.dfx");
        append.stream() << "block 2\r\n";
        append.finish();
        append.commit();
    }
    EXPECT_EQ(readBytes(dir / "a.dfx"), "block 1\r\nblock 2\r\n");
}

TEST(AppendTransaction, RemovesAFileItCreatedUnlessCommitted)
{
    TemporaryDirectory dir;
    kfield::LocalFileSystem files;
    {
        kfield::AppendTransaction append(files, dir / "a.dfx");
        append.stream() << "block 1\r\n";
    }
    EXPECT_EQ(dir.listing(), "");
}

TEST(AppendTransaction, ShortWriteLeavesTheOldLength)
{
    TemporaryDirectory dir;
    writeBytes(dir / "a.dfx", "block 1\r\n");
    FaultyFileSystem files;
    files.failWritesAfter(4);
    {
        kfield::AppendTransaction append(files, dir / "a.dfx");
        append.stream() << "block 2\r\n";
        EXPECT_THROW(append.finish(), kfield::WriteError);
    }
    EXPECT_EQ(readBytes(dir / "a.dfx"), "block 1\r\n");
}
