// Picks the file-set lock of this system.
#include "FileLock.h"

#ifdef _WIN32
#include "WindowsFileLock.h"
#else
#include "PosixFileLock.h"
#endif

namespace kfield {

std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& lockPath, std::chrono::milliseconds wait)
{
#ifdef _WIN32
    return std::make_unique<WindowsFileLock>(lockPath, wait);
#else
    return std::make_unique<PosixFileLock>(lockPath, wait);
#endif
}

std::filesystem::path lockPathOf(const std::filesystem::path& descriptionPath)
{
    // Cut the extension by its text, not by path::extension(): for the stem-less name ".dfd" that
    // would be empty.
    std::u8string name = descriptionPath.u8string();
    const std::u8string_view extension = u8".dfd";
    if (name.ends_with(extension))
        name.resize(name.size() - extension.size());
    return std::filesystem::path(name + u8".lock");
}

} // namespace kfield
