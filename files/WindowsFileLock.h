#pragma once

#include <chrono>
#include <filesystem>

#include "FileLock.h"

namespace kfield {

// The file-set lock on Windows: a lock file beside the transfer files ("<stem>.lock"), created new
// with no sharing at all and deleted on close. A second opener is refused until the holder closes
// it, and the system closes it, and so deletes it, when the holder dies. A file of that name that no
// conversion holds is someone else's: it is left as it is and the next name ("<stem>.1.lock" and on)
// is taken instead; every conversion walks the names in the same order, so all meet at the same one.
class WindowsFileLock final : public FileLock {
public:
    // Throws FileError.
    WindowsFileLock(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait);
    ~WindowsFileLock() override;
    WindowsFileLock(const WindowsFileLock&) = delete;
    WindowsFileLock& operator=(const WindowsFileLock&) = delete;

    // The n-th name the lock file may take: "<stem>.lock", then "<stem>.1.lock" and on.
    static std::filesystem::path lockPath(const std::filesystem::path& descriptionPath, int attempt);

private:
    void* m_handle = nullptr; // the open lock file
};

} // namespace kfield
