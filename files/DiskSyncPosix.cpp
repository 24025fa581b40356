#include "DiskSync.h"

#include "FileDescriptor.h"
#include "FileError.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

namespace kfield {
namespace {

void sync(const std::filesystem::path& path, int flags)
{
    const FileDescriptor descriptor(::open(path.c_str(), flags | O_CLOEXEC));
    if (descriptor.get() < 0 || ::fsync(descriptor.get()) != 0)
        throw FileError("Cannot store", path, std::error_code(errno, std::generic_category()).message());
}

} // namespace

void syncFileToDisk(const std::filesystem::path& file)
{
    sync(file, O_RDONLY);
}

void syncDirectoryToDisk(const std::filesystem::path& directory)
{
    sync(directory.empty() ? std::filesystem::path(".") : directory, O_RDONLY | O_DIRECTORY);
}

} // namespace kfield
