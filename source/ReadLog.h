#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "Member.h"

namespace source {

// Counts the calls made on an in-memory model, per member, and can make the n-th call fail: the
// fault sweeps make every read of a conversion fail in turn this way.
class ReadLog {
public:
    struct Entry {
        Member member;
        std::uint32_t commandIndex; // 0-based index of the command the object belongs to; 0 otherwise
    };

    // Records one call; throws ReadError when this call is the one set to fail.
    void record(Member member, std::uint32_t commandIndex);

    std::uint64_t total() const { return m_total; }
    std::uint64_t count(Member member) const { return m_counts[static_cast<std::size_t>(member)]; }

    // How a call set to fail fails: the application refuses the member (ReadError), or the
    // connection is gone (ConnectionError).
    enum class Fault { Refused, ConnectionLost };

    // Makes the n-th call from now on (1-based) fail; 0 fails none.
    void failAtCall(std::uint64_t n, Fault fault = Fault::Refused)
    {
        m_failAt = n == 0 ? 0 : m_total + n;
        m_fault = fault;
    }

    // Keeps every call in order from now on, for tests that check what was read.
    void startTrace() { m_tracing = true; m_trace.clear(); }
    const std::vector<Entry>& trace() const { return m_trace; }

    void reset();

private:
    std::array<std::uint64_t, kMemberCount> m_counts{};
    std::uint64_t m_total = 0;
    std::uint64_t m_failAt = 0;
    Fault m_fault = Fault::Refused;
    bool m_tracing = false;
    std::vector<Entry> m_trace;
};

} // namespace source
