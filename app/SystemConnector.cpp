// Picks the connector to the measuring application for this system.
#include "ApplicationConnector.h"
#include "SnapshotConnector.h"

#include <cstdlib>

namespace app {

std::unique_ptr<ApplicationConnector> systemConnector(const char* snapshotFile)
{
    const char* snapshot = snapshotFile ? snapshotFile : std::getenv("VELTRUM_SNAPSHOT");
    if (snapshot && *snapshot)
        return std::make_unique<SnapshotConnector>(std::filesystem::path(snapshot));
#ifdef _WIN32
#error "The automation connector is not built yet"
#else
    // Without the automation server the measuring application never runs here.
    return std::make_unique<SnapshotConnector>(std::nullopt);
#endif
}

} // namespace app
