#pragma once

#include <string>
#include <string_view>

// The program's UTF-8 texts and the UTF-16 texts of the Windows API.
namespace config {

// Broken UTF-8 sequences become U+FFFD.
std::wstring wideFromUtf8(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string utf8FromWide(std::wstring_view wide);

} // namespace config
