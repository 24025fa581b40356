#include "files/FileLock.h"
#include "files/FileError.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace testing_support;

namespace {

// Takes the lock of a file set and lets it go; the refusal's message, or "" when it was taken.
std::string refusalOf(const std::filesystem::path& fileSet, std::chrono::milliseconds wait = 100ms)
{
    try {
        kfield::lockFileSet(fileSet, wait).reset();
    } catch (const kfield::FileError& error) {
        return error.what();
    }
    return "";
}

} // namespace

TEST(FileLock, GivesUpWhenAnotherHolderKeepsIt)
{
    TemporaryDirectory dir;
    const auto held = kfield::lockFileSet(dir / "PUMP.dfd");
    EXPECT_EQ(refusalOf(dir / "PUMP.dfd", 300ms),
              "Cannot lock \"" + dir.path().string() + "\": another conversion in this folder has not finished within 300 ms");
}

TEST(FileLock, ReportsAFolderThatCannotBeLocked)
{
    TemporaryDirectory dir;
    EXPECT_EQ(refusalOf(dir / "missing" / "PUMP.dfd"), "Cannot lock \"" + (dir / "missing").string() + "\": No such file or directory");
}

// Whether its holder lets it go or dies; no lock leaves a file behind.
TEST(FileLock, IsFreeAgainAfterItsHolder)
{
    TemporaryDirectory dir;
    {
        const auto lock = kfield::lockFileSet(dir / "PUMP.dfd");
        EXPECT_EQ(dir.listing(), "");
    }
    const pid_t child = ::fork();
    if (child == 0) {
        const auto lock = kfield::lockFileSet(dir / "PUMP.dfd");
        ::kill(::getpid(), SIGKILL);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(refusalOf(dir / "PUMP.dfd"), "");
    EXPECT_EQ(dir.listing(), "");
}
