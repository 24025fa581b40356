#pragma once

#include <chrono>
#include <filesystem>

#include "FileLock.h"

namespace kfield {

// The file-set lock on POSIX systems: flock() on a lock file that the holder removes before it lets
// go, so no lock file stays behind and a waiter never keeps a lock on a file that is already gone.
class PosixFileLock final : public FileLock {
public:
    // Throws WriteError.
    PosixFileLock(std::filesystem::path path, std::chrono::milliseconds wait);
    ~PosixFileLock() override;
    PosixFileLock(const PosixFileLock&) = delete;
    PosixFileLock& operator=(const PosixFileLock&) = delete;

private:
    std::filesystem::path m_path;
    int m_descriptor = -1;
};

} // namespace kfield
