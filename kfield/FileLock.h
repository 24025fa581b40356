#pragma once

#include <chrono>
#include <filesystem>
#include <memory>

namespace kfield {

// An exclusive lock of the operating system on one file set, held while the object lives. It keeps
// two conversions of the same part program (two processes, or two threads) from deciding and writing
// at the same time. The lock file exists only while the lock is held.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// How long a conversion waits for another conversion of the same file set before it gives up.
inline constexpr std::chrono::milliseconds kFileLockWait{std::chrono::minutes(2)};

// Takes the lock that the file at lockPath stands for, waiting up to `wait` while someone else holds
// it. Throws WriteError when the lock file cannot be created or locked, or the wait runs out.
std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& lockPath, std::chrono::milliseconds wait = kFileLockWait);

// The lock file of the file set whose description file is descriptionPath: the same directory and
// stem, with ".lock" in place of ".dfd".
std::filesystem::path lockPathOf(const std::filesystem::path& descriptionPath);

} // namespace kfield
