#include "ReadLog.h"

#include "ReadError.h"

#include <string>

namespace source {

void ReadLog::record(Member member, std::uint32_t commandIndex)
{
    ++m_total;
    ++m_counts[static_cast<std::size_t>(member)];
    if (m_tracing)
        m_trace.push_back({member, commandIndex});
    if (m_total == m_failAt && m_fault == Fault::ConnectionLost)
        throw ConnectionError("The measuring application was closed (simulated fault, " + std::string(memberName(member)) + ")");
    if (m_total == m_failAt)
        throw ReadError(std::string(memberName(member)), "the call failed (simulated fault)");
}

void ReadLog::reset()
{
    m_counts.fill(0);
    m_total = 0;
    m_failAt = 0;
    m_tracing = false;
    m_trace.clear();
}

} // namespace source
