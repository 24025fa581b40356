#pragma once

#include "ApplicationConnector.h"

namespace app {

// The running measuring application on Windows: its main window by class name through FindWindowA,
// its automation object through COM.
class WindowsConnector final : public ApplicationConnector {
public:
    bool findMainWindow(std::string_view className) override;
    // Throws std::runtime_error naming the identifier when the automation server refuses.
    std::shared_ptr<source::Application> requestObject(std::string_view programmaticId) override;
};

} // namespace app
