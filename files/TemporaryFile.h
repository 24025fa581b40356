#pragma once

#include <filesystem>
#include <istream>
#include <memory>
#include <ostream>

#include "CreatedFile.h"
#include "FileSystem.h"

namespace kfield {

// The temporary file of a full write, which holds the description body until the header can be
// written. It exists only during the full write: whatever happens, it is gone afterwards.
class TemporaryFile {
public:
    // Creates the file; throws FileError, also when anything has its name already (the run deletes a
    // leftover temporary file before).
    TemporaryFile(FileSystem& files, std::filesystem::path path);

    std::ostream& stream();
    // Ends writing; throws FileError when the content could not be written. It is not waited for
    // on the disk: the description that is built from it is.
    void close();
    std::unique_ptr<std::istream> openForReading();
    // Deletes the file now; throws FileError.
    void remove();

private:
    FileSystem& m_files;
    CreatedFile m_file;
};

} // namespace kfield
