#include "FileNameText.h"

#include <algorithm>
#include <array>

namespace app {
namespace {

bool forbiddenInFileNames(char c)
{
    static constexpr std::string_view kForbidden = "\\/:*?\"<>|";
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || kForbidden.find(c) != std::string_view::npos;
}

bool isDeviceName(std::string_view name)
{
    static constexpr std::array<std::string_view, 6> kDevices{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    // COM and LPT take a digit, or a superscript one, two or three.
    static constexpr std::array<std::string_view, 13> kPortNumbers{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9",
                                                                   "\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    std::string upper(name);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end())
        return true;
    if (upper.size() < 4 || (upper.substr(0, 3) != "COM" && upper.substr(0, 3) != "LPT"))
        return false;
    const std::string_view number = std::string_view(upper).substr(3);
    return std::find(kPortNumbers.begin(), kPortNumbers.end(), number) != kPortNumbers.end();
}

} // namespace

std::string notADeviceName(std::string_view fileName)
{
    // Windows looks at the name up to its first dot, without the blanks at its end.
    const std::size_t dot = std::min(fileName.find('.'), fileName.size());
    std::size_t end = dot;
    while (end > 0 && fileName[end - 1] == ' ')
        --end;
    if (!isDeviceName(fileName.substr(0, end)))
        return std::string(fileName);
    return std::string(fileName.substr(0, end)) + "_" + std::string(fileName.substr(end));
}

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

} // namespace app
