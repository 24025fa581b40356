#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>

namespace kfield {

// An exclusive lock of the operating system on one file set, held while the object lives. It keeps
// two conversions of the same part program (two processes, or two threads) from deciding and writing
// at the same time. Taking it never changes a file the converter did not create, and a lock whose
// holder died is free again.
class FileLock {
public:
    virtual ~FileLock() = default;
};

// How long a conversion waits for another conversion of the same file set before it gives up.
inline constexpr std::chrono::milliseconds kFileLockWait{std::chrono::minutes(2)};

// Takes the lock of the file set whose description file is descriptionPath, waiting up to `wait`
// while someone else holds it. Throws FileError when the lock cannot be taken or the wait runs out.
// Defined by the one system lock that the build compiles (PosixFileLock or WindowsFileLock).
std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait = kFileLockWait);

// Takes file-set locks for a run; given to it like its other services.
class FileLocks {
public:
    virtual ~FileLocks() = default;
    // The lock of the file set whose description file is descriptionPath; throws FileError when it
    // cannot be taken.
    virtual std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath) = 0;
};

// The locks of the operating system, waiting up to `wait` for another holder.
class SystemFileLocks final : public FileLocks {
public:
    explicit SystemFileLocks(std::chrono::milliseconds wait = kFileLockWait) : m_wait(wait) {}
    std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath) override
    {
        return kfield::lockFileSet(descriptionPath, m_wait);
    }

private:
    std::chrono::milliseconds m_wait;
};

// "2 s" or "300 ms", for the message of a wait that ran out.
std::string waitText(std::chrono::milliseconds wait);

} // namespace kfield
