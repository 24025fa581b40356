#pragma once

#include <filesystem>

namespace bench {

// A fresh directory for the files of one benchmark run, removed with its content at the end.
class ScratchDirectory {
public:
    // Under the given parent, or the system's temporary directory when it is empty.
    explicit ScratchDirectory(const std::filesystem::path& parent);
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

} // namespace bench
