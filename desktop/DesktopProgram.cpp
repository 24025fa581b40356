#include "DesktopProgram.h"

#include "MessageBoxes.h"
#include "frm_Hauptfenster.h"
#include "frm_Start.h"

#include "config/mdl_Sprache_Laden.h"
#include "WindowPlacement.h"
#include "frm_Konfiguration.h"

#include <QWidget>

namespace app {

DesktopProgram::DesktopProgram(DesktopEnvironment environment, ProgramEnd end)
    : m_environment(std::move(environment))
    , m_end(std::move(end))
{
}

DesktopProgram::~DesktopProgram()
{
    // Retired windows whose deletion the event loop has not reached yet.
    for (const QPointer<QWidget>& window : m_retired)
        delete window.data();
}

bool DesktopProgram::start()
{
    m_startUpWindow = std::make_unique<frm_Start>(m_texts, m_environment);
    try {
        m_startUpWindow->Form_Load();
    } catch (const config::LanguageFileError& error) {
        m_startUpWindow.reset();
        showStartFailure(error.what());
        return false;
    }
    connect(m_startUpWindow.get(), &frm_Start::unloaded, this, &DesktopProgram::startUpWindowUnloaded);
    m_startUpWindow->show();
    return true;
}

void DesktopProgram::startUpWindowUnloaded()
{
    retire(std::move(m_startUpWindow));
    loadMainWindow();
}

void DesktopProgram::loadMainWindow()
{
    m_mainWindow = std::make_unique<frm_Hauptfenster>(m_run, m_texts, m_environment, *this);
    m_mainWindow->Form_Load();
}

void DesktopProgram::openSettingsDialog()
{
    retire(std::move(m_mainWindow));
    m_settingsDialog = std::make_unique<ui::frm_Konfiguration>(m_environment.settings, m_texts);
    connect(m_settingsDialog.get(), &ui::frm_Konfiguration::closed, this, &DesktopProgram::settingsDialogClosed);
    ui::centreOnScreen(*m_settingsDialog);
    m_settingsDialog->show();
}

void DesktopProgram::settingsDialogClosed()
{
    retire(std::move(m_settingsDialog));
    loadMainWindow();
}

void DesktopProgram::endProgram(int exitCode)
{
    m_end(exitCode);
}

void DesktopProgram::retire(std::unique_ptr<QWidget> window)
{
    if (!window)
        return;
    window->hide();
    // deleteLater waits for the handler to return even when a message box opens in between.
    QWidget* retired = window.release();
    retired->deleteLater();
    std::erase_if(m_retired, [](const QPointer<QWidget>& gone) { return gone.isNull(); });
    m_retired.emplace_back(retired);
}

} // namespace app
