#include "Process.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace testing_support {
namespace {

std::vector<std::string> childEnvironment(const EnvironmentChanges& changes)
{
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text(*entry);
        if (!changes.contains(text.substr(0, text.find('='))))
            entries.push_back(text);
    }
    for (const auto& [name, value] : changes) {
        if (!value.empty())
            entries.push_back(name + "=" + value);
    }
    return entries;
}

std::vector<char*> pointers(std::vector<std::string>& texts)
{
    std::vector<char*> result;
    for (std::string& text : texts)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

std::string drain(int descriptor)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(descriptor, buffer, sizeof buffer);
        if (n > 0)
            text.append(buffer, static_cast<std::size_t>(n));
        else if (n == 0 || errno != EINTR)
            return text;
    }
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments, const EnvironmentChanges& environment)
{
    std::vector<std::string> argumentTexts{program.string()};
    argumentTexts.insert(argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<std::string> environmentTexts = childEnvironment(environment);
    int out[2];
    int err[2];
    // Close-on-exec, so that a child never holds the pipes of its brothers open.
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error(std::string("pipe: ") + std::strerror(errno));
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    const int failed = ::posix_spawn(&m_pid, argumentTexts.front().c_str(), &actions, nullptr, pointers(argumentTexts).data(),
                                     pointers(environmentTexts).data());
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    m_out = out[0];
    m_err = err[0];
    if (failed != 0) {
        m_pid = -1;
        ::close(m_out);
        ::close(m_err);
        throw std::runtime_error("cannot start " + program.string() + ": " + std::strerror(failed));
    }
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        wait();
    }
}

ProcessResult ChildProcess::wait()
{
    ProcessResult result;
    // Each stream is read to its end before waiting; what the converter prints fits in a pipe.
    result.out = drain(m_out);
    result.err = drain(m_err);
    ::close(m_out);
    ::close(m_err);
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else {
        result.exitCode = -1;
        result.err += std::string("[ended by signal ") + ::strsignal(WTERMSIG(status)) + "]";
    }
    return result;
}

} // namespace testing_support
