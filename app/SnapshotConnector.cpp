#include "SnapshotConnector.h"

#include "source/MemoryApplication.h"
#include "source/Snapshot.h"

#include <system_error>

namespace app {

SnapshotConnector::SnapshotConnector(std::optional<std::filesystem::path> snapshot) : m_snapshot(std::move(snapshot)) {}

bool SnapshotConnector::findMainWindow(std::string_view)
{
    std::error_code error;
    return m_snapshot && std::filesystem::is_regular_file(*m_snapshot, error);
}

std::shared_ptr<source::Application> SnapshotConnector::requestObject(std::string_view)
{
    if (!m_snapshot)
        throw std::runtime_error("No snapshot file names the simulated measuring application");
    return std::make_shared<source::MemoryApplication>(source::readSnapshotFile(*m_snapshot));
}

} // namespace app
