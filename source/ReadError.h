#pragma once

#include <stdexcept>
#include <string>

namespace source {

// A read of the measuring application failed: a member of its object model (a write of one too), or
// the snapshot that stands for the application. Every MeasurementSource call may throw it; callers
// catch it only where a failure is meant to be ignored.
class ReadError : public std::runtime_error {
public:
    ReadError(const std::string& member, const std::string& reason)
        : ReadError("Cannot read " + member + " from the measuring application: " + reason, member, reason)
    {
    }

    // The member, or the snapshot file's name.
    const std::string& member() const noexcept { return m_member; }
    const std::string& reason() const noexcept { return m_reason; }

protected:
    ReadError(const std::string& message, std::string member, std::string reason)
        : std::runtime_error(message)
        , m_member(std::move(member))
        , m_reason(std::move(reason))
    {
    }

private:
    std::string m_member;
    std::string m_reason;
};

// The call did not reach the measuring application, or its answer did not come back: it stayed busy
// past the retry budget, was closed or stopped responding. Nothing is known about the member then, so
// this is no failed read: it stands beside ReadError, and the handlers that ignore a read the
// application refuses let it pass and the run stops.
class ConnectionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace source
