#pragma once

// The three owners every COM client needs: an interface pointer, a BSTR and a VARIANT. Each releases
// what it holds exactly once, so no path through the automation code can leak or double-free.
#include <windows.h>
#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace source {

// Holds one reference to a COM interface.
template <class Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer)
    {
        if (m_pointer)
            m_pointer->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { reset(); }

    // Takes over a reference that the caller already owns.
    static ComPtr adopt(Interface* pointer)
    {
        ComPtr owner;
        owner.m_pointer = pointer;
        return owner;
    }
    // Adds a reference of its own.
    static ComPtr share(Interface* pointer)
    {
        if (pointer)
            pointer->AddRef();
        return adopt(pointer);
    }

    void reset()
    {
        if (Interface* old = std::exchange(m_pointer, nullptr))
            old->Release();
    }
    // For functions that hand out a new reference through an out parameter.
    Interface** receive()
    {
        reset();
        return &m_pointer;
    }
    void** receiveVoid() { return reinterpret_cast<void**>(receive()); }

    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

private:
    Interface* m_pointer = nullptr;
};

// Owns a BSTR.
class Bstr {
public:
    Bstr() = default;
    // Throws std::bad_alloc when the system has no memory for it.
    explicit Bstr(std::wstring_view text);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : m_text(std::exchange(other.m_text, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept;
    ~Bstr();

    static Bstr adopt(BSTR text);
    // Gives up ownership, for a VARIANT or EXCEPINFO that will free it.
    BSTR release() { return std::exchange(m_text, nullptr); }
    BSTR get() const { return m_text; }
    std::wstring_view view() const;

private:
    BSTR m_text = nullptr;
};

// Owns a VARIANT and what it holds (a BSTR, an interface reference).
class Variant {
public:
    Variant();
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    static Variant fromBoolean(bool value);
    static Variant fromDispatch(IDispatch* object); // adds a reference of its own

    VARIANT* get() { return &m_value; }
    const VARIANT* get() const { return &m_value; }
    VARTYPE type() const { return m_value.vt; }
    // Frees what it holds and leaves VT_EMPTY, ready to receive a result.
    VARIANT* receive();

private:
    VARIANT m_value;
};

} // namespace source
