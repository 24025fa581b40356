#pragma once

namespace source {
class Application;
}

namespace kfield {

// Keeps the application's UpdatesEnabled, switches it off for a walk and puts the kept value back on
// every way out of the walk.
class UpdatesSuspension {
public:
    // Throws source::ReadError when UpdatesEnabled cannot be read or switched off.
    explicit UpdatesSuspension(source::Application& application);
    // Puts the kept value back unless restore() did; a failure here cannot be reported any more.
    ~UpdatesSuspension();
    UpdatesSuspension(const UpdatesSuspension&) = delete;
    UpdatesSuspension& operator=(const UpdatesSuspension&) = delete;

    // Puts the kept value back; throws source::ReadError.
    void restore();

private:
    source::Application& m_application;
    bool m_kept;
    bool m_restored = false;
};

} // namespace kfield
