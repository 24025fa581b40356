#pragma once

#include <memory>
#include <string_view>

#include "ComAutomationObject.h"
#include "MeasurementSource.h"

namespace source {

// The measuring application's object model over late-bound COM automation: every member is one
// IDispatch::Invoke by its dispatch identifier, nothing is cached, so each read costs exactly one
// cross-process call. Use it on the thread that created it.
class AutomationSource final : public Application {
public:
    explicit AutomationSource(ComAutomationObject application);

    // The running application's object: the programmatic identifier's class, taken from the running
    // object table, else from the class factory of the running local server. Initialises COM on the
    // calling thread for as long as any object of it lives. Throws std::runtime_error naming the
    // identifier and the system's reason when the application refuses.
    static std::shared_ptr<AutomationSource> requestRunning(std::string_view programmaticId);

    std::shared_ptr<source::PartProgram> ActivePartProgram() override;
    bool UpdatesEnabled() override;
    void SetUpdatesEnabled(bool enabled) override;

private:
    ComAutomationObject m_object;
};

} // namespace source
