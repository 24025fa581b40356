#pragma once

#include <memory>
#include <string>
#include <string_view>

#include <QMainWindow>

#include "CommandLineSwitches.h"
#include "run/ConversionRun.h"

class QAction;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QMenu;
class QProgressBar;
class QPushButton;

namespace config {
class LanguageTexts;
}

namespace app {

struct DesktopEnvironment;
class MainWindowHost;
class MessageBoxes;
class ProgressWidgets;

// The main window: shows the connected part program, starts conversions, and leads to the settings
// dialog, the languages and the About window. The run state it works on belongs to the program and
// outlives the window, which is created anew on every load.
class frm_Hauptfenster final : public QMainWindow, public PartProgramNameDisplay {
    Q_OBJECT

public:
    frm_Hauptfenster(ConversionRun& run, config::LanguageTexts& texts, const DesktopEnvironment& environment,
                     MainWindowHost& host);
    ~frm_Hauptfenster() override;

    // Sets the captions, shows the window, reads the command line and the settings, connects to the
    // measuring application and, with "/a", converts at once. Runs on every load and after a
    // language switch.
    void Form_Load();

    void showPartProgramName(const std::string& name) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createMenus();
    void createWidgets();
    void connectSignals();
    void setCaptions();
    RunServices runServices();

    void Form_Unload();
    // Installs the language file of that name as resource.dll, reloads the texts and runs Form_Load
    // again. Text line 54 when a file is missing; a file that cannot be installed is reported and
    // changes nothing.
    void LoadLanguage(std::string_view language);
    void cmd_Start_Konvertierung_Click();
    void cmd_Ende_Click();
    void menNorda_Click();
    void menEnde_Click();
    void menKonfiguration_Click();
    void menInfo_Click();
    void menGerman_Click();
    void menEnglish_Click();
    void menTschechisch_Click();
    void menSpanisch_Click();
    void menFrench_Click();
    void menPort_Click();
    void menItalien_Click();
    void aboutWindowClosed();

    ConversionRun& m_run;
    config::LanguageTexts& m_texts;
    const DesktopEnvironment& m_environment;
    MainWindowHost& m_host;

    // The switches as this load read them from the command line.
    CommandLineSwitches m_switches;
    // Set while the window unloads to make way for the settings dialog: that unload does not end the
    // program.
    bool m_switchingWindow = false;

    QMenu* m_menDatei = nullptr;
    QAction* m_menNorda = nullptr;
    QAction* m_menEnde = nullptr;
    QMenu* m_menEinstellungen = nullptr;
    QAction* m_menKonfiguration = nullptr;
    QMenu* m_menLanguage = nullptr;
    QAction* m_menGerman = nullptr;
    QAction* m_menEnglish = nullptr;
    QAction* m_menTschechisch = nullptr;
    QAction* m_menSpanisch = nullptr;
    QAction* m_menFrench = nullptr;
    QAction* m_menPort = nullptr;
    QAction* m_menItalien = nullptr;
    QMenu* m_menHilfe = nullptr;
    QAction* m_menInfo = nullptr;

    QPushButton* m_startButton = nullptr;
    QPushButton* m_endButton = nullptr;
    QLabel* m_programCaption = nullptr;
    QLabel* m_programName = nullptr;
    QGroupBox* m_progressFrame = nullptr;
    QLabel* m_progressLabel = nullptr;
    QProgressBar* m_progressBar = nullptr;

    std::unique_ptr<MessageBoxes> m_messages;
    std::unique_ptr<ProgressWidgets> m_progress;
};

} // namespace app
