#include "MemorySettingsStore.h"

namespace config {

std::string MemorySettingsStore::ReadSetting(std::string_view application, std::string_view section,
                                             std::string_view key, std::string_view defaultValue) const
{
    const auto found = m_values.find(Address{std::string(application), std::string(section), std::string(key)});
    return found != m_values.end() ? found->second : std::string(defaultValue);
}

void MemorySettingsStore::WriteSetting(std::string_view application, std::string_view section,
                                       std::string_view key, std::string_view value)
{
    m_values.insert_or_assign(Address{std::string(application), std::string(section), std::string(key)},
                              std::string(value));
}

bool MemorySettingsStore::contains(std::string_view application, std::string_view section,
                                   std::string_view key) const
{
    return m_values.contains(Address{std::string(application), std::string(section), std::string(key)});
}

} // namespace config
