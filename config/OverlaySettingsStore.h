#pragma once

#include "MemorySettingsStore.h"
#include "SettingsStore.h"

namespace app {

// Settings of one run: the values set here, else the stored ones. Writes stay here; the store
// underneath is never changed.
class OverlaySettingsStore final : public config::SettingsStore {
public:
    explicit OverlaySettingsStore(const config::SettingsStore& stored) : m_stored(stored) {}

    std::string ReadSetting(std::string_view application, std::string_view section, std::string_view key,
                            std::string_view defaultValue) const override
    {
        if (m_overrides.contains(application, section, key))
            return m_overrides.ReadSetting(application, section, key, defaultValue);
        return m_stored.ReadSetting(application, section, key, defaultValue);
    }

    void WriteSetting(std::string_view application, std::string_view section, std::string_view key, std::string_view value) override
    {
        m_overrides.WriteSetting(application, section, key, value);
    }

private:
    const config::SettingsStore& m_stored;
    config::MemorySettingsStore m_overrides;
};

} // namespace app
