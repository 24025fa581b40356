#pragma once

#include <optional>
#include <string>

namespace platform {

// The value of the environment variable `name` as UTF-8 text; nullopt when it is unset or empty. Read
// wide on Windows, where the narrow environment is in the ANSI code page.
std::optional<std::string> environmentText(const char* name);

} // namespace platform
