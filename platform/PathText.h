#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths as the program's UTF-8 texts and back. path.string() and a path built from a std::string use
// the ANSI code page on Windows, which cannot hold every file name.
namespace config {

inline std::string pathText(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path pathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace config
