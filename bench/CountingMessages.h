#pragma once

#include <string>

#include "kfield/OperatorMessages.h"

namespace bench {

// Keeps the number of messages and the last one: a benchmark run that shows any message did not
// convert what it claims to, and says so instead of reporting a time.
class CountingMessages final : public kfield::OperatorMessages {
public:
    void show(const std::string& text, kfield::MessageIcon) override
    {
        ++m_count;
        m_last = text;
    }
    int count() const { return m_count; }
    const std::string& last() const { return m_last; }

private:
    int m_count = 0;
    std::string m_last;
};

} // namespace bench
