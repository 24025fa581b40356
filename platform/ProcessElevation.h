#pragma once

#include <windows.h>

namespace app {

// Whether a process runs elevated (as administrator), as far as this process may ask.
enum class ProcessElevation {
    Elevated,
    NotElevated,
    Hidden,  // the system refused to tell: the process runs with more rights than this one
    Unknown, // the process is gone, or the question failed otherwise
};

ProcessElevation elevationOfProcess(DWORD processId);

// Whether the owner of the application's window runs with other rights than this process. Then COM
// shows this process neither its running object nor its class object, and a request would start a
// second instance. Unknown says nothing: the request goes ahead.
bool runsWithOtherRights(ProcessElevation own, ProcessElevation owner);

} // namespace app
