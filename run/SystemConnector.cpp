// Picks the connector to the measuring application for this system.
#include "ApplicationConnector.h"
#include "LiveConnector.h"
#include "SnapshotConnector.h"

#include "platform/Environment.h"
#include "platform/PathText.h"

namespace app {

std::unique_ptr<ApplicationConnector> systemConnector(const char* snapshotFile)
{
    if (snapshotFile && *snapshotFile)
        return std::make_unique<SnapshotConnector>(config::pathFromUtf8(snapshotFile));
    if (auto snapshot = platform::environmentText("VELTRUM_SNAPSHOT"))
        return std::make_unique<SnapshotConnector>(config::pathFromUtf8(*snapshot));
    return liveConnector();
}

} // namespace app
