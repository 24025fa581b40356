#include "files/FileLock.h"
#include "files/FileError.h"

#include "WindowsTestSupport.h"
#include "support/ErrorText.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

using namespace std::chrono_literals;

// The lock file takes the files' name; an operator's read-only file and a folder under the first two
// such names stay as they are, and every conversion of the file set meets at the third name. A second
// holder waits for the first, gives up after its time with the reason, and the lock file goes with the
// last holder.
TEST(WindowsFileLock, FilesNamedLikeTheLockFileAreNotOursAndASecondHolderWaitsForTheFirst)
{
    const testing_support::TemporaryDirectory work;
    const std::filesystem::path directory = work / "lock \xC3\x84";
    std::filesystem::create_directory(directory);
    const auto named = [&](const std::string& ending) { return directory / config::pathFromUtf8("Geh\xC3\xA4use" + ending); };
    {
        const auto alone = kfield::lockFileSet(named(".dfd"), 1s);
        EXPECT_TRUE(std::filesystem::exists(named(".lock")));
    }
    std::ofstream(named(".lock"), std::ios::binary) << "operator's notes\r\n";
    SetFileAttributesW(named(".lock").c_str(), FILE_ATTRIBUTE_READONLY);
    std::filesystem::create_directory(named(".1.lock"));
    auto first = kfield::lockFileSet(named(".dfd"), 1s);
    EXPECT_TRUE(std::filesystem::exists(named(".2.lock")));
    EXPECT_EQ(testing_support::errorText<kfield::FileError>([&] { kfield::lockFileSet(named(".dfd"), 50ms); }),
              "Cannot lock \"" + config::pathText(named(".lock")) + "\": another conversion of these files has not finished within 50 ms");
    std::atomic<bool> releasing{false};
    std::jthread release([&] { // joined also when the waiter throws
        std::this_thread::sleep_for(100ms);
        releasing = true;
        first.reset();
    });
    kfield::lockFileSet(named(".dfd"), 10s).reset();
    EXPECT_TRUE(releasing) << "the second holder did not wait for the first";
    release.join();
    EXPECT_FALSE(std::filesystem::exists(named(".2.lock")));
    EXPECT_EQ(testing_support::readBytes(named(".lock")), "operator's notes\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(named(".1.lock")));
    SetFileAttributesW(named(".lock").c_str(), FILE_ATTRIBUTE_NORMAL);
}
