#pragma once

#include <chrono>
#include <filesystem>

#include "FileLock.h"

namespace kfield {

// The file-set lock on Windows: the lock file opened with no sharing at all, so a second opener is
// refused until the holder closes it, and deleted on close, so no lock file stays behind, not even
// after a crash.
class WindowsFileLock final : public FileLock {
public:
    // Throws WriteError.
    WindowsFileLock(std::filesystem::path path, std::chrono::milliseconds wait);
    ~WindowsFileLock() override;
    WindowsFileLock(const WindowsFileLock&) = delete;
    WindowsFileLock& operator=(const WindowsFileLock&) = delete;

private:
    std::filesystem::path m_path;
    void* m_handle = nullptr; // the open lock file
};

} // namespace kfield
