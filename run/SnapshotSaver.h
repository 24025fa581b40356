#pragma once

#include <filesystem>

namespace app {

struct RunServices;

// Connects as a conversion does and writes the open part program, as the connection gives it, to
// file as a snapshot; no transfer file is touched. The file appears whole or not at all. Every
// failure is shown to the operator; returns whether the file was written.
bool saveSnapshot(const RunServices& services, const std::filesystem::path& file);

} // namespace app
