// Picks the file-set lock of this system.
#include "FileLock.h"

#ifdef _WIN32
#include "WindowsFileLock.h"
#else
#include "PosixFileLock.h"
#endif

#include <string>

namespace kfield {

std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait)
{
#ifdef _WIN32
    return std::make_unique<WindowsFileLock>(descriptionPath, wait);
#else
    return std::make_unique<PosixFileLock>(descriptionPath.parent_path(), wait);
#endif
}

std::string waitText(std::chrono::milliseconds wait)
{
    return wait.count() % 1000 == 0 ? std::to_string(wait.count() / 1000) + " s" : std::to_string(wait.count()) + " ms";
}

} // namespace kfield
