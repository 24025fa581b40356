#include "FileNameText.h"

#include <algorithm>

namespace app {
namespace {

bool forbiddenInFileNames(char c)
{
    static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || kForbidden.find(c) != std::string_view::npos;
}

} // namespace

std::string fileNameSafe(std::string_view text)
{
    std::string safe(text);
    std::replace_if(safe.begin(), safe.end(), forbiddenInFileNames, '_');
    return safe;
}

std::string dateTimeForFileName(std::string_view text)
{
    std::string safe(text);
    std::replace_if(safe.begin(), safe.end(), forbiddenInFileNames, '.');
    return safe;
}

std::filesystem::path pathFromUtf8(const std::string& text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace app
