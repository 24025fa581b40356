// Picks the settings store of this system.
#include "SystemSettingsStore.h"

#ifdef _WIN32
#error "The registry settings store is not built yet"
#else
#include "config/QtSettingsStore.h"
#endif

namespace app {

std::unique_ptr<config::SettingsStore> systemSettingsStore()
{
    return std::make_unique<config::QtSettingsStore>();
}

} // namespace app
