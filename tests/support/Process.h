#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QProcess;

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Variables added to the inherited environment; an empty value removes one.
using EnvironmentChanges = std::map<std::string, std::string>;

// The exit status of a program still running at its time limit, as timeout(1) reports it.
inline constexpr int kTimedOut = 124;

// A program in a child process, started at once with empty standard input. Many can run side by
// side: wait() collects each one. Qt stays out of this header, so that only the runner is built
// with Qt's headers and flags.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments, const EnvironmentChanges& environment = {});
    ChildProcess(ChildProcess&&) noexcept;
    ~ChildProcess();

    // Waits for the end, or kills the program after limitMilliseconds (-1: no limit). exitCode is
    // -1 when the program could not start or a signal ended it; err then says why.
    ProcessResult wait(int limitMilliseconds = -1);

private:
    std::unique_ptr<QProcess> m_process;
};

} // namespace testing_support
