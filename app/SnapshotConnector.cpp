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
    // The file is always read; only the same bytes as last time skip the parse, and every
    // connection still gets an application of its own in the file's state.
    std::string text = source::readSnapshotText(*m_snapshot);
    if (!m_last || m_last->text != text) {
        m_last.reset(); // a file that fails to parse leaves nothing behind to reuse
        source::ApplicationRecord record = source::parseSnapshot(text, source::snapshotFileName(*m_snapshot));
        m_last = ReadSnapshot{std::move(text), std::move(record)};
    }
    return std::make_shared<source::MemoryApplication>(m_last->record);
}

} // namespace app
