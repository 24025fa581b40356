#include "ProgramDirectory.h"

#ifdef _WIN32
#include "platform/PlatformError.h"

#include <windows.h>

#include <string>
#endif

namespace app {

std::filesystem::path programDirectory()
{
#ifdef _WIN32
    // Wide, so that a directory whose name the ANSI code page cannot hold still works; the buffer
    // grows until the whole name fits.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            throw config::PlatformError("Cannot find the program's own directory");
        if (length < name.size()) {
            name.resize(length);
            return std::filesystem::path(name).parent_path();
        }
        name.resize(name.size() * 2);
    }
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

} // namespace app
