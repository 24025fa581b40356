#pragma once

#include <string>
#include <string_view>

namespace config {

// The per-user store that keeps the converter's settings between runs: text values addressed by
// application, section and key. All texts are UTF-8.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or defaultValue when the key is absent. An empty stored text is not absent.
    virtual std::string ReadSetting(std::string_view application, std::string_view section,
                                    std::string_view key, std::string_view defaultValue) const = 0;
    // Creates or replaces the value. Throws PlatformError when the store cannot keep it.
    virtual void WriteSetting(std::string_view application, std::string_view section,
                              std::string_view key, std::string_view value) = 0;
};

} // namespace config
