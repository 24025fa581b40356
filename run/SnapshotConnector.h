#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "ApplicationConnector.h"
#include "source/ModelRecords.h"

namespace app {

// The simulated measuring application: a snapshot file stands for the running application. Without
// a file there is no application window; each request reads the file anew, as each connection
// reaches the application as it is at that moment.
class SnapshotConnector final : public ApplicationConnector {
public:
    explicit SnapshotConnector(std::optional<std::filesystem::path> snapshot);

    bool findMainWindow(std::string_view className) override;
    // Throws source::SnapshotError for a file that is no valid snapshot.
    std::shared_ptr<source::Application> requestObject(std::string_view programmaticId) override;

private:
    // The last file read and what it gave: parsing is most of a connection's time, and the desktop
    // program connects twice for one conversion (on loading its window and on starting). The bytes
    // are known by their length and a 64-bit digest, not kept: they would be as large as the file.
    // The record is shared by the applications of the connections rather than copied for each.
    struct ReadSnapshot {
        std::size_t length = 0;
        std::uint64_t digest = 0;
        bool updatesEnabled = true; // as the file has it
        std::shared_ptr<source::ApplicationRecord> record;
    };

    std::optional<std::filesystem::path> m_snapshot;
    std::optional<ReadSnapshot> m_last;
};

} // namespace app
