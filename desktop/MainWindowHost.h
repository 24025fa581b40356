#pragma once

namespace app {

// What the main window asks of the program that holds it: the windows that outlive it, and the end.
class MainWindowHost {
public:
    virtual ~MainWindowHost() = default;
    // The main window has unloaded itself; open the settings dialog, which loads it again on closing.
    virtual void openSettingsDialog() = 0;
    // Ends the program at once: no further handler of any window runs.
    virtual void endProgram(int exitCode) = 0;
};

} // namespace app
