#include "LiveConnector.h"
#include "WindowsConnector.h"

#include "platform/Environment.h"
#include "source/ComBusyBudget.h"

#include <chrono>
#include <cstdlib>

namespace app {
namespace {

// How long the calls of a conversion may wait for a busy application: NORDA_BUSY_SECONDS (whole
// seconds, for tests), else the default.
std::chrono::milliseconds busyBudgetFromEnvironment()
{
    const std::optional<std::string> value = platform::environmentText("NORDA_BUSY_SECONDS");
    if (!value || value->size() >= 16)
        return source::kDefaultBusyBudget;
    char* end = nullptr;
    const unsigned long seconds = std::strtoul(value->c_str(), &end, 10);
    if (*end != '\0' || seconds == 0 || seconds > 3600)
        return source::kDefaultBusyBudget;
    return std::chrono::seconds(seconds);
}

} // namespace

std::unique_ptr<ApplicationConnector> liveConnector()
{
    return std::make_unique<WindowsConnector>(busyBudgetFromEnvironment());
}

} // namespace app
