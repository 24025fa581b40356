#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "ComAutomationTypes.h"
#include "Member.h"

namespace source {

class ComAutomationApartment;

// One object of the measuring application reached through late-bound IDispatch::Invoke by dispatch
// identifier. Results are coerced as a late-bound client coerces them (VariantChangeType): texts to
// BSTR, numbers to double or to a 32-bit whole number, Booleans to VARIANT_BOOL. Every failure (an
// HRESULT, an exception the server reports in EXCEPINFO, a value that cannot be coerced) throws
// source::ReadError naming the member.
class ComAutomationObject {
public:
    ComAutomationObject(std::shared_ptr<ComAutomationApartment> apartment, ComPtr<IDispatch> object);

    std::string text(DISPID id, Member member) const;
    double number(DISPID id, Member member) const;
    std::int32_t whole(DISPID id, Member member) const;
    bool boolean(DISPID id, Member member) const;
    // The object a property holds; nothing when it holds Nothing.
    std::optional<ComAutomationObject> object(DISPID id, Member member) const;

    void put(DISPID id, Variant value, Member member) const;
    // A method with one argument whose result is not used.
    void call(DISPID id, Variant argument, Member member) const;
    // The enumerator of a collection (DISPID_NEWENUM).
    ComPtr<IEnumVARIANT> enumerate(Member member) const;

    IDispatch* dispatch() const { return m_object.get(); }
    const std::shared_ptr<ComAutomationApartment>& apartment() const { return m_apartment; }

    // An object from a VARIANT that holds an IDispatch or an IUnknown that has one; nothing for
    // Nothing. Throws source::ReadError for anything else.
    static std::optional<ComAutomationObject> fromVariant(const std::shared_ptr<ComAutomationApartment>& apartment,
                                                         const VARIANT& value, Member member);

private:
    Variant invoke(DISPID id, WORD flags, DISPPARAMS& parameters, Member member) const;
    Variant get(DISPID id, Member member) const;
    Variant coerced(DISPID id, VARTYPE type, Member member) const;

    std::shared_ptr<ComAutomationApartment> m_apartment;
    ComPtr<IDispatch> m_object;
};

// The text of a failed call: the server's own description when it gave one, else the system's.
std::string comErrorText(HRESULT result);

} // namespace source
