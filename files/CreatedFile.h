#pragma once

#include <filesystem>
#include <memory>

#include "FileSystem.h"

namespace kfield {

// A file this run has created, so removing it is safe: when this object goes, the file is closed (when
// it is still open here) and, unless release() ran, removed. A failing removal is swallowed: it
// happens while something else has failed already, and that is the error to report.
class CreatedFile {
public:
    CreatedFile(FileSystem& files, std::filesystem::path path, std::unique_ptr<OutputFile> file = nullptr);
    ~CreatedFile();
    CreatedFile(const CreatedFile&) = delete;
    CreatedFile& operator=(const CreatedFile&) = delete;

    // Only for a file handed over open.
    OutputFile& file() { return *m_file; }
    const std::filesystem::path& path() const { return m_path; }
    // The file is no longer removed: it has been kept under another name, or removed already.
    void release() { m_released = true; }

private:
    FileSystem& m_files;
    std::filesystem::path m_path;
    std::unique_ptr<OutputFile> m_file;
    bool m_released = false;
};

} // namespace kfield
