#include "WindowsTestSupport.h"

#include <functional>
#include <cstdlib>
#include <stdexcept>

#include "platform/WindowsText.h"

namespace wintest {

using testing_support::contentsOf;
using testing_support::readBytes;
using testing_support::TemporaryDirectory;

namespace {

// Quoted as the C runtime reads it; no argument of this suite ends in a backslash or has one before a quote.
std::wstring quoted(std::wstring argument)
{
    for (std::size_t at = 0; (at = argument.find(L'"', at)) != std::wstring::npos; at += 2)
        argument.insert(at, 1, L'\\');
    return L"\"" + argument + L"\"";
}

HANDLE inheritableFile(const std::filesystem::path& path)
{
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + config::pathText(path));
    return file;
}

// One of Wine's conversions between a Windows path and a Linux one.
template <class To, class From>
std::basic_string<To> winePath(const char* conversion, const From* path)
{
    using Function = To* (*)(const From*);
    const auto function =
        reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), conversion)));
    if (!function)
        throw std::runtime_error(std::string("not running under Wine: ") + conversion + " is missing");
    To* const converted = function(path);
    if (!converted)
        throw std::runtime_error(std::string(conversion) + " has no answer");
    std::basic_string<To> result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const std::map<std::wstring, std::wstring>& environment)
{
    std::wstring commandLine = quoted(program.wstring());
    for (const auto& argument : arguments)
        commandLine += L" " + quoted(config::wideFromUtf8(argument));
    // The child inherits this process's environment; every start names the variables it depends on.
    for (const auto& [name, value] : environment)
        SetEnvironmentVariableW(name.c_str(), value.empty() ? nullptr : value.c_str());

    const HANDLE out = inheritableFile(m_capture.path() / "out");
    const HANDLE err = inheritableFile(m_capture.path() / "err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    const DWORD error = GetLastError();
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        throw std::runtime_error("cannot start " + config::pathText(program) + ": error " + std::to_string(error));
    CloseHandle(process.hThread);
    m_process = process.hProcess;
}

ChildProcess::~ChildProcess()
{
    if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
        TerminateProcess(m_process, 99);
    CloseHandle(m_process);
}

ProcessResult ChildProcess::finish(DWORD milliseconds)
{
    ProcessResult result;
    if (WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, INFINITE);
    }
    GetExitCodeProcess(m_process, &result.exitCode);
    result.out = readBytes(m_capture.path() / "out");
    result.err = readBytes(m_capture.path() / "err");
    return result;
}

std::string unixPath(const std::filesystem::path& windows)
{
    return winePath<char>("wine_get_unix_file_name", windows.c_str());
}

std::filesystem::path windowsPath(const std::string& unix)
{
    return winePath<wchar_t>("wine_get_dos_file_name", unix.c_str());
}

ProcessResult runOnLinux(const std::vector<std::string>& command)
{
    const TemporaryDirectory capture;
    const char* const locale = std::getenv("LC_ALL");
    std::vector<std::string> all{"-c", "out=$1 err=$2 status=$3; shift 3; env -i \"$@\" >\"$out\" 2>\"$err\"; "
                                       "echo $? >\"$status.part\"; mv \"$status.part\" \"$status\"",
                                 "sh", unixPath(capture / "out"), unixPath(capture / "err"), unixPath(capture / "status"),
                                 "LC_ALL=" + std::string(locale ? locale : "en_US.UTF-8"), "HOME=" + unixPath(capture.path())};
    all.insert(all.end(), command.begin(), command.end());
    ChildProcess(windowsPath("/bin/sh"), all).finish();
    for (int waited = 0; !std::filesystem::exists(capture / "status") && waited < 6000; ++waited)
        Sleep(20);
    ProcessResult result;
    result.out = readBytes(capture / "out");
    result.err = readBytes(capture / "err");
    result.exitCode = static_cast<DWORD>(std::stoul(readBytes(capture / "status")));
    return result;
}

::testing::AssertionResult sameFiles(const std::filesystem::path& actual, const std::filesystem::path& expected)
{
    const testing_support::DirectoryBytes expectedFiles = contentsOf(expected);
    if (!expectedFiles.empty() && contentsOf(actual) == expectedFiles)
        return ::testing::AssertionSuccess();
    const auto summary = [](const std::filesystem::path& directory) {
        std::string all = config::pathText(directory) + ":\n";
        for (const auto& [name, bytes] : contentsOf(directory))
            all += name + " " + std::to_string(bytes.size()) + " " + std::to_string(std::hash<std::string>{}(bytes)) + "\n";
        return all;
    };
    return ::testing::AssertionFailure() << summary(actual) << summary(expected);
}

std::filesystem::path testData(const std::string& name)
{
    return windowsPath(NORDA_SOURCE_DIR) / "tests" / "data" / "windows" / name;
}

} // namespace wintest
