#include "QtSettingsStore.h"
#include "SystemSettingsStore.h"

namespace app {

// Where Windows' registry is missing, QSettings keeps the user's settings.
std::unique_ptr<config::SettingsStore> systemSettingsStore()
{
    return std::make_unique<config::QtSettingsStore>();
}

} // namespace app
