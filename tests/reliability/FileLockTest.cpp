#include "files/FileLock.h"
#include "files/FileError.h"

#include "support/ErrorText.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <csignal>

#include <sys/wait.h>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace testing_support;

TEST(FileLock, ReportsAFolderThatCannotBeLocked)
{
    TemporaryDirectory dir;
    EXPECT_EQ(errorText<kfield::FileError>([&] { kfield::lockFileSet(dir / "missing" / "PUMP.dfd"); }),
              "Cannot lock \"" + (dir / "missing").string() + "\": No such file or directory");
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
    kfield::lockFileSet(dir / "PUMP.dfd", 100ms).reset();
    EXPECT_EQ(dir.listing(), "");
}
