#pragma once

#include <filesystem>
#include <ostream>

#include "CreatedFile.h"
#include "FileSystem.h"

namespace kfield {

// Writes a new file whole or not at all: everything goes to a part file of its own beside the target
// ("<target>.part", or "<target>.1.part" and on when that name is taken), and only commit() renames
// it over the target. Not committed, the part file is removed.
class FileReplacement {
public:
    // Throws FileError when the part file cannot be created.
    FileReplacement(FileSystem& files, std::filesystem::path target);

    std::ostream& stream();
    // Flushes, closes and renames into place; throws FileError, leaving the target as it was.
    void commit();

private:
    FileSystem& m_files;
    std::filesystem::path m_target;
    CreatedFile m_part;
};

} // namespace kfield
