#pragma once

#include <optional>
#include <string_view>

namespace config {

// The Windows ANSI code page that Windows uses for a locale, from a POSIX locale name such as
// "de_DE.UTF-8" or "cs_CZ": 1250 for Czech, 1252 for western European languages and the default.
int windowsCodePageForLocale(std::string_view localeName);

// A code page named as "1250", "cp1250" or "windows-1250"; nothing for any other text.
std::optional<int> parseCodePageName(std::string_view name);

} // namespace config
