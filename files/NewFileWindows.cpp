#include "NewFile.h"

#include "FileError.h"

#include <windows.h>

#include <system_error>

namespace kfield {

bool createNewFile(const std::filesystem::path& path)
{
    const HANDLE handle = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
            return false;
        // A folder of that name answers "access denied" to a file create.
        std::error_code ignored;
        if (error == ERROR_ACCESS_DENIED && std::filesystem::is_directory(path, ignored))
            return false;
        throw FileError("Cannot open", path, std::system_category().message(static_cast<int>(error)));
    }
    ::CloseHandle(handle);
    return true;
}

} // namespace kfield
