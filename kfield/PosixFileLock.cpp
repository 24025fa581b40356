#include "PosixFileLock.h"

#include "WriteError.h"

#include <cerrno>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kfield {
namespace {

// flock() cannot wait with a time limit, so a waiter asks again at this pace.
constexpr std::chrono::milliseconds kPollInterval{5};

std::string reasonOf(int error)
{
    return std::generic_category().message(error);
}

std::string durationText(std::chrono::milliseconds wait)
{
    return wait.count() % 1000 == 0 ? std::to_string(wait.count() / 1000) + " s" : std::to_string(wait.count()) + " ms";
}

class Descriptor {
public:
    explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
    ~Descriptor()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_descriptor; }
    int release() { return std::exchange(m_descriptor, -1); }

private:
    int m_descriptor;
};

// Waits for the exclusive lock on an open file until the deadline.
void lockExclusive(const Descriptor& file, const std::filesystem::path& path, std::chrono::milliseconds wait,
                   std::chrono::steady_clock::time_point deadline)
{
    while (::flock(file.get(), LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        if (error == EINTR)
            continue;
        if (error != EWOULDBLOCK)
            throw WriteError("Cannot lock", path, reasonOf(error));
        if (std::chrono::steady_clock::now() >= deadline)
            throw WriteError("Cannot lock", path, "another conversion of these files has not finished within " + durationText(wait));
        std::this_thread::sleep_for(kPollInterval);
    }
}

} // namespace

PosixFileLock::PosixFileLock(std::filesystem::path path, std::chrono::milliseconds wait) : m_path(std::move(path))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        // O_NOFOLLOW: a symbolic link put in the lock file's place must not make the converter create
        // or remove a file elsewhere.
        Descriptor file(::open(m_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
        if (file.get() < 0) {
            const int error = errno;
            if (error == EINTR)
                continue;
            throw WriteError("Cannot create the lock file", m_path, reasonOf(error));
        }
        lockExclusive(file, m_path, wait, deadline);

        // The holder before us removed the file before letting go. The lock counts only when the file
        // we hold is still the one at the path; otherwise start again with the file that is there now.
        struct stat held {};
        struct stat named {};
        if (::fstat(file.get(), &held) != 0)
            throw WriteError("Cannot lock", m_path, reasonOf(errno));
        if (::stat(m_path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
            m_descriptor = file.release();
            return;
        }
    }
}

PosixFileLock::~PosixFileLock()
{
    // Remove first, unlock second: a waiter that gets the lock next sees that its file is gone.
    ::unlink(m_path.c_str());
    ::close(m_descriptor);
}

} // namespace kfield
