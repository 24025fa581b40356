#include "ComAutomationTypes.h"

#include <windows.h>

#include <climits>
#include <new>
#include <stdexcept>

namespace source {

Bstr::Bstr(std::wstring_view text)
    : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())))
{
    if (!m_text)
        throw std::bad_alloc();
}

Bstr& Bstr::operator=(Bstr&& other) noexcept
{
    if (this != &other) {
        SysFreeString(m_text);
        m_text = std::exchange(other.m_text, nullptr);
    }
    return *this;
}

Bstr::~Bstr()
{
    SysFreeString(m_text);
}

Bstr Bstr::adopt(BSTR text)
{
    Bstr owner;
    owner.m_text = text;
    return owner;
}

std::wstring_view Bstr::view() const
{
    // A null BSTR is the empty text.
    return m_text ? std::wstring_view(m_text, SysStringLen(m_text)) : std::wstring_view();
}

Variant::Variant()
{
    VariantInit(&m_value);
}

Variant::Variant(Variant&& other) noexcept : m_value(other.m_value)
{
    VariantInit(&other.m_value);
}

Variant& Variant::operator=(Variant&& other) noexcept
{
    if (this != &other) {
        VariantClear(&m_value);
        m_value = other.m_value;
        VariantInit(&other.m_value);
    }
    return *this;
}

Variant::~Variant()
{
    VariantClear(&m_value);
}

VARIANT* Variant::receive()
{
    VariantClear(&m_value);
    return &m_value;
}

Variant Variant::fromBoolean(bool value)
{
    Variant result;
    result.m_value.vt = VT_BOOL;
    result.m_value.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

Variant Variant::fromDispatch(IDispatch* object)
{
    Variant result;
    result.m_value.vt = VT_DISPATCH;
    result.m_value.pdispVal = object;
    if (object)
        object->AddRef();
    return result;
}

} // namespace source
