#pragma once

#include <filesystem>

namespace app {

// The directory of the running program, where its language files lie.
std::filesystem::path programDirectory();

} // namespace app
