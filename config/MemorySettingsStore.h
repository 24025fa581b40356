#pragma once

#include <compare>
#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "SettingsStore.h"

namespace config {

// Settings held in memory only: the store of the tests, and of a command-line run that must not
// touch the user's stored settings. Keys are compared exactly, letter case included.
class MemorySettingsStore final : public SettingsStore {
public:
    std::string ReadSetting(std::string_view application, std::string_view section,
                            std::string_view key, std::string_view defaultValue) const override;
    void WriteSetting(std::string_view application, std::string_view section, std::string_view key,
                      std::string_view value) override;

    bool contains(std::string_view application, std::string_view section, std::string_view key) const;
    // The number of stored values over all applications and sections.
    std::size_t size() const { return m_values.size(); }

private:
    struct Address {
        std::string application;
        std::string section;
        std::string key;
        auto operator<=>(const Address&) const = default;
    };

    std::map<Address, std::string> m_values;
};

} // namespace config
