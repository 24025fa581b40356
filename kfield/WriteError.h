#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace kfield {

// A path as UTF-8 for a message. path.string() would give the ANSI code page on Windows, which
// cannot hold every file name.
inline std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

// A file operation failed: what failed, the quoted path, and the system's reason.
class WriteError : public std::runtime_error {
public:
    WriteError(std::string action, const std::filesystem::path& path, std::string reason)
        : std::runtime_error(action + " \"" + pathText(path) + "\": " + reason)
        , m_path(path)
        , m_reason(std::move(reason))
    {
    }

    const std::filesystem::path& path() const noexcept { return m_path; }
    const std::string& reason() const noexcept { return m_reason; }

private:
    std::filesystem::path m_path;
    std::string m_reason;
};

} // namespace kfield
