#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <string>

namespace source {

// How long the calls of one conversion may wait, all together, for a measuring application that
// rejects them as busy. A rejected call never reached the application, so repeating it is safe; the
// waits of all calls come out of one budget, so a server that stays busy cannot stretch a run
// without end.
class ComBusyBudget {
public:
    using Duration = std::chrono::milliseconds;

    explicit ComBusyBudget(Duration length) : m_length(length) {}

    Duration length() const { return m_length; }
    Duration left() const { return m_spent >= m_length ? Duration::zero() : m_length - m_spent; }
    bool exhausted() const { return m_spent >= m_length; }
    void spend(Duration time) { m_spent += time; }

    // "Veltrum was busy for 10 s; run the conversion again": what the operator reads when it is spent.
    std::string busyText() const;

private:
    Duration m_length;
    Duration m_spent{0};
};

// The conversion's budget unless told otherwise: what the original runtime waited for a busy server.
inline constexpr ComBusyBudget::Duration kDefaultBusyBudget{10000};

// What a failed call says about the connection.
enum class CallFailure {
    Busy,      // rejected unseen by a busy application: may be repeated
    Gone,      // the application was closed, died or stopped responding (or the call was cancelled)
    Refused,   // the application answered this member with a failure
};

CallFailure classifyCall(HRESULT status);

// Runs call() again while the application rejects it as busy and the budget lasts; the time of each
// rejected attempt and each pause is spent from the budget. Returns the last status.
template <class Call>
HRESULT retryWhileBusy(ComBusyBudget& budget, Call&& call)
{
    constexpr ComBusyBudget::Duration kPause{50};
    for (;;) {
        const auto started = std::chrono::steady_clock::now();
        const HRESULT status = call();
        if (!FAILED(status) || classifyCall(status) != CallFailure::Busy)
            return status;
        budget.spend(std::chrono::duration_cast<ComBusyBudget::Duration>(std::chrono::steady_clock::now() - started));
        if (budget.exhausted())
            return status;
        const ComBusyBudget::Duration pause = std::min(kPause, budget.left());
        Sleep(static_cast<DWORD>(pause.count()));
        budget.spend(pause);
    }
}

} // namespace source
