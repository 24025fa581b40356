#include "kfield/FileLock.h"
#include "kfield/WriteError.h"

#include "support/Files.h"
#include "support/ModelBuilder.h"
#include "support/RunFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using namespace testing_support;

TEST(FileLock, NamesTheLockFileAfterTheStem)
{
    EXPECT_EQ(kfield::lockPathOf("/out/PUMP HOUSING A1.dfd"), std::filesystem::path("/out/PUMP HOUSING A1.lock"));
    EXPECT_EQ(kfield::lockPathOf("/out/A.B_05.12.2026_14.03.12.dfd"), std::filesystem::path("/out/A.B_05.12.2026_14.03.12.lock"));
    EXPECT_EQ(kfield::lockPathOf("/out/.dfd"), std::filesystem::path("/out/.lock"));
}

TEST(FileLock, LeavesNoLockFileBehind)
{
    TemporaryDirectory dir;
    {
        const auto lock = kfield::lockFileSet(dir / "PUMP.lock");
        EXPECT_EQ(dir.listing(), "PUMP.lock");
    }
    EXPECT_EQ(dir.listing(), "");
}

TEST(FileLock, TakesOverALockFileLeftByACrashedRun)
{
    TemporaryDirectory dir;
    writeBytes(dir / "PUMP.lock", "");
    {
        const auto lock = kfield::lockFileSet(dir / "PUMP.lock", 100ms);
    }
    EXPECT_EQ(dir.listing(), "");
}

TEST(FileLock, GivesUpWhenAnotherHolderKeepsIt)
{
    TemporaryDirectory dir;
    const auto held = kfield::lockFileSet(dir / "PUMP.lock");
    const auto started = std::chrono::steady_clock::now();
    try {
        kfield::lockFileSet(dir / "PUMP.lock", 300ms);
        FAIL() << "the lock was taken twice";
    } catch (const kfield::WriteError& error) {
        EXPECT_EQ(std::string(error.what()), "Cannot lock \"" + (dir / "PUMP.lock").string() +
                                                 "\": another conversion of these files has not finished within 300 ms");
    }
    EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
    EXPECT_EQ(dir.listing(), "PUMP.lock"); // the waiter must not remove the holder's file
}

TEST(FileLock, ReportsALockFileThatCannotBeCreated)
{
    TemporaryDirectory dir;
    try {
        kfield::lockFileSet(dir / "missing" / "PUMP.lock");
        FAIL() << "no error";
    } catch (const kfield::WriteError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create the lock file \"" + (dir / "missing" / "PUMP.lock").string() + "\": No such file or directory");
    }
    // A symbolic link in the lock file's place is not followed.
    std::filesystem::create_symlink(dir / "elsewhere", dir / "LINK.lock");
    EXPECT_THROW(kfield::lockFileSet(dir / "LINK.lock", 100ms), kfield::WriteError);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere"));
}

TEST(FileLock, LetsOnlyOneHolderInAtATimeUnderContention)
{
    // Every holder removes the file before it unlocks; waiters that locked the removed file must
    // notice and start again, or two of them would be inside at once.
    TemporaryDirectory dir;
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    int entries = 0; // guarded by the lock alone
    constexpr int kThreads = 6;
    constexpr int kRounds = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&] {
            for (int round = 0; round < kRounds; ++round) {
                const auto lock = kfield::lockFileSet(dir / "PUMP.lock");
                if (inside.fetch_add(1) != 0)
                    ++overlaps;
                ++entries;
                std::this_thread::yield();
                inside.fetch_sub(1);
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(entries, kThreads * kRounds);
    EXPECT_EQ(dir.listing(), "");
}

namespace {

class LockedRun : public RunFixture {};

} // namespace

TEST_F(LockedRun, WaitsWhileAnotherConversionHoldsTheFileSet)
{
    attach(exampleApplication());
    auto held = kfield::lockFileSet(dir / "PUMP HOUSING A1.lock");
    auto running = std::async(std::launch::async, [&] { return start(); });
    EXPECT_EQ(running.wait_for(400ms), std::future_status::timeout);
    EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.lock");
    held.reset();
    EXPECT_EQ(running.get().outcome, app::RunOutcome::ValuesWritten);
    EXPECT_EQ(dir.listing(), "PUMP HOUSING A1.dfd PUMP HOUSING A1.dfx");
}
