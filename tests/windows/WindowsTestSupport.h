#pragma once

#include <windows.h>

#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// Helpers of the Windows suite: processes, files and the way between Wine's two file systems.
namespace wintest {

struct ProcessResult {
    DWORD exitCode = 0;
    std::string out; // as the program wrote it (UTF-8 for norda-cli)
    std::string err;
};

// A started process whose output goes to files; the caller decides how to wait for it.
class ChildProcess {
public:
    // Starts program with arguments (UTF-8, quoted as the C runtime expects) after setting the given
    // environment variables in this process, which the child inherits (an empty value removes one).
    // Throws std::runtime_error.
    ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::map<std::wstring, std::wstring>& environment = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    HANDLE handle() const { return m_process; }
    // Waits for the end (or kills the process after the time) and collects what it printed.
    ProcessResult finish(DWORD milliseconds = 120000);

private:
    testing_support::TemporaryDirectory m_capture;
    HANDLE m_process = nullptr;
};

// Wine's mapping between a Windows path and the Linux file system (wine_get_unix_file_name and
// wine_get_dos_file_name). Throws std::runtime_error when not running under Wine.
std::string unixPath(const std::filesystem::path& windowsPath);
std::filesystem::path windowsPath(const std::string& unixPath);

// A Linux command through the shell, in a clean environment with LC_ALL as this process has it (else
// en_US.UTF-8) and a fresh HOME. The shell takes its output and exit status and says when it is done:
// for a Linux program Wine passes on neither, and its handle does not wait.
ProcessResult runOnLinux(const std::vector<std::string>& command);

// Both directories hold files of the same names and bytes, and at least one; else the names, sizes and
// a checksum of each file's content, short enough for a failure message.
::testing::AssertionResult sameFiles(const std::filesystem::path& actual, const std::filesystem::path& expected);

// A file of this suite's test data (tests/data/windows); without a name, the folder.
std::filesystem::path testData(const std::string& name = "");

} // namespace wintest
