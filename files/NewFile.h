#pragma once

#include <filesystem>

namespace kfield {

// Creates an empty file in one step that fails when the name is taken, so the converter never opens
// a file of someone else's by mistake. False when anything already has the name (a file, a folder,
// a link, even one that leads nowhere); throws FileError for every other failure.
bool createNewFile(const std::filesystem::path& path);

} // namespace kfield
