#include "TestAutomationServer.h"

#include "source/ComAutomationTypes.h"
#include "source/MeasurementSource.h"
#include "source/ReadError.h"

#include <atomic>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace testserver {
namespace {

using source::ComPtr;
using source::Variant;

// Lets the server find its own object behind a dispatch pointer that a client passes back
// (VisitCommand's argument): unmarshalled in its own apartment, it is the original object.
// {2F8A4C61-0B7E-4D52-8E3A-91C4D6F0A7B3}
constexpr IID kServedObjectIid{0x2f8a4c61, 0x0b7e, 0x4d52, {0x8e, 0x3a, 0x91, 0xc4, 0xd6, 0xf0, 0xa7, 0xb3}};

// The dispatch identifiers of the application's automation interface, written out here on their
// own so that a wrong one on the client's side shows up as an unknown member.
enum : DISPID {
    kApplicationActivePartProgram = 2, kApplicationUpdatesEnabled = 8,
    kPartProgramPartName = 1, kPartProgramDirectory = 2, kPartProgramRevisionNumber = 3, kPartProgramSerialNumber = 4,
    kPartProgramFileName = 6, kPartProgramCommands = 11,
    kCommandsCount = 3, kCommandsVisitCommand = 5,
    kCommandId = 3, kCommandCommandType = 6, kCommandDimensionData = 8, kCommandIsDimension = 17, kCommandValueValid = 21,
    kCommandComment = 53, kCommandHasComment = 54, kCommandNamedValue = 57, kCommandHasNamedValue = 58,
    kDimensionPositionResult = 3, kDimensionId = 5, kDimensionFeature1 = 6, kDimensionFeature2 = 7, kDimensionFeature3 = 8,
    kDimensionNominal = 10, kDimensionMeasured = 12, kDimensionMinusTolerance = 14, kDimensionPlusTolerance = 15,
    kDimensionOutputSelector = 22, kDimensionUnitCode = 25, kDimensionIsAxisLine = 30, kDimensionIsPositionLine = 31,
    kCommentCommentKind = 1, kCommentText = 3,
    kNamedValueName = 1, kNamedValueValue = 2,
};

// The member is not served: a wrong dispatch identifier or call kind on the client's side.
struct UnknownMember {};

void setText(VARIANT* result, const std::string& utf8)
{
    if (!result)
        return;
    result->vt = VT_BSTR;
    result->bstrVal = source::Bstr(source::wideFromUtf8(utf8)).release();
}

void setNumber(VARIANT* result, double value)
{
    if (!result)
        return;
    result->vt = VT_R8;
    result->dblVal = value;
}

// Whole numbers go out as VT_I2 when they fit, as a server with Integer properties would send them;
// the client must coerce.
void setWhole(VARIANT* result, std::int32_t value)
{
    if (!result)
        return;
    if (value >= -32768 && value <= 32767) {
        result->vt = VT_I2;
        result->iVal = static_cast<SHORT>(value);
    } else {
        result->vt = VT_I4;
        result->lVal = value;
    }
}

void setBoolean(VARIANT* result, bool value)
{
    if (!result)
        return;
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void setObject(VARIANT* result, IDispatch* object) // takes over the reference
{
    if (!result) {
        if (object)
            object->Release();
        return;
    }
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}

// Common IUnknown and IDispatch of every served object; members are served by dispatch identifier only.
class ServedObject : public IDispatch {
public:
    explicit ServedObject(std::shared_ptr<ServerCounters> counters) : m_counters(std::move(counters)) {}
    virtual ~ServedObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kServedObjectIid)) {
            noteQuery();
            AddRef();
            *object = static_cast<IDispatch*>(this);
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
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override
    {
        if (info)
            *info = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return DISP_E_UNKNOWNNAME; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override
    {
        if (++m_counters->invokes == m_counters->endProcessAtInvoke)
            ExitProcess(3); // the application ends in the middle of a call
        if (result)
            VariantInit(result);
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        try {
            serve(id, flags, parameters ? *parameters : none, result);
            return S_OK;
        } catch (const UnknownMember&) {
            ++m_counters->unknownMembers;
            return DISP_E_MEMBERNOTFOUND;
        } catch (const source::ReadError& error) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->scode = E_FAIL;
                exception->bstrSource = source::Bstr(L"Veltrum").release();
                exception->bstrDescription = source::Bstr(source::wideFromUtf8(error.reason())).release();
            }
            return DISP_E_EXCEPTION;
        }
    }

protected:
    // Serves one member; throws UnknownMember or source::ReadError.
    virtual void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) = 0;
    virtual void noteQuery() {}

    // A read without arguments. The server declares a few members as methods, the rest as
    // properties, and refuses a call of the wrong kind as a server driven by its type library does.
    static void requireRead(WORD flags, const DISPPARAMS& parameters, bool declaredAsMethod = false)
    {
        const WORD declared = declaredAsMethod ? DISPATCH_METHOD : DISPATCH_PROPERTYGET;
        if (!(flags & declared) || parameters.cArgs != 0)
            throw UnknownMember();
    }

    ServerCounters& counters() { return *m_counters; }
    const std::shared_ptr<ServerCounters>& sharedCounters() const { return m_counters; }

private:
    std::shared_ptr<ServerCounters> m_counters;
    std::atomic<ULONG> m_references{1};
};

class ServedDimensionData final : public ServedObject {
public:
    ServedDimensionData(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::DimensionData> data)
        : ServedObject(std::move(counters)), m_data(std::move(data))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        requireRead(flags, parameters, id == kDimensionMeasured);
        source::DimensionData& d = *m_data;
        switch (id) {
        case kDimensionId: return setText(result, d.Id());
        case kDimensionFeature1: return setText(result, d.Feature1());
        case kDimensionFeature2: return setText(result, d.Feature2());
        case kDimensionFeature3: return setText(result, d.Feature3());
        case kDimensionNominal: return setNumber(result, d.Nominal());
        case kDimensionMeasured: return setNumber(result, d.Measured());
        case kDimensionMinusTolerance: return setNumber(result, d.MinusTolerance());
        case kDimensionPlusTolerance: return setNumber(result, d.PlusTolerance());
        case kDimensionPositionResult: return setNumber(result, d.PositionResult());
        case kDimensionOutputSelector: return setWhole(result, d.OutputSelector());
        case kDimensionUnitCode: return setWhole(result, d.UnitCode());
        case kDimensionIsAxisLine: return setBoolean(result, d.IsAxisLine());
        case kDimensionIsPositionLine: return setBoolean(result, d.IsPositionLine());
        default: throw UnknownMember();
        }
    }

private:
    std::shared_ptr<source::DimensionData> m_data;
};

class ServedComment final : public ServedObject {
public:
    ServedComment(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::Comment> comment)
        : ServedObject(std::move(counters)), m_comment(std::move(comment))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        requireRead(flags, parameters);
        switch (id) {
        case kCommentCommentKind: return setWhole(result, m_comment->CommentKind());
        case kCommentText: {
            // A comment without text is Null, as the application sends it.
            const std::string text = m_comment->Text();
            if (text.empty() && result)
                result->vt = VT_NULL;
            return text.empty() ? void() : setText(result, text);
        }
        default: throw UnknownMember();
        }
    }

private:
    std::shared_ptr<source::Comment> m_comment;
};

class ServedNamedValue final : public ServedObject {
public:
    ServedNamedValue(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::NamedValue> value)
        : ServedObject(std::move(counters)), m_value(std::move(value))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        requireRead(flags, parameters);
        switch (id) {
        case kNamedValueName: return setText(result, m_value->Name());
        case kNamedValueValue: return setText(result, m_value->Value());
        default: throw UnknownMember();
        }
    }

private:
    std::shared_ptr<source::NamedValue> m_value;
};

class ServedCommand final : public ServedObject {
public:
    ServedCommand(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::Command> command)
        : ServedObject(std::move(counters)), m_command(std::move(command))
    {
    }

    source::Command& command() { return *m_command; }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        requireRead(flags, parameters, id == kCommandIsDimension);
        source::Command& c = *m_command;
        switch (id) {
        case kCommandId: return setText(result, c.Id());
        case kCommandCommandType: return setWhole(result, c.CommandType());
        case kCommandIsDimension: return setBoolean(result, c.IsDimension());
        case kCommandHasComment: return setBoolean(result, c.HasComment());
        case kCommandHasNamedValue: return setBoolean(result, c.HasNamedValue());
        case kCommandValueValid: return setBoolean(result, c.ValueValid());
        case kCommandDimensionData: return setObject(result, new ServedDimensionData(sharedCounters(), c.DimensionData()));
        case kCommandComment: return setObject(result, new ServedComment(sharedCounters(), c.Comment()));
        case kCommandNamedValue: return setObject(result, new ServedNamedValue(sharedCounters(), c.NamedValue()));
        default: throw UnknownMember();
        }
    }

private:
    std::shared_ptr<source::Command> m_command;
};

class ServedEnumerator final : public IEnumVARIANT {
public:
    ServedEnumerator(std::shared_ptr<ServerCounters> counters, std::unique_ptr<source::CommandEnumerator> enumerator)
        : m_counters(std::move(counters)), m_enumerator(std::move(enumerator))
    {
    }
    virtual ~ServedEnumerator() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT)) {
            AddRef();
            *object = static_cast<IEnumVARIANT*>(this);
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
                setObject(&items[given], new ServedCommand(m_counters, std::move(command)));
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
    std::shared_ptr<ServerCounters> m_counters;
    std::unique_ptr<source::CommandEnumerator> m_enumerator;
    std::atomic<ULONG> m_references{1};
};

class ServedCommands final : public ServedObject {
public:
    ServedCommands(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::Commands> commands)
        : ServedObject(std::move(counters)), m_commands(std::move(commands))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        if (id == DISPID_NEWENUM) {
            if (parameters.cArgs != 0)
                throw UnknownMember();
            auto* enumerator = new ServedEnumerator(sharedCounters(), m_commands->Enumerate());
            if (!result) {
                enumerator->Release();
                return;
            }
            result->vt = VT_UNKNOWN;
            result->punkVal = enumerator;
            return;
        }
        if (id == kCommandsVisitCommand) {
            if (!(flags & DISPATCH_METHOD) || parameters.cArgs != 1)
                throw UnknownMember();
            m_commands->VisitCommand(servedCommand(parameters.rgvarg[0]));
            return;
        }
        requireRead(flags, parameters, id == kCommandsCount);
        if (id == kCommandsCount)
            return setWhole(result, m_commands->Count());
        throw UnknownMember();
    }

private:
    // The command a client hands back; anything else is a call the application would reject.
    static source::Command& servedCommand(const VARIANT& argument)
    {
        const VARIANT& value = argument.vt == (VT_VARIANT | VT_BYREF) ? *argument.pvarVal : argument;
        IUnknown* unknown = value.vt == VT_DISPATCH ? value.pdispVal : value.vt == VT_UNKNOWN ? value.punkVal : nullptr;
        ComPtr<IDispatch> object;
        if (!unknown || FAILED(unknown->QueryInterface(kServedObjectIid, object.receiveVoid())))
            throw source::ReadError("Commands.VisitCommand", "the argument is not a command of this application");
        auto* command = dynamic_cast<ServedCommand*>(static_cast<ServedObject*>(object.get()));
        if (!command)
            throw source::ReadError("Commands.VisitCommand", "the argument is not a command");
        return command->command();
    }

    std::shared_ptr<source::Commands> m_commands;
};

class ServedPartProgram final : public ServedObject {
public:
    ServedPartProgram(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::PartProgram> program)
        : ServedObject(std::move(counters)), m_program(std::move(program))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        requireRead(flags, parameters, id == DISPID_VALUE);
        source::PartProgram& p = *m_program;
        switch (id) {
        case DISPID_VALUE: return setText(result, p.DefaultMember());
        case kPartProgramPartName: return setText(result, p.PartName());
        case kPartProgramDirectory: return setText(result, p.Directory());
        case kPartProgramRevisionNumber: return setText(result, p.RevisionNumber());
        case kPartProgramSerialNumber: return setText(result, p.SerialNumber());
        case kPartProgramFileName: return setText(result, p.FileName());
        case kPartProgramCommands: return setObject(result, new ServedCommands(sharedCounters(), p.Commands()));
        default: throw UnknownMember();
        }
    }

private:
    std::shared_ptr<source::PartProgram> m_program;
};

class ServedApplication final : public ServedObject {
public:
    ServedApplication(std::shared_ptr<ServerCounters> counters, std::shared_ptr<source::MemoryApplication> application)
        : ServedObject(std::move(counters)), m_application(std::move(application))
    {
    }

protected:
    void serve(DISPID id, WORD flags, const DISPPARAMS& parameters, VARIANT* result) override
    {
        if (id == kApplicationUpdatesEnabled && (flags & DISPATCH_PROPERTYPUT)) {
            if (parameters.cArgs != 1)
                throw UnknownMember();
            Variant value;
            if (FAILED(VariantChangeType(value.get(), &parameters.rgvarg[0], 0, VT_BOOL)))
                throw source::ReadError("Application.UpdatesEnabled", "type mismatch");
            return m_application->SetUpdatesEnabled(value.get()->boolVal != VARIANT_FALSE);
        }
        requireRead(flags, parameters);
        switch (id) {
        case kApplicationUpdatesEnabled: return setBoolean(result, m_application->UpdatesEnabled());
        case kApplicationActivePartProgram: {
            std::shared_ptr<source::PartProgram> program = m_application->ActivePartProgram();
            return setObject(result, program ? new ServedPartProgram(sharedCounters(), std::move(program)) : nullptr);
        }
        default: throw UnknownMember();
        }
    }
    void noteQuery() override { ++counters().applicationRequests; }

private:
    std::shared_ptr<source::MemoryApplication> m_application;
};

class ApplicationFactory final : public IClassFactory {
public:
    ApplicationFactory(std::shared_ptr<ServerCounters> counters, ComPtr<IDispatch> application)
        : m_counters(std::move(counters)), m_application(std::move(application))
    {
    }
    virtual ~ApplicationFactory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            AddRef();
            *object = static_cast<IClassFactory*>(this);
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
    std::shared_ptr<ServerCounters> m_counters;
    ComPtr<IDispatch> m_application;
    std::atomic<ULONG> m_references{1};
};

// Rejects incoming calls in the server's busy times. COM asks it before every incoming call, the
// application's member calls and COM's own (reference counts, interface queries) alike.
class BusyFilter final : public IMessageFilter {
public:
    BusyFilter(std::shared_ptr<std::vector<BusyPeriod>> busy, std::shared_ptr<source::MemoryApplication> application,
               std::shared_ptr<ServerCounters> counters)
        : m_busy(std::move(busy)), m_application(std::move(application)), m_counters(std::move(counters))
    {
    }
    virtual ~BusyFilter() = default;

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
    std::shared_ptr<ServerCounters> m_counters;
    std::atomic<ULONG> m_references{1};
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
        fail("Registering " + source::utf8FromWide(key), HRESULT_FROM_WIN32(status));
}

// Closing the window ends the message loop of a server run by hand.
LRESULT CALLBACK mainWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

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
        windowClass.lpfnWndProc = mainWindowProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kMainWindowClass;
        RegisterClassA(&windowClass); // already registered by an earlier server of this process: fine
        // A top-level window, hidden: FindWindowA finds it, a message-only window it would not.
        m_window = CreateWindowExA(0, kMainWindowClass, "Veltrum (test server)", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                   nullptr, nullptr, windowClass.hInstance, nullptr);
        if (!m_window)
            fail("CreateWindowExA", HRESULT_FROM_WIN32(GetLastError()));
    }
    m_served = ComPtr<IDispatch>::adopt(new ServedApplication(m_counters, m_application));
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
    if (m_window) {
        DestroyWindow(m_window);
        // The quit message that the window's end posted is for a loop that has already stopped.
        MSG message;
        PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    }
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
