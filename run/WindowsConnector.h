#pragma once

#include "ApplicationConnector.h"

#include <windows.h>

#include <chrono>
#include <functional>

namespace app {

// The running measuring application on Windows: its main window by class name through FindWindowA,
// its automation object through COM. It asks for the object only when the window's owner runs with
// the same rights as the converter: otherwise COM would start a second instance of the application.
class WindowsConnector final : public ApplicationConnector {
public:
    // Whether the process that owns the window runs with other rights than this one.
    using OtherRightsCheck = std::function<bool(DWORD ownerProcessId)>;

    // busyBudget: how long the calls of one conversion together may wait for a busy application.
    explicit WindowsConnector(std::chrono::milliseconds busyBudget, OtherRightsCheck otherRights = ownerRunsWithOtherRights);

    bool findMainWindow(std::string_view className) override;
    // Throws source::ConnectionError naming the identifier when the owner of the window found last runs
    // with other rights, or the automation server refuses.
    std::shared_ptr<source::Application> requestObject(std::string_view programmaticId) override;

    static bool ownerRunsWithOtherRights(DWORD ownerProcessId);

private:
    std::chrono::milliseconds m_busyBudget;
    OtherRightsCheck m_otherRights;
    HWND m_window = nullptr;
};

} // namespace app
