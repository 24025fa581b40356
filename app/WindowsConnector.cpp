#include "WindowsConnector.h"

#include "source/AutomationSource.h"

#include <windows.h>

#include <string>

namespace app {

bool WindowsConnector::findMainWindow(std::string_view className)
{
    // By class name alone, in the single-byte character set: the application's window title changes
    // with the part program.
    return FindWindowA(std::string(className).c_str(), nullptr) != nullptr;
}

std::shared_ptr<source::Application> WindowsConnector::requestObject(std::string_view programmaticId)
{
    return source::AutomationSource::requestRunning(programmaticId);
}

} // namespace app
