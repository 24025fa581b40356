#pragma once

#include <filesystem>
#include <memory>
#include <ostream>

#include "FileSystem.h"

namespace kfield {

// Writes a new file whole or not at all: everything goes to "<target>.part" in the same directory,
// and only commit() renames it over the target. Not committed, the part file is removed.
class FileReplacement {
public:
    // Throws WriteError when the part file cannot be created.
    FileReplacement(FileSystem& files, std::filesystem::path target);
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    std::ostream& stream();
    // Flushes, closes and renames into place; throws WriteError, leaving the target as it was.
    void commit();

private:
    FileSystem& m_files;
    std::filesystem::path m_target;
    std::filesystem::path m_partPath;
    std::unique_ptr<OutputFile> m_file;
    bool m_committed = false;
};

} // namespace kfield
