#pragma once

#include <memory>

#include "config/SettingsStore.h"

namespace app {

// The user's settings store on this system.
std::unique_ptr<config::SettingsStore> systemSettingsStore();

} // namespace app
