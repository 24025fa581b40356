#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

#include "support/Process.h"

namespace reliability {

struct ChildOptions {
    // Added to the inherited environment; an empty value removes a variable.
    std::map<std::string, std::string> environment;
    // RLIMIT_FSIZE of the child, with SIGXFSZ ignored: a write past the limit fails with EFBIG, as a
    // write on a full disk fails.
    std::optional<std::uint64_t> fileSizeLimit;
};

// A program running in a child process, started at once; standard output and error are collected
// through pipes. Many can run side by side: wait() collects each one.
class ChildProcess {
public:
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments, const ChildOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Waits for the end. exitCode is -1 when a signal ended the process; err then names the signal.
    testing_support::ProcessResult wait();

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
};

} // namespace reliability
