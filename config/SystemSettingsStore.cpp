// Picks the settings store of this system.
#include "SystemSettingsStore.h"

#ifdef _WIN32
#include "WindowsRegistrySettingsStore.h"
#else
#include "QtSettingsStore.h"
#endif

namespace app {

std::unique_ptr<config::SettingsStore> systemSettingsStore()
{
#ifdef _WIN32
    return std::make_unique<config::WindowsRegistrySettingsStore>();
#else
    return std::make_unique<config::QtSettingsStore>();
#endif
}

} // namespace app
