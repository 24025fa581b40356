#pragma once

#include "ComAutomationApartment.h"
#include "ComBusyBudget.h"
#include "ComMessageFilter.h"

namespace source {

// What every object of one connection to the measuring application shares: COM on the thread, the
// message filter, and the budget of waiting for a busy application. A connection is made for each
// conversion, so the budget is the conversion's.
struct ComConnection {
    explicit ComConnection(ComBusyBudget::Duration busyBudget) : filter(busyBudget), busy(busyBudget) {}

    ComAutomationApartment apartment; // first in, last out
    ComMessageFilterRegistration filter;
    ComBusyBudget busy;
};

} // namespace source
