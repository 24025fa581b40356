#pragma once

#include <chrono>
#include <memory>
#include <string_view>

#include "ComAutomationObject.h"
#include "ComBusyBudget.h"
#include "MeasurementSource.h"

namespace source {

// What the operator can do when the application runs with other rights than the converter: COM keeps
// the running objects of elevated and other processes apart, and a request would start a second instance.
inline constexpr std::string_view kOtherRightsHint =
    "Veltrum runs with other rights than the converter (as administrator or not); start the converter the same way as Veltrum";

// The measuring application's object model over late-bound COM automation: every member is one
// IDispatch::Invoke by its dispatch identifier, nothing is cached, so each read costs exactly one
// cross-process call. Use it on the thread that created it.
class AutomationSource final : public Application {
public:
    explicit AutomationSource(ComAutomationObject application);

    // The running application's object: the programmatic identifier's class, taken from the running
    // object table (asked again while the application is busy or still starting), else, when it is
    // not registered there, from the class factory of the running local server. Initialises COM and
    // the message filter on the calling thread for as long as any object of it lives; busyBudget is
    // how long all calls of this connection together may wait for a busy application. Throws
    // ConnectionError naming the identifier and the reason when the application refuses.
    static std::shared_ptr<AutomationSource> requestRunning(std::string_view programmaticId,
                                                            std::chrono::milliseconds busyBudget = kDefaultBusyBudget);

    std::shared_ptr<source::PartProgram> ActivePartProgram() override;
    bool UpdatesEnabled() override;
    void SetUpdatesEnabled(bool enabled) override;

private:
    ComAutomationObject m_object;
};

} // namespace source
