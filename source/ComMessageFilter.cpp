#include "ComMessageFilter.h"

#include "ComAutomationTypes.h"

#include <objbase.h>

#include <atomic>

namespace source {
namespace {

constexpr DWORD kRetryPause = 100; // 100 and more: COM waits that long before it repeats the call

class ProgramMessageFilter final : public IMessageFilter {
public:
    explicit ProgramMessageFilter(DWORD retryBound) : m_retryBound(retryBound) {}
    virtual ~ProgramMessageFilter() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            AddRef();
            *object = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

    // The converter serves nothing; calls into its apartment are taken as they come.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return SERVERCALL_ISHANDLED; }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override
    {
        return retryRejectedDecision(elapsed, rejectType, m_retryBound);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD elapsed, DWORD) override { return pendingMessageDecision(elapsed); }

private:
    DWORD m_retryBound;
    std::atomic<ULONG> m_references{1};
};

// COM keeps one message filter per apartment, and the converter's apartment is its thread: the
// registration count belongs to the thread, so it is thread_local rather than a member of a
// connection.
struct ThreadFilter {
    int registrations = 0;
    bool registered = false;
    ComPtr<IMessageFilter> previous;
};
thread_local ThreadFilter t_filter;

} // namespace

DWORD retryRejectedDecision(DWORD elapsedMilliseconds, DWORD rejectType, DWORD retryBoundMilliseconds)
{
    if (rejectType == SERVERCALL_RETRYLATER && elapsedMilliseconds < retryBoundMilliseconds)
        return kRetryPause;
    return static_cast<DWORD>(-1);
}

DWORD pendingMessageDecision(DWORD elapsedMilliseconds, DWORD pendingBoundMilliseconds)
{
    return elapsedMilliseconds >= pendingBoundMilliseconds ? PENDINGMSG_CANCELCALL : PENDINGMSG_WAITDEFPROCESS;
}

ComMessageFilterRegistration::ComMessageFilterRegistration(std::chrono::milliseconds retryBound)
{
    if (t_filter.registrations++ > 0)
        return;
    const auto filter = ComPtr<IMessageFilter>::adopt(new ProgramMessageFilter(static_cast<DWORD>(retryBound.count())));
    IMessageFilter* previous = nullptr;
    t_filter.registered = SUCCEEDED(CoRegisterMessageFilter(filter.get(), &previous));
    t_filter.previous = ComPtr<IMessageFilter>::adopt(previous);
}

ComMessageFilterRegistration::~ComMessageFilterRegistration()
{
    if (--t_filter.registrations > 0)
        return;
    if (t_filter.registered)
        CoRegisterMessageFilter(t_filter.previous.get(), nullptr);
    t_filter.registered = false;
    t_filter.previous.reset();
}

} // namespace source
