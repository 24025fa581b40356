#include "ComBusyBudget.h"

#include <cstdio>

namespace source {

std::string ComBusyBudget::busyText() const
{
    char seconds[32];
    const long long milliseconds = m_length.count();
    if (milliseconds % 1000 == 0)
        std::snprintf(seconds, sizeof seconds, "%lld", milliseconds / 1000);
    else
        std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(milliseconds) / 1000.0);
    return std::string("Veltrum was busy for ") + seconds + " s; run the conversion again";
}

CallFailure classifyCall(HRESULT status)
{
    // The RPC runtime's errors as HRESULTs (HRESULT_FROM_WIN32 is no constant expression).
    constexpr auto fromWin32 = [](unsigned long code) { return static_cast<HRESULT>(0x80070000UL | code); };
    switch (status) {
    case RPC_E_CALL_REJECTED:
    case RPC_E_SERVERCALL_RETRYLATER:
        return CallFailure::Busy;
    case fromWin32(RPC_S_SERVER_UNAVAILABLE):
    case fromWin32(RPC_S_CALL_FAILED):
    case fromWin32(RPC_S_CALL_FAILED_DNE):
    case RPC_E_DISCONNECTED:
    case RPC_E_SERVER_DIED:
    case RPC_E_SERVER_DIED_DNE:
    case RPC_E_CALL_CANCELED:
    case CO_E_OBJNOTCONNECTED:
        return CallFailure::Gone;
    default:
        return CallFailure::Refused;
    }
}

} // namespace source
