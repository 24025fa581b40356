#include "Environment.h"

#ifdef _WIN32
#include "WindowsText.h"

#include <windows.h>

#include <cstring>
#else
#include <cstdlib>
#endif

namespace platform {

std::optional<std::string> environmentText(const char* name)
{
#ifdef _WIN32
    const std::wstring wideName = config::wideFromUtf8(std::string_view(name, std::strlen(name)));
    std::wstring value(32768, L'\0'); // the longest value Windows allows
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 || length >= value.size())
        return std::nullopt;
    value.resize(length);
    return config::utf8FromWide(value);
#else
    const char* value = std::getenv(name);
    if (!value || !*value)
        return std::nullopt;
    return std::string(value);
#endif
}

} // namespace platform
