#pragma once

#include "CalendarTime.h"

namespace app {

// The current local date and time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual config::CalendarTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    config::CalendarTime now() const override;
};

// Always the same moment: reproducible conversions and tests.
class FixedClock final : public Clock {
public:
    explicit FixedClock(config::CalendarTime moment) : m_moment(moment) {}
    config::CalendarTime now() const override { return m_moment; }

private:
    config::CalendarTime m_moment;
};

} // namespace app
