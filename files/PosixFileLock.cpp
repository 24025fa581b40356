#include "PosixFileLock.h"

#include "FileError.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>

namespace kfield {
namespace {

// flock() cannot wait with a time limit, so a waiter asks again at this pace.
constexpr std::chrono::milliseconds kPollInterval{5};

std::string reasonOf(int error)
{
    return std::generic_category().message(error);
}

} // namespace

PosixFileLock::PosixFileLock(const std::filesystem::path& folder, std::chrono::milliseconds wait)
{
    const std::filesystem::path path = folder.empty() ? std::filesystem::path(".") : folder;
    do {
        m_descriptor = FileDescriptor(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    } while (!m_descriptor.isOpen() && errno == EINTR);
    if (!m_descriptor.isOpen())
        throw FileError("Cannot lock", path, reasonOf(errno));

    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(m_descriptor.get(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline) {
            throw FileError("Cannot lock", path, error != EWOULDBLOCK ? reasonOf(error)
                                                                      : "another conversion in this folder has not finished within " + waitText(wait));
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

// This system's lock of a file set: the lock of its folder.
std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait)
{
    return std::make_unique<PosixFileLock>(descriptionPath.parent_path(), wait);
}

} // namespace kfield
