#include "TestAutomationServer.h"

#include "ServedObject.h"

#include "platform/WindowsText.h"
#include "source/ComAutomationTypes.h"
#include "source/MeasurementSource.h"
#include "source/ReadError.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace testserver {
namespace serving {

IDispatch* served(const Counters& counters, std::shared_ptr<source::DimensionData> data)
{
    using D = source::DimensionData;
    return MemberTable(counters, std::move(data))
        .property(5, &D::Id)
        .property(6, &D::Feature1)
        .property(7, &D::Feature2)
        .property(8, &D::Feature3)
        .property(10, &D::Nominal)
        .method(12, &D::Measured)
        .property(14, &D::MinusTolerance)
        .property(15, &D::PlusTolerance)
        .property(3, &D::PositionResult)
        .property(22, &D::OutputSelector)
        .property(25, &D::UnitCode)
        .property(30, &D::IsAxisLine)
        .property(31, &D::IsPositionLine)
        .serve();
}

IDispatch* served(const Counters& counters, std::shared_ptr<source::Comment> comment)
{
    MemberTable table(counters, std::move(comment));
    // A comment without text is Null, as the application sends it.
    return table.property(1, &source::Comment::CommentKind)
        .add(3, DISPATCH_PROPERTYGET, 0,
             [comment = table.model()](const DISPPARAMS&, VARIANT& result) {
                 const std::string text = comment->Text();
                 if (text.empty())
                     result.vt = VT_NULL;
                 else
                     answer(result, text, nullptr);
             })
        .serve();
}

IDispatch* served(const Counters& counters, std::shared_ptr<source::NamedValue> value)
{
    return MemberTable(counters, std::move(value))
        .property(1, &source::NamedValue::Name)
        .property(2, &source::NamedValue::Value)
        .serve();
}

IDispatch* served(const Counters& counters, std::shared_ptr<source::Command> command)
{
    using C = source::Command;
    return MemberTable(counters, command)
        .property(3, &C::Id)
        .property(6, &C::CommandType)
        .method(17, &C::IsDimension)
        .property(54, &C::HasComment)
        .property(58, &C::HasNamedValue)
        .property(21, &C::ValueValid)
        .property(8, &C::DimensionData)
        .property(53, &C::Comment)
        .property(57, &C::NamedValue)
        .serve(command);
}

// Hands out the commands one by one, as the application's _NewEnum enumerator does.
class ServedEnumerator final : public ComObject<IEnumVARIANT> {
public:
    ServedEnumerator(Counters counters, std::unique_ptr<source::CommandEnumerator> enumerator)
        : ComObject(IID_IEnumVARIANT), m_counters(std::move(counters)), m_enumerator(std::move(enumerator))
    {
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG wanted, VARIANT* items, ULONG* fetched) override
    {
        ++m_counters->enumeratorNexts;
        ULONG given = 0;
        try {
            for (; given < wanted; ++given) {
                std::shared_ptr<source::Command> command = m_enumerator->Next();
                if (!command)
                    break;
                VariantInit(&items[given]);
                answer(items[given], std::move(command), m_counters);
            }
        } catch (const source::ReadError&) {
            for (ULONG i = 0; i < given; ++i)
                VariantClear(&items[i]);
            return E_FAIL;
        }
        if (fetched)
            *fetched = given;
        return given == wanted ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override
    {
        if (copy)
            *copy = nullptr;
        return E_NOTIMPL;
    }

private:
    Counters m_counters;
    std::unique_ptr<source::CommandEnumerator> m_enumerator;
};

// The command a client hands back; anything else is a call the application would reject.
source::Command& servedCommand(const VARIANT& argument)
{
    const VARIANT& value = argument.vt == (VT_VARIANT | VT_BYREF) ? *argument.pvarVal : argument;
    IUnknown* unknown = value.vt == VT_DISPATCH ? value.pdispVal : value.vt == VT_UNKNOWN ? value.punkVal : nullptr;
    ComPtr<IDispatch> object;
    if (!unknown || FAILED(unknown->QueryInterface(kServedObjectIid, object.receiveVoid())))
        throw source::ReadError("Commands.VisitCommand", "the argument is not a command of this application");
    source::Command* command = static_cast<ServedObject*>(object.get())->command();
    if (!command)
        throw source::ReadError("Commands.VisitCommand", "the argument is not a command");
    return *command;
}

IDispatch* served(const Counters& counters, std::shared_ptr<source::Commands> commands)
{
    MemberTable table(counters, std::move(commands));
    return table.method(3, &source::Commands::Count)
        .add(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, 0,
             [commands = table.model(), counters](const DISPPARAMS&, VARIANT& result) {
                 result.vt = VT_UNKNOWN;
                 result.punkVal = new ServedEnumerator(counters, commands->Enumerate());
             })
        .add(5, DISPATCH_METHOD, 1,
             [commands = table.model()](const DISPPARAMS& parameters, VARIANT&) {
                 commands->VisitCommand(servedCommand(parameters.rgvarg[0]));
             })
        .serve();
}

IDispatch* served(const Counters& counters, std::shared_ptr<source::PartProgram> program)
{
    using P = source::PartProgram;
    return MemberTable(counters, std::move(program))
        .method(DISPID_VALUE, &P::DefaultMember)
        .property(1, &P::PartName)
        .property(2, &P::Directory)
        .property(3, &P::RevisionNumber)
        .property(4, &P::SerialNumber)
        .property(6, &P::FileName)
        .property(11, &P::Commands)
        .serve();
}

IDispatch* servedApplication(const Counters& counters, std::shared_ptr<source::Application> application)
{
    MemberTable table(counters, std::move(application));
    return table.property(2, &source::Application::ActivePartProgram)
        .property(8, &source::Application::UpdatesEnabled)
        .add(8, DISPATCH_PROPERTYPUT, 1,
             [application = table.model()](const DISPPARAMS& parameters, VARIANT&) {
                 Variant value;
                 if (FAILED(VariantChangeType(value.get(), &parameters.rgvarg[0], 0, VT_BOOL)))
                     throw source::ReadError("Application.UpdatesEnabled", "type mismatch");
                 application->SetUpdatesEnabled(value.get()->boolVal != VARIANT_FALSE);
             })
        .serve(nullptr, true);
}

class ApplicationFactory final : public ComObject<IClassFactory> {
public:
    ApplicationFactory(Counters counters, ComPtr<IDispatch> application)
        : ComObject(IID_IClassFactory), m_counters(std::move(counters)), m_application(std::move(application))
    {
    }

    // Every request gets the one running application, as a single-instance application gives it.
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        ++m_counters->applicationRequests;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        return m_application->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    Counters m_counters;
    ComPtr<IDispatch> m_application;
};

// Rejects incoming calls in the server's busy times. COM asks it before every incoming call, the
// application's member calls and COM's own (reference counts, interface queries) alike.
class BusyFilter final : public ComObject<IMessageFilter> {
public:
    BusyFilter(std::shared_ptr<std::vector<BusyPeriod>> busy, std::shared_ptr<source::MemoryApplication> application,
               Counters counters)
        : ComObject(IID_IMessageFilter), m_busy(std::move(busy)), m_application(std::move(application))
        , m_counters(std::move(counters))
    {
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        const ULONGLONG now = GetTickCount64();
        for (BusyPeriod& period : *m_busy) {
            if (period.startedAt == 0 && m_application->log().total() >= period.afterMemberCalls)
                period.startedAt = now;
            if (period.startedAt != 0 && now < period.startedAt + period.milliseconds) {
                ++m_counters->rejectedCalls;
                return period.answer;
            }
        }
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    std::shared_ptr<std::vector<BusyPeriod>> m_busy;
    std::shared_ptr<source::MemoryApplication> m_application;
    Counters m_counters;
};

[[noreturn]] void fail(const std::string& what, HRESULT status)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(status));
    throw std::runtime_error(what + " failed: " + code);
}

std::wstring classIdText(const CLSID& id)
{
    wchar_t text[64];
    StringFromGUID2(id, text, 64);
    return text;
}

void setRegistryText(const std::wstring& key, const std::wstring& value)
{
    const LSTATUS status = RegSetKeyValueW(HKEY_LOCAL_MACHINE, key.c_str(), nullptr, REG_SZ, value.c_str(),
                                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS)
        fail("Registering " + config::utf8FromWide(key), HRESULT_FROM_WIN32(status));
}

} // namespace serving

using namespace serving;

void TestAutomationServer::registerProgrammaticId()
{
    const std::wstring classId = classIdText(kApplicationClassId);
    const std::wstring programmaticId = kProgrammaticId;
    setRegistryText(L"Software\\Classes\\" + programmaticId + L"\\CLSID", classId);
    setRegistryText(L"Software\\Classes\\CLSID\\" + classId + L"\\ProgID", programmaticId);
}

TestAutomationServer::TestAutomationServer(source::ApplicationRecord record, ServerOptions options)
    : m_application(std::make_shared<source::MemoryApplication>(std::move(record)))
    , m_counters(std::make_shared<ServerCounters>())
{
    if (options.showMainWindow) {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kMainWindowClass;
        RegisterClassA(&windowClass); // already registered by an earlier server of this process: fine
        // A top-level window, hidden: FindWindowA finds it, a message-only window it would not.
        m_window = CreateWindowExA(0, kMainWindowClass, "Veltrum (test server)", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
        if (!m_window)
            fail("CreateWindowExA", HRESULT_FROM_WIN32(GetLastError()));
    }
    m_served = ComPtr<IDispatch>::adopt(servedApplication(m_counters, m_application));
    if (options.offerObject) {
        registerProgrammaticId();
        m_factory = ComPtr<IClassFactory>::adopt(new ApplicationFactory(m_counters, m_served));
        HRESULT status = CoRegisterClassObject(kApplicationClassId, m_factory.get(), CLSCTX_LOCAL_SERVER,
                                               REGCLS_MULTIPLEUSE, &m_classCookie);
        if (FAILED(status))
            fail("CoRegisterClassObject", status);
        if (options.useRunningObjectTable) {
            status = RegisterActiveObject(m_served.get(), kApplicationClassId, ACTIVEOBJECT_STRONG, &m_activeObjectCookie);
            if (FAILED(status))
                fail("RegisterActiveObject", status);
        }
    }
    const auto filter = ComPtr<IMessageFilter>::adopt(new BusyFilter(m_busy, m_application, m_counters));
    m_filterRegistered = SUCCEEDED(CoRegisterMessageFilter(filter.get(), m_previousFilter.receive()));
    // Registration itself queries the object; only what clients do counts.
    *m_counters = ServerCounters{};
}

TestAutomationServer::~TestAutomationServer()
{
    if (m_filterRegistered)
        CoRegisterMessageFilter(m_previousFilter.get(), nullptr);
    if (m_activeObjectCookie)
        RevokeActiveObject(m_activeObjectCookie, nullptr);
    if (m_classCookie)
        CoRevokeClassObject(m_classCookie);
    // Proxies that a client left behind must not keep the objects alive past the server.
    if (m_served)
        CoDisconnectObject(m_served.get(), 0);
    if (m_window)
        DestroyWindow(m_window);
}

bool TestAutomationServer::serveUntilExit(HANDLE process, DWORD milliseconds)
{
    const ULONGLONG deadline = GetTickCount64() + milliseconds;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            return false;
        const DWORD wait = MsgWaitForMultipleObjects(1, &process, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
            return true;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

} // namespace testserver
