#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ComAutomationTypes.h"
#include "Member.h"

namespace source {

struct ComConnection;
class ComBusyBudget;

// One object of the measuring application reached through late-bound IDispatch::Invoke by dispatch
// identifier. Reads without arguments ask for a method or a property alike, as a late-bound client
// does; results are coerced as such a client coerces them (VariantChangeType): texts to BSTR (Null is
// the empty text), numbers to double or to a 32-bit whole number, Booleans to VARIANT_BOOL.
// A call the application rejects as busy is repeated within the connection's budget. A failure of
// the member (an HRESULT, an exception the server reports in EXCEPINFO, a value that cannot be
// coerced) throws source::ReadError naming the member; a busy application past the budget or a lost
// connection throws source::ConnectionError.
class ComAutomationObject {
public:
    ComAutomationObject(std::shared_ptr<ComConnection> connection, ComPtr<IDispatch> object);

    std::string text(DISPID id, Member member) const;
    double number(DISPID id, Member member) const;
    std::int32_t whole(DISPID id, Member member) const;
    bool boolean(DISPID id, Member member) const;
    // The object a property holds; nothing when it holds Nothing.
    std::optional<ComAutomationObject> object(DISPID id, Member member) const;

    // A property put with a budget of its own: the put that restores the application's state must
    // have its chance even when the conversion's budget is spent.
    void put(DISPID id, Variant value, Member member) const;
    // A method with one argument whose result is not used.
    void call(DISPID id, Variant argument, Member member) const;
    // The enumerator of a collection (DISPID_NEWENUM).
    ComPtr<IEnumVARIANT> enumerate(Member member) const;

    IDispatch* dispatch() const { return m_object.get(); }
    const std::shared_ptr<ComConnection>& connection() const { return m_connection; }

    // An object from a VARIANT that holds an IDispatch or an IUnknown that has one; nothing for
    // Nothing. Throws source::ReadError for anything else.
    static std::optional<ComAutomationObject> fromVariant(const std::shared_ptr<ComConnection>& connection,
                                                         const VARIANT& value, Member member);

private:
    Variant invoke(DISPID id, WORD flags, DISPPARAMS& parameters, Member member, ComBusyBudget& budget) const;
    Variant invoke(DISPID id, WORD flags, DISPPARAMS& parameters, Member member) const;
    Variant get(DISPID id, Member member) const;
    Variant coerced(DISPID id, VARTYPE type, Member member) const;

    std::shared_ptr<ComConnection> m_connection;
    ComPtr<IDispatch> m_object;
};

// The text of a failed call: the server's own description when it gave one, else the system's.
std::string comErrorText(HRESULT result);

// Throws what a failed call means for the member: source::ConnectionError when the application was
// busy past the budget or is gone (with a text the operator can act on), else source::ReadError.
[[noreturn]] void failCall(Member member, HRESULT status, const ComBusyBudget& budget);

} // namespace source
