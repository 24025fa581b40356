#pragma once

#include <memory>
#include <utility>

namespace source {

// An optional part of a record kept apart from it, with std::optional's value semantics: a record
// without the part takes only a pointer's room for it, as most commands lack most parts.
template <class T>
class OptionalRecord {
public:
    OptionalRecord() = default;
    OptionalRecord(T value) : m_value(std::make_unique<T>(std::move(value))) {}
    OptionalRecord(const OptionalRecord& other) : m_value(other.m_value ? std::make_unique<T>(*other.m_value) : nullptr) {}
    OptionalRecord(OptionalRecord&&) noexcept = default;
    OptionalRecord& operator=(const OptionalRecord& other)
    {
        if (this != &other)
            m_value = other.m_value ? std::make_unique<T>(*other.m_value) : nullptr;
        return *this;
    }
    OptionalRecord& operator=(OptionalRecord&&) noexcept = default;
    ~OptionalRecord() = default;

    T& emplace()
    {
        m_value = std::make_unique<T>();
        return *m_value;
    }

    bool has_value() const noexcept { return m_value != nullptr; }
    explicit operator bool() const noexcept { return has_value(); }
    T& operator*() { return *m_value; }
    const T& operator*() const { return *m_value; }
    T* operator->() { return m_value.get(); }
    const T* operator->() const { return m_value.get(); }

private:
    std::unique_ptr<T> m_value;
};

} // namespace source
