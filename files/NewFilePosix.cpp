#include "NewFile.h"

#include "FileDescriptor.h"
#include "FileError.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>

namespace kfield {

bool createNewFile(const std::filesystem::path& path)
{
    FileDescriptor descriptor;
    do {
        descriptor = FileDescriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644));
    } while (!descriptor.isOpen() && errno == EINTR);
    if (!descriptor.isOpen()) {
        if (errno == EEXIST)
            return false;
        throw FileError("Cannot open", path, std::generic_category().message(errno));
    }
    return true;
}

} // namespace kfield
