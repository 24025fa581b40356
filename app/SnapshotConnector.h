#pragma once

#include <filesystem>
#include <optional>

#include "ApplicationConnector.h"

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
    std::optional<std::filesystem::path> m_snapshot;
};

} // namespace app
