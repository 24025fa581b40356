#pragma once

#include <windows.h>

#include <chrono>

namespace source {

// How long a call may stay pending before the message filter cancels it: a server whose thread is
// blocked without pumping messages would otherwise hold the converter forever.
inline constexpr DWORD kPendingCallBound = 60000;

// The decisions of the program's message filter, apart from COM so that they can be tested in one
// process (Wine calls neither RetryRejectedCall nor MessagePending).
// RetryRejectedCall: the milliseconds to wait before COM repeats a call the server asked to retry
// later, while the call has waited less than the bound; (DWORD)-1 gives the call up, and a rejected
// call then comes back as RPC_E_CALL_REJECTED, for the caller's own bounded retry.
DWORD retryRejectedDecision(DWORD elapsedMilliseconds, DWORD rejectType, DWORD retryBoundMilliseconds);
// MessagePending: cancel a call pending longer than the bound, else wait and let COM handle the message.
DWORD pendingMessageDecision(DWORD elapsedMilliseconds, DWORD pendingBoundMilliseconds = kPendingCallBound);

// Registers the program's message filter for the calling thread's apartment while any registration
// lives on that thread; the filter that was there before comes back with the last one. Counted, not
// one per connection: a run makes its new connection before the old one is released. Needs COM
// initialised on the thread; in a multithreaded apartment, which has no message filters, it does nothing.
class ComMessageFilterRegistration {
public:
    explicit ComMessageFilterRegistration(std::chrono::milliseconds retryBound);
    ~ComMessageFilterRegistration();
    ComMessageFilterRegistration(const ComMessageFilterRegistration&) = delete;
    ComMessageFilterRegistration& operator=(const ComMessageFilterRegistration&) = delete;
};

} // namespace source
