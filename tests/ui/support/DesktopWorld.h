#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "desktop/DesktopEnvironment.h"
#include "desktop/DesktopProgram.h"
#include "platform/CodePage.h"
#include "config/MemorySettingsStore.h"
#include "files/FileLock.h"
#include "support/Doubles.h"
#include "support/FaultyFileSystem.h"
#include "support/Files.h"
#include "support/RunFixture.h"

class QWidget;

namespace app {
class frm_Hauptfenster;
}

namespace ui_testing {

// Everything the desktop program meets in a test: a program directory with language files whose
// lines name their own number (resource.dll "L", German.dll "G", English.dll "E"), an empty output
// directory named by "DIR", a settings store in memory, the example part program open in the
// measuring application, 05.12.2026 14:03:12, a point as decimal separator, windows-1252, and a
// file system that fails on cue.
class DesktopWorld {
public:
    explicit DesktopWorld(std::string argumentText = "");
    ~DesktopWorld();

    testing_support::TemporaryDirectory programDirectory;
    testing_support::TemporaryDirectory output;
    config::MemorySettingsStore settings;
    testing_support::MemoryConnector connector; // counts the connections: each load and each run connects
    app::FixedClock clock{config::CalendarTime{2026, 12, 5, 14, 3, 12}};
    testing_support::FixedRegionalSettings regional{"."};
    std::unique_ptr<config::CodePage> codePage;
    testing_support::FaultyFileSystem files;
    kfield::SystemFileLocks locks;
    std::string argumentText;

    std::vector<int> endRequests; // exit codes, in order
    std::unique_ptr<app::DesktopProgram> program;

    // Creates the program and opens its start-up window; false when the texts could not be loaded.
    bool start();
    // Starts and lets the start-up window hand over at once, as if its time were up.
    app::frm_Hauptfenster* startToMainWindow();
    // Ends the start-up window's time now.
    void fireStartUpTimer();
    // Ends the program object as a restart would, and drops the windows it left.
    void stop();

    // The program's open window of that object name ("frm_Start", "frm_Hauptfenster",
    // "frm_Konfiguration"), or nullptr. A window the program has just let go stays until settle();
    // the visible one is taken before it.
    QWidget* window(const char* objectName) const;
    app::frm_Hauptfenster* mainWindow() const;
    void store(std::string_view key, std::string_view value);

private:
    std::unique_ptr<app::DesktopEnvironment> m_environment;
};

// Processes events, deferred deletions included, so windows closed by a handler are really gone.
void settle();

// Clicks the button or triggers the menu entry of that name in the window.
void press(QWidget* window, const char* name);

} // namespace ui_testing
