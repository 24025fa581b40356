#include "SystemSettingsStore.h"
#include "WindowsRegistrySettingsStore.h"

namespace app {

// Windows keeps the user's settings in the registry.
std::unique_ptr<config::SettingsStore> systemSettingsStore()
{
    return std::make_unique<config::WindowsRegistrySettingsStore>();
}

} // namespace app
