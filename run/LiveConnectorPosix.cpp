#include "LiveConnector.h"
#include "SnapshotConnector.h"

namespace app {

std::unique_ptr<ApplicationConnector> liveConnector()
{
    // Without the automation server the measuring application never runs here.
    return std::make_unique<SnapshotConnector>(std::nullopt);
}

} // namespace app
