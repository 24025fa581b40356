#include "WindowsFileLock.h"

#include "WriteError.h"

#include <windows.h>

#include <string>
#include <system_error>
#include <thread>

namespace kfield {
namespace {

// An open file cannot be waited for with a time limit, so a waiter asks again at this pace.
constexpr std::chrono::milliseconds kPollInterval{5};

std::string durationText(std::chrono::milliseconds wait)
{
    return wait.count() % 1000 == 0 ? std::to_string(wait.count() / 1000) + " s" : std::to_string(wait.count()) + " ms";
}

} // namespace

WindowsFileLock::WindowsFileLock(std::filesystem::path path, std::chrono::milliseconds wait) : m_path(std::move(path))
{
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        const HANDLE file = CreateFileW(m_path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            m_handle = file;
            return;
        }
        const DWORD error = GetLastError();
        // Held by another conversion, or its file is being deleted as that one lets go.
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
        if (!busy)
            throw WriteError("Cannot create the lock file", m_path, std::system_category().message(static_cast<int>(error)));
        if (std::chrono::steady_clock::now() >= deadline) {
            throw WriteError("Cannot lock", m_path, error == ERROR_ACCESS_DENIED
                                                        ? std::system_category().message(static_cast<int>(error))
                                                        : "another conversion of these files has not finished within " + durationText(wait));
        }
        std::this_thread::sleep_for(kPollInterval);
    }
}

WindowsFileLock::~WindowsFileLock()
{
    CloseHandle(m_handle); // deletes the lock file
}

} // namespace kfield
