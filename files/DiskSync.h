#pragma once

#include <filesystem>

namespace kfield {

// Makes a written file, and a rename in a directory, survive a power failure: a transfer file that
// the converter reported as written must still be there after the computer went down.
// Both throw FileError with the system's reason.
void syncFileToDisk(const std::filesystem::path& file);
void syncDirectoryToDisk(const std::filesystem::path& directory);

} // namespace kfield
