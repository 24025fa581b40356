#include "WindowsConnector.h"

#include "platform/ProcessElevation.h"

#include "source/AutomationSource.h"
#include "source/ReadError.h"

#include <string>

namespace app {

WindowsConnector::WindowsConnector(std::chrono::milliseconds busyBudget, OtherRightsCheck otherRights)
    : m_busyBudget(busyBudget), m_otherRights(std::move(otherRights))
{
}

bool WindowsConnector::findMainWindow(std::string_view className)
{
    // By class name alone, in the single-byte character set: the application's window title changes
    // with the part program.
    m_window = FindWindowA(std::string(className).c_str(), nullptr);
    return m_window != nullptr;
}

std::shared_ptr<source::Application> WindowsConnector::requestObject(std::string_view programmaticId)
{
    DWORD owner = 0;
    if (m_window && GetWindowThreadProcessId(m_window, &owner) != 0 && owner != 0 && m_otherRights(owner))
        throw source::ConnectionError("Cannot reach the automation server \"" + std::string(programmaticId) + "\": " +
                                      std::string(source::kOtherRightsHint));
    return source::AutomationSource::requestRunning(programmaticId, m_busyBudget);
}

bool WindowsConnector::ownerRunsWithOtherRights(DWORD ownerProcessId)
{
    return runsWithOtherRights(elevationOfProcess(GetCurrentProcessId()), elevationOfProcess(ownerProcessId));
}

} // namespace app
