// The dispatch plumbing of the test automation server: COM objects with counted references, the
// answers typed as the application's type library types them, and objects served from a table of
// members by dispatch identifier and call kind.
#pragma once

#include "TestAutomationServer.h"

#include "platform/WindowsText.h"
#include "source/ComAutomationTypes.h"
#include "source/MeasurementSource.h"
#include "source/ReadError.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

namespace testserver::serving {

using source::ComPtr;
using source::Variant;
using Counters = std::shared_ptr<ServerCounters>;

// Lets the server find its own object behind a dispatch pointer that a client passes back
// (VisitCommand's argument): unmarshalled in its own apartment, it is the original object.
// {2F8A4C61-0B7E-4D52-8E3A-91C4D6F0A7B3}
constexpr IID kServedObjectIid{0x2f8a4c61, 0x0b7e, 0x4d52, {0x8e, 0x3a, 0x91, 0xc4, 0xd6, 0xf0, 0xa7, 0xb3}};

// IUnknown of the server's objects: one interface besides IUnknown, counted references.
template <class Interface>
class ComObject : public Interface {
public:
    explicit ComObject(const IID& iid) : m_iid(iid) {}
    virtual ~ComObject() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, m_iid) && !alsoAnswers(iid))
            return E_NOINTERFACE;
        noteQuery();
        AddRef();
        *object = static_cast<Interface*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    virtual bool alsoAnswers(REFIID) { return false; }
    virtual void noteQuery() {}

private:
    IID m_iid;
    std::atomic<ULONG> m_references{1};
};

IDispatch* served(const Counters& counters, std::shared_ptr<source::PartProgram> program);
IDispatch* served(const Counters& counters, std::shared_ptr<source::Commands> commands);
IDispatch* served(const Counters& counters, std::shared_ptr<source::Command> command);
IDispatch* served(const Counters& counters, std::shared_ptr<source::DimensionData> data);
IDispatch* served(const Counters& counters, std::shared_ptr<source::Comment> comment);
IDispatch* served(const Counters& counters, std::shared_ptr<source::NamedValue> value);

// The answer as the application's type library types it. Whole numbers go out as VT_I2 when they
// fit, as a server with Integer properties sends them: the client must coerce.
inline void answer(VARIANT& result, const std::string& text, const Counters&)
{
    result.vt = VT_BSTR;
    result.bstrVal = source::Bstr(config::wideFromUtf8(text)).release();
}
inline void answer(VARIANT& result, double value, const Counters&)
{
    result.vt = VT_R8;
    result.dblVal = value;
}
inline void answer(VARIANT& result, std::int32_t value, const Counters&)
{
    if (value >= -32768 && value <= 32767) {
        result.vt = VT_I2;
        result.iVal = static_cast<SHORT>(value);
    } else {
        result.vt = VT_I4;
        result.lVal = value;
    }
}
inline void answer(VARIANT& result, bool value, const Counters&)
{
    result.vt = VT_BOOL;
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}
template <class Model>
void answer(VARIANT& result, std::shared_ptr<Model> object, const Counters& counters)
{
    result.vt = VT_DISPATCH;
    result.pdispVal = object ? served(counters, std::move(object)) : nullptr;
}

// One member of a served object: its dispatch identifier, how it is called and how it is served. The
// identifiers are the application's, written out here on their own so that a wrong one on the
// client's side shows up as an unknown member.
struct ServedMember {
    DISPID id;
    WORD kind; // DISPATCH_PROPERTYGET, DISPATCH_METHOD or DISPATCH_PROPERTYPUT
    UINT arguments;
    std::function<void(const DISPPARAMS&, VARIANT&)> serve;
};

// A served object: its members by dispatch identifier and call kind. A call of the wrong kind is
// refused, as a server driven by its type library refuses it.
class ServedObject final : public ComObject<IDispatch> {
public:
    ServedObject(Counters counters, std::vector<ServedMember> members, std::shared_ptr<source::Command> command, bool isApplication)
        : ComObject(IID_IDispatch), m_counters(std::move(counters)), m_members(std::move(members))
        , m_command(std::move(command)), m_isApplication(isApplication)
    {
    }

    // The command this object serves; null for any other object.
    source::Command* command() const { return m_command.get(); }

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
        DISPPARAMS none{nullptr, nullptr, 0, 0};
        const DISPPARAMS& given = parameters ? *parameters : none;
        Variant unwanted;
        VARIANT& reply = result ? *result : *unwanted.get();
        VariantInit(&reply);
        try {
            for (const ServedMember& member : m_members) {
                if (member.id == id && (flags & member.kind) && given.cArgs == member.arguments) {
                    member.serve(given, reply);
                    return S_OK;
                }
            }
            ++m_counters->unknownMembers;
            return DISP_E_MEMBERNOTFOUND;
        } catch (const source::ReadError& error) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->scode = E_FAIL;
                exception->bstrSource = source::Bstr(L"Veltrum").release();
                exception->bstrDescription = source::Bstr(config::wideFromUtf8(error.reason())).release();
            }
            return DISP_E_EXCEPTION;
        }
    }

protected:
    bool alsoAnswers(REFIID iid) override { return IsEqualIID(iid, kServedObjectIid); }
    void noteQuery() override { m_counters->applicationRequests += m_isApplication ? 1 : 0; }

private:
    Counters m_counters;
    std::vector<ServedMember> m_members;
    std::shared_ptr<source::Command> m_command;
    bool m_isApplication;
};

// The members of one object, read by the model's own member functions.
template <class Model>
class MemberTable {
public:
    MemberTable(Counters counters, std::shared_ptr<Model> model) : m_counters(std::move(counters)), m_model(std::move(model)) {}

    template <class Value>
    MemberTable& property(DISPID id, Value (Model::*read)(), WORD kind = DISPATCH_PROPERTYGET)
    {
        return add(id, kind, 0, [model = m_model, counters = m_counters, read](const DISPPARAMS&, VARIANT& result) {
            answer(result, (*model.*read)(), counters);
        });
    }
    template <class Value>
    MemberTable& method(DISPID id, Value (Model::*read)()) { return property(id, read, DISPATCH_METHOD); }
    MemberTable& add(DISPID id, WORD kind, UINT arguments, std::function<void(const DISPPARAMS&, VARIANT&)> serve)
    {
        m_members.push_back({id, kind, arguments, std::move(serve)});
        return *this;
    }
    IDispatch* serve(std::shared_ptr<source::Command> command = nullptr, bool isApplication = false)
    {
        return new ServedObject(m_counters, std::move(m_members), std::move(command), isApplication);
    }
    const std::shared_ptr<Model>& model() const { return m_model; }

private:
    Counters m_counters;
    std::shared_ptr<Model> m_model;
    std::vector<ServedMember> m_members;
};

} // namespace testserver::serving
