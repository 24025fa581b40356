#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/types.h>

namespace testing_support {

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Variables added to the inherited environment; an empty value removes one.
using EnvironmentChanges = std::map<std::string, std::string>;

// A program running in a child process, started at once, standard input empty; standard output and
// error are collected through pipes. Many can run side by side: wait() collects each one.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments, const EnvironmentChanges& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the end. exitCode is -1 when a signal ended the process; err then names the signal.
    ProcessResult wait();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

} // namespace testing_support
