#include "ImmutableFlag.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <string>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace reliability {
namespace {

// Sets or clears the attribute; returns 0 or the errno of the failure.
int setImmutable(const std::filesystem::path& path, bool immutable)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return errno;
    int flags = 0;
    int error = 0;
    if (::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) != 0) {
        error = errno;
    } else {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        if (::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) != 0)
            error = errno;
    }
    ::close(descriptor);
    return error;
}

} // namespace

ImmutableFlag::ImmutableFlag(std::filesystem::path path) : m_path(std::move(path))
{
    if (const int error = setImmutable(m_path, true); error != 0)
        throw std::runtime_error("cannot make \"" + m_path.string() + "\" immutable: " + std::strerror(error));
}

ImmutableFlag::~ImmutableFlag()
{
    // Left set, the test's directory could not be removed by anyone but an administrator.
    setImmutable(m_path, false);
}

std::string ImmutableFlag::unavailableReason(const std::filesystem::path& directory)
{
    const std::filesystem::path probe = directory / "immutable-probe";
    std::ofstream(probe).put('x');
    const int error = setImmutable(probe, true);
    setImmutable(probe, false);
    std::filesystem::remove(probe);
    return error == 0 ? std::string() : std::string("the immutable attribute is not available here: ") + std::strerror(error);
}

} // namespace reliability
