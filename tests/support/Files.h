#pragma once

#include <filesystem>
#include <string>

namespace testing_support {

std::string readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::string& bytes);
std::filesystem::path testDataDir();

// A fresh directory under the system's temporary directory, removed with its content at the end.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    TemporaryDirectory(const TemporaryDirectory&) = delete;
    TemporaryDirectory& operator=(const TemporaryDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }
    // The names of the files in the directory, sorted, joined by blanks.
    std::string listing() const;

private:
    std::filesystem::path m_path;
};

} // namespace testing_support
