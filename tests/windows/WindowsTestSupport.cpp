#include "WindowsTestSupport.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "config/WindowsText.h"

namespace wintest {
namespace {

std::wstring quoted(const std::wstring& argument)
{
    // The C runtime's rules: backslashes are literal except before a quote.
    std::wstring result = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        if (c == L'"')
            result.append(backslashes * 2 + 1, L'\\');
        else
            result.append(backslashes, L'\\');
        backslashes = 0;
        result += c;
    }
    result.append(backslashes * 2, L'\\');
    return result + L"\"";
}

// The current environment with the changes, as CreateProcessW wants it.
std::wstring environmentBlock(const std::map<std::wstring, std::wstring>& changes)
{
    std::map<std::wstring, std::wstring> variables;
    const std::unique_ptr<wchar_t, decltype(&FreeEnvironmentStringsW)> current(GetEnvironmentStringsW(), &FreeEnvironmentStringsW);
    for (const wchar_t* entry = current.get(); *entry; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const std::size_t equals = text.find(L'=', 1); // "=C:=C:\..." entries start with "="
        if (equals != std::wstring::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const auto& [name, value] : changes) {
        if (value.empty())
            variables.erase(name);
        else
            variables[name] = value;
    }
    std::wstring block;
    for (const auto& [name, value] : variables)
        block += name + L"=" + value + L'\0';
    return block + L'\0';
}

HANDLE inheritableFile(const std::filesystem::path& path)
{
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create " + utf8(path));
    return file;
}

template <class Function>
Function wineFunction(const char* name)
{
    const auto function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), name)));
    if (!function)
        throw std::runtime_error(std::string("not running under Wine: ") + name + " is missing");
    return function;
}

std::filesystem::path fromBuild(const char* unixPathText)
{
    return windowsPath(unixPathText);
}

} // namespace

ChildProcess::ChildProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                           const std::map<std::wstring, std::wstring>& environment)
{
    static std::atomic<int> counter{0};
    m_capture = std::filesystem::temp_directory_path() /
                ("norda-capture-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(m_capture);

    std::wstring commandLine = quoted(program.wstring());
    for (const auto& argument : arguments)
        commandLine += L" " + quoted(config::wideFromUtf8(argument));
    std::wstring block = environmentBlock(environment);

    const HANDLE out = inheritableFile(m_capture / "out");
    const HANDLE err = inheritableFile(m_capture / "err");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                        CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &process);
    const DWORD error = GetLastError();
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        throw std::runtime_error("cannot start " + utf8(program) + ": error " + std::to_string(error));
    CloseHandle(process.hThread);
    m_process = process.hProcess;
}

ChildProcess::~ChildProcess()
{
    if (m_process) {
        if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process, 99);
        CloseHandle(m_process);
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_capture, ignored);
}

ProcessResult ChildProcess::finish(DWORD milliseconds)
{
    ProcessResult result;
    if (WaitForSingleObject(m_process, milliseconds) != WAIT_OBJECT_0) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, INFINITE);
    }
    GetExitCodeProcess(m_process, &result.exitCode);
    result.out = readBytes(m_capture / "out");
    result.err = readBytes(m_capture / "err");
    return result;
}

ProcessResult runProcess(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::map<std::wstring, std::wstring>& environment)
{
    ChildProcess child(program, arguments, environment);
    return child.finish();
}

std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + utf8(path));
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void writeBytes(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + utf8(path));
}

std::string utf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path fromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

TemporaryDirectory::TemporaryDirectory(const std::string& hint)
{
    static std::atomic<int> counter{0};
    m_path = std::filesystem::temp_directory_path() /
             fromUtf8(hint + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TemporaryDirectory::listing() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path))
        names.push_back(utf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string joined;
    for (const auto& name : names)
        joined += (joined.empty() ? "" : " ") + name;
    return joined;
}

std::string unixPath(const std::filesystem::path& windows)
{
    using ToUnix = char* (*)(const wchar_t*);
    const auto toUnix = wineFunction<ToUnix>("wine_get_unix_file_name");
    char* text = toUnix(windows.c_str());
    if (!text)
        throw std::runtime_error("no Linux path for " + utf8(windows));
    std::string result = text;
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

std::filesystem::path windowsPath(const std::string& unix)
{
    using ToDos = wchar_t* (*)(const char*);
    const auto toDos = wineFunction<ToDos>("wine_get_dos_file_name");
    wchar_t* text = toDos(unix.c_str());
    if (!text)
        throw std::runtime_error("no Windows path for " + unix);
    std::filesystem::path result(text);
    HeapFree(GetProcessHeap(), 0, text);
    return result;
}

std::string environmentText(const wchar_t* name)
{
    wchar_t value[4096];
    const DWORD length = GetEnvironmentVariableW(name, value, 4096);
    return length > 0 && length < 4096 ? config::utf8FromWide(std::wstring_view(value, length)) : std::string();
}

std::filesystem::path programDirectory()
{
    return fromBuild(NORDA_PROGRAM_DIR);
}

std::filesystem::path sourceDirectory()
{
    return fromBuild(NORDA_SOURCE_DIR);
}

std::string linuxCli()
{
    return NORDA_LINUX_CLI;
}

} // namespace wintest
