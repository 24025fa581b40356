#pragma once

#include <string>

namespace kfield {

// The main window's progress bar and progress label, driven by the walks.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;
    // Shows the label with this caption and the bar with this maximum.
    virtual void show(const std::string& caption, int maximum) = 0;
    virtual void setValue(int value) = 0;
    // Empties the label and hides both.
    virtual void hide() = 0;
};

// Shows the progress display for one walk and hides it again on every way out.
class ProgressSession {
public:
    ProgressSession(ProgressDisplay& display, const std::string& caption, int maximum) : m_display(display)
    {
        m_display.show(caption, maximum);
    }
    ~ProgressSession() { m_display.hide(); }
    ProgressSession(const ProgressSession&) = delete;
    ProgressSession& operator=(const ProgressSession&) = delete;

    void setValue(int value) { m_display.setValue(value); }

private:
    ProgressDisplay& m_display;
};

} // namespace kfield
