#include "kfield/FileLock.h"
#include "kfield/WriteError.h"

#include "WindowsTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

TEST(WindowsFileLock, ASecondHolderWaitsAndGivesUpWithAClearReason)
{
    wintest::TemporaryDirectory directory("lock \xC3\x84");
    const auto lockPath = directory / "Geh\xC3\xA4use.lock";
    const auto held = kfield::lockFileSet(lockPath, 1s);
    EXPECT_TRUE(std::filesystem::exists(lockPath));
    try {
        kfield::lockFileSet(lockPath, 50ms);
        FAIL() << "a second lock on the same files";
    } catch (const kfield::WriteError& error) {
        EXPECT_EQ(error.reason(), "another conversion of these files has not finished within 50 ms");
        EXPECT_NE(std::string(error.what()).find("Geh\xC3\xA4use.lock"), std::string::npos) << error.what();
    }
}

TEST(WindowsFileLock, TheLockFileGoesWithTheHolderAndTheNextOneGetsIt)
{
    wintest::TemporaryDirectory directory;
    const auto lockPath = directory / "part.lock";
    auto first = kfield::lockFileSet(lockPath, 1s);
    std::thread release([&first] {
        std::this_thread::sleep_for(100ms);
        first.reset();
    });
    const auto started = std::chrono::steady_clock::now();
    const auto second = kfield::lockFileSet(lockPath, 10s);
    release.join();
    EXPECT_GE(std::chrono::steady_clock::now() - started, 90ms);
    EXPECT_TRUE(std::filesystem::exists(lockPath));
}

TEST(WindowsFileLock, NoLockFileStaysBehind)
{
    wintest::TemporaryDirectory directory;
    const auto lockPath = directory / "part.lock";
    kfield::lockFileSet(lockPath, 1s).reset();
    EXPECT_FALSE(std::filesystem::exists(lockPath));
}
