#include "DiskSync.h"

#include "FileError.h"

#include <windows.h>

#include <system_error>

namespace kfield {

void syncFileToDisk(const std::filesystem::path& file)
{
    const HANDLE handle = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        throw FileError("Cannot store", file, std::system_category().message(static_cast<int>(::GetLastError())));
    const bool flushed = ::FlushFileBuffers(handle) != 0;
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (!flushed)
        throw FileError("Cannot store", file, std::system_category().message(static_cast<int>(error)));
}

// NTFS records a rename in its journal; there is no directory to flush.
void syncDirectoryToDisk(const std::filesystem::path&) {}

} // namespace kfield
