#pragma once

#include <memory>

#include "SettingsStore.h"

namespace app {

// The user's settings store on this system.
std::unique_ptr<config::SettingsStore> systemSettingsStore();

} // namespace app
