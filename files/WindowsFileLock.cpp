#include "WindowsFileLock.h"

#include "FileError.h"

#include <windows.h>

#include <string>
#include <system_error>
#include <thread>

namespace kfield {
namespace {

// An open file cannot be waited for with a time limit, so a waiter asks again at this pace.
constexpr std::chrono::milliseconds kPollInterval{5};
constexpr int kLockFileNames = 100;

std::string reasonOf(DWORD error)
{
    return std::system_category().message(static_cast<int>(error));
}

enum class NameState { Free, Held, Foreign };

// What stands at a lock file's name that could not be created.
NameState inspect(const std::filesystem::path& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? NameState::Free : NameState::Held;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return NameState::Foreign;
    // A conversion's lock file refuses every opener; anything that lets us look in is not one.
    const HANDLE probe = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        return NameState::Foreign;
    }
    // Refused while held, or while it is being deleted as its holder lets go.
    return ::GetLastError() == ERROR_FILE_NOT_FOUND ? NameState::Free : NameState::Held;
}

} // namespace

std::filesystem::path WindowsFileLock::lockPath(const std::filesystem::path& descriptionPath, int attempt)
{
    // Cut the extension by its text, not by path::extension(): for the stem-less name ".dfd" that
    // would be empty.
    std::wstring name = descriptionPath.wstring();
    if (name.ends_with(L".dfd"))
        name.resize(name.size() - 4);
    if (attempt > 0)
        name += L"." + std::to_wstring(attempt);
    return std::filesystem::path(name + L".lock");
}

WindowsFileLock::WindowsFileLock(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait)
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        bool held = false;
        for (int attempt = 0; attempt < kLockFileNames && !held;) {
            const std::filesystem::path path = lockPath(descriptionPath, attempt);
            const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                m_handle = file;
                return;
            }
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS && error != ERROR_ACCESS_DENIED)
                throw FileError("Cannot create the lock file", path, reasonOf(error));
            switch (inspect(path)) {
            case NameState::Free:
                // Let go meanwhile: try the same name again. Refused with nothing there: the folder
                // does not let us create files.
                if (error == ERROR_ACCESS_DENIED)
                    throw FileError("Cannot create the lock file", path, reasonOf(error));
                break;
            case NameState::Held:
                held = true;
                break;
            case NameState::Foreign:
                ++attempt;
                break;
            }
        }
        if (!held)
            throw FileError("Cannot lock", lockPath(descriptionPath, 0), "every name for the lock file is taken by other files");
        if (std::chrono::steady_clock::now() >= deadline)
            throw FileError("Cannot lock", lockPath(descriptionPath, 0),
                            "another conversion of these files has not finished within " + waitText(wait));
        std::this_thread::sleep_for(kPollInterval);
    }
}

WindowsFileLock::~WindowsFileLock()
{
    ::CloseHandle(m_handle); // deletes the lock file
}

// This system's lock of a file set: a lock file beside its description file.
std::unique_ptr<FileLock> lockFileSet(const std::filesystem::path& descriptionPath, std::chrono::milliseconds wait)
{
    return std::make_unique<WindowsFileLock>(descriptionPath, wait);
}

} // namespace kfield
