#pragma once

namespace source {
class Application;
}

namespace kfield {

class OperatorMessages;

// Keeps the application's UpdatesEnabled, switches it off for a walk and puts the kept value back on
// every way out of the walk.
class UpdatesSuspension {
public:
    // Throws source::ReadError or source::ConnectionError when UpdatesEnabled cannot be read or
    // switched off.
    UpdatesSuspension(source::Application& application, OperatorMessages& messages);
    // Puts the kept value back unless restore() did. When that fails too, the operator is told that
    // the application's screen updates may still be off: nothing else would say so.
    ~UpdatesSuspension();
    UpdatesSuspension(const UpdatesSuspension&) = delete;
    UpdatesSuspension& operator=(const UpdatesSuspension&) = delete;

    // Puts the kept value back; throws source::ReadError or source::ConnectionError.
    void restore();
    // The value UpdatesEnabled had before the walk.
    bool kept() const { return m_kept; }

private:
    source::Application& m_application;
    OperatorMessages& m_messages;
    bool m_kept;
    bool m_restored = false;
};

} // namespace kfield
