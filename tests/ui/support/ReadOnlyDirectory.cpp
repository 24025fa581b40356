#include "ReadOnlyDirectory.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <fstream>

namespace ui_testing {

ReadOnlyDirectory::ReadOnlyDirectory(std::filesystem::path directory)
    : m_directory(std::move(directory))
    , m_permissions(std::filesystem::status(m_directory).permissions())
{
    using std::filesystem::perms;
    std::filesystem::permissions(m_directory, perms::owner_write | perms::group_write | perms::others_write,
                                 std::filesystem::perm_options::remove);
    if (canCreateFile())
        m_immutable = setImmutable(true);
    m_isReadOnly = !canCreateFile();
}

ReadOnlyDirectory::~ReadOnlyDirectory()
{
    if (m_immutable)
        setImmutable(false);
    std::error_code ignored;
    std::filesystem::permissions(m_directory, m_permissions, ignored);
}

bool ReadOnlyDirectory::setImmutable(bool immutable)
{
    const int descriptor = ::open(m_directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(descriptor);
    return done;
}

bool ReadOnlyDirectory::canCreateFile() const
{
    const std::filesystem::path probe = m_directory / ".write-probe";
    const bool created = std::ofstream(probe).good();
    std::error_code ignored;
    std::filesystem::remove(probe, ignored);
    return created;
}

} // namespace ui_testing
