#pragma once

#include "ApplicationConnector.h"

#include <memory>

namespace app {

// The connector to the running measuring application: over COM automation on Windows. Elsewhere the
// application never runs, and the connector finds none. Defined by the one of LiveConnectorPosix.cpp
// and LiveConnectorWindows.cpp that the build compiles.
std::unique_ptr<ApplicationConnector> liveConnector();

} // namespace app
