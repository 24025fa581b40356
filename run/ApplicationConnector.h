#pragma once

#include <memory>
#include <string_view>

namespace source {
class Application;
}

namespace app {

// The two platform operations that attach the converter to the running measuring application.
class ApplicationConnector {
public:
    virtual ~ApplicationConnector() = default;
    // Whether a top-level window of this class exists.
    virtual bool findMainWindow(std::string_view className) = 0;
    // The running application's automation object. Throws source::ConnectionError when the
    // application cannot be reached, source::ReadError when its state cannot be read.
    virtual std::shared_ptr<source::Application> requestObject(std::string_view programmaticId) = 0;
};

// The connector of this system: the simulated application when a snapshot file is named (by
// snapshotFile, else by the environment variable VELTRUM_SNAPSHOT), otherwise the real one.
std::unique_ptr<ApplicationConnector> systemConnector(const char* snapshotFile = nullptr);

} // namespace app
