#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>

#include "run/ConversionRun.h"
#include "DesktopEnvironment.h"
#include "MainWindowHost.h"
#include "config/LanguageTexts.h"

class QWidget;

namespace ui {
class frm_Konfiguration;
}

namespace app {

class frm_Hauptfenster;
class frm_Start;

// The desktop program from its start-up window to its end: it holds the language texts and the run
// state for the whole program, and the windows that come and go around them.
class DesktopProgram final : public QObject, public MainWindowHost {
    Q_OBJECT

public:
    // Called once the program is to end, with its exit code; the caller stops the event loop.
    using ProgramEnd = std::function<void(int exitCode)>;

    DesktopProgram(DesktopEnvironment environment, ProgramEnd end);
    ~DesktopProgram() override;

    // Opens the start-up window, which loads the language texts. When they cannot be loaded the
    // operator is told why and the result is false: no window opens.
    bool start();

    void openSettingsDialog() override;
    void endProgram(int exitCode) override;

private:
    void startUpWindowUnloaded();
    void settingsDialogClosed();
    void loadMainWindow();
    // A window that has unloaded itself from inside one of its own handlers goes once that is over.
    void retire(std::unique_ptr<QWidget> window);

    DesktopEnvironment m_environment;
    ProgramEnd m_end;
    config::LanguageTexts m_texts;
    ConversionRun m_run;
    std::unique_ptr<frm_Start> m_startUpWindow;
    std::unique_ptr<frm_Hauptfenster> m_mainWindow;
    std::unique_ptr<ui::frm_Konfiguration> m_settingsDialog;
    std::vector<QPointer<QWidget>> m_retired;
};

} // namespace app
