#include "NewFile.h"

#include "WriteError.h"

#include <cerrno>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace kfield {

bool createNewFile(const std::filesystem::path& path)
{
    int descriptor = -1;
    do {
        descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    } while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        if (errno == EEXIST)
            return false;
        throw WriteError("Cannot open", path, std::generic_category().message(errno));
    }
    ::close(descriptor);
    return true;
}

} // namespace kfield
