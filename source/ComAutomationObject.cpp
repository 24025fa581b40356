#include "ComAutomationObject.h"

#include "ComConnection.h"
#include "ReadError.h"

#include "platform/WindowsText.h"

#include <windows.h>

#include <cstdio>

namespace source {
namespace {

std::string memberText(Member member)
{
    return std::string(memberName(member));
}

[[noreturn]] void fail(Member member, const std::string& reason)
{
    throw ReadError(memberText(member), reason);
}

// The server's description of the exception it raised, else the text of its code.
std::string exceptionText(EXCEPINFO& info)
{
    if (info.pfnDeferredFillIn)
        info.pfnDeferredFillIn(&info);
    const Bstr source = Bstr::adopt(info.bstrSource);
    const Bstr description = Bstr::adopt(info.bstrDescription);
    const Bstr helpFile = Bstr::adopt(info.bstrHelpFile);
    if (!description.view().empty())
        return config::utf8FromWide(description.view());
    if (FAILED(info.scode))
        return comErrorText(info.scode);
    return "the application raised error " + std::to_string(info.wCode);
}

} // namespace

std::string comErrorText(HRESULT result)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, static_cast<DWORD>(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    return text.empty() ? std::string("error ") + code : config::utf8FromWide(text) + " (" + code + ")";
}

void failCall(Member member, HRESULT status, const ComBusyBudget& budget)
{
    switch (classifyCall(status)) {
    case CallFailure::Busy:
        throw ConnectionError(budget.busyText() + " (" + memberText(member) + ": " + comErrorText(status) + ")");
    case CallFailure::Gone:
        throw ConnectionError("Veltrum was closed or stopped responding (" + memberText(member) + ": " + comErrorText(status) + ")");
    case CallFailure::Refused:
        break;
    }
    fail(member, comErrorText(status));
}

ComAutomationObject::ComAutomationObject(std::shared_ptr<ComConnection> connection, ComPtr<IDispatch> object)
    : m_connection(std::move(connection)), m_object(std::move(object))
{
}

Variant ComAutomationObject::invoke(DISPID id, WORD flags, DISPPARAMS& parameters, Member member, ComBusyBudget& budget) const
{
    Variant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT status = retryWhileBusy(budget, [&] {
        // A rejected attempt may have left a description behind.
        Bstr::adopt(std::exchange(exception.bstrSource, nullptr));
        Bstr::adopt(std::exchange(exception.bstrDescription, nullptr));
        Bstr::adopt(std::exchange(exception.bstrHelpFile, nullptr));
        exception = EXCEPINFO{};
        return m_object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                flags == DISPATCH_PROPERTYPUT ? nullptr : result.receive(), &exception, &badArgument);
    });
    if (status == DISP_E_EXCEPTION)
        fail(member, exceptionText(exception));
    if (FAILED(status))
        failCall(member, status, budget);
    return result;
}

Variant ComAutomationObject::invoke(DISPID id, WORD flags, DISPPARAMS& parameters, Member member) const
{
    return invoke(id, flags, parameters, member, m_connection->busy);
}

Variant ComAutomationObject::get(DISPID id, Member member) const
{
    // A member the server declares as a method reads as well as a property.
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    return invoke(id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, member);
}

Variant ComAutomationObject::coerced(DISPID id, VARTYPE type, Member member) const
{
    Variant value = get(id, member);
    if (value.type() == type)
        return value;
    Variant converted;
    const HRESULT status = VariantChangeType(converted.receive(), value.get(), 0, type);
    if (FAILED(status))
        fail(member, comErrorText(status));
    return converted;
}

std::string ComAutomationObject::text(DISPID id, Member member) const
{
    // Null (a comment without text, say) is the empty text; VariantChangeType would refuse it.
    Variant value = get(id, member);
    if (value.type() == VT_NULL)
        return {};
    if (value.type() != VT_BSTR) {
        Variant converted;
        const HRESULT status = VariantChangeType(converted.receive(), value.get(), 0, VT_BSTR);
        if (FAILED(status))
            fail(member, comErrorText(status));
        value = std::move(converted);
    }
    const BSTR text = value.get()->bstrVal;
    return text ? config::utf8FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

double ComAutomationObject::number(DISPID id, Member member) const
{
    return coerced(id, VT_R8, member).get()->dblVal;
}

std::int32_t ComAutomationObject::whole(DISPID id, Member member) const
{
    return coerced(id, VT_I4, member).get()->lVal;
}

bool ComAutomationObject::boolean(DISPID id, Member member) const
{
    return coerced(id, VT_BOOL, member).get()->boolVal != VARIANT_FALSE;
}

std::optional<ComAutomationObject> ComAutomationObject::object(DISPID id, Member member) const
{
    const Variant value = get(id, member);
    return fromVariant(m_connection, *value.get(), member);
}

std::optional<ComAutomationObject> ComAutomationObject::fromVariant(const std::shared_ptr<ComConnection>& connection,
                                                                    const VARIANT& value, Member member)
{
    switch (value.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return std::nullopt;
    case VT_DISPATCH:
        if (!value.pdispVal)
            return std::nullopt;
        return ComAutomationObject(connection, ComPtr<IDispatch>::share(value.pdispVal));
    case VT_UNKNOWN: {
        if (!value.punkVal)
            return std::nullopt;
        ComPtr<IDispatch> dispatch;
        const HRESULT status = retryWhileBusy(connection->busy, [&] {
            return value.punkVal->QueryInterface(IID_IDispatch, dispatch.receiveVoid());
        });
        if (FAILED(status))
            failCall(member, status, connection->busy);
        return ComAutomationObject(connection, std::move(dispatch));
    }
    default:
        fail(member, "the application gave no object (variant type " + std::to_string(value.vt) + ")");
    }
}

void ComAutomationObject::put(DISPID id, Variant value, Member member) const
{
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{value.get(), &named, 1, 1};
    ComBusyBudget own(m_connection->busy.length());
    invoke(id, DISPATCH_PROPERTYPUT, parameters, member, own);
}

void ComAutomationObject::call(DISPID id, Variant argument, Member member) const
{
    DISPPARAMS parameters{argument.get(), nullptr, 1, 0};
    invoke(id, DISPATCH_METHOD, parameters, member);
}

ComPtr<IEnumVARIANT> ComAutomationObject::enumerate(Member member) const
{
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    const Variant result = invoke(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, none, member);
    IUnknown* unknown = nullptr;
    if (result.type() == VT_UNKNOWN)
        unknown = result.get()->punkVal;
    else if (result.type() == VT_DISPATCH)
        unknown = result.get()->pdispVal;
    if (!unknown)
        fail(member, "the collection gave no enumerator");
    ComPtr<IEnumVARIANT> enumerator;
    const HRESULT status = retryWhileBusy(m_connection->busy, [&] {
        return unknown->QueryInterface(IID_IEnumVARIANT, enumerator.receiveVoid());
    });
    if (FAILED(status))
        failCall(member, status, m_connection->busy);
    return enumerator;
}

} // namespace source
