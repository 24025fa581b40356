#include "WindowsRegistrySettingsStore.h"

#include "platform/WindowsText.h"
#include "platform/PlatformError.h"

#include <windows.h>

#include <system_error>

namespace config {
namespace {

// An open registry key, closed with its owner.
class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY* receive() { return &m_key; }
    HKEY get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

std::wstring subKey(const std::string& root, std::string_view application, std::string_view section)
{
    return wideFromUtf8(root + "\\" + std::string(application) + "\\" + std::string(section));
}

} // namespace

WindowsRegistrySettingsStore::WindowsRegistrySettingsStore(std::string root) : m_root(std::move(root)) {}

std::string WindowsRegistrySettingsStore::keyName(std::string_view application, std::string_view section) const
{
    return "HKEY_CURRENT_USER\\" + m_root + "\\" + std::string(application) + "\\" + std::string(section);
}

std::string WindowsRegistrySettingsStore::ReadSetting(std::string_view application, std::string_view section,
                                                      std::string_view key, std::string_view defaultValue) const
{
    const std::wstring path = subKey(m_root, application, section);
    const std::wstring name = wideFromUtf8(key);
    const DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
    // The value may change between the two calls: ask again while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD bytes = 0;
        LSTATUS status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), types, nullptr, nullptr, &bytes);
        if (status != ERROR_SUCCESS)
            return std::string(defaultValue);
        std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        status = RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), types, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return std::string(defaultValue);
        value.resize(bytes / sizeof(wchar_t));
        while (!value.empty() && value.back() == L'\0')
            value.pop_back();
        return utf8FromWide(value);
    }
    return std::string(defaultValue);
}

void WindowsRegistrySettingsStore::WriteSetting(std::string_view application, std::string_view section,
                                                std::string_view key, std::string_view value)
{
    const std::wstring path = subKey(m_root, application, section);
    const std::wstring name = wideFromUtf8(key);
    const std::wstring text = wideFromUtf8(value);
    RegistryKey opened;
    LSTATUS status = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_SET_VALUE, nullptr, opened.receive(), nullptr);
    if (status == ERROR_SUCCESS) {
        const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(opened.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()), bytes);
    }
    if (status != ERROR_SUCCESS) {
        throw PlatformError("Cannot write the setting \"" + std::string(key) + "\" to \"" +
                            keyName(application, section) + "\": " +
                            std::system_category().message(static_cast<int>(status)));
    }
}

} // namespace config
