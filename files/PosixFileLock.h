#pragma once

#include <chrono>
#include <filesystem>

#include "FileDescriptor.h"
#include "FileLock.h"

namespace kfield {

// The file-set lock on POSIX systems: flock() on the output folder itself. It creates no file, so it
// can neither meet an operator's file nor leave one behind, and the system lets go of it when its
// holder dies. It serialises every conversion into the folder, not only those of one file set.
class PosixFileLock final : public FileLock {
public:
    // Throws FileError.
    PosixFileLock(const std::filesystem::path& folder, std::chrono::milliseconds wait);

private:
    FileDescriptor m_descriptor; // closing it lets go of the lock
};

} // namespace kfield
