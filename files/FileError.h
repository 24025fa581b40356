#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

#include "platform/PathText.h"

namespace kfield {

// A file operation failed, a read as much as a write: what failed, the quoted path, and the system's
// reason.
class FileError : public std::runtime_error {
public:
    FileError(std::string action, const std::filesystem::path& path, std::string reason)
        : std::runtime_error(action + " \"" + config::pathText(path) + "\": " + reason)
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
