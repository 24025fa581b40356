#pragma once

#include <QWidget>

class QCheckBox;
class QCloseEvent;
class QGroupBox;
class QLabel;
class QPushButton;

namespace config {
class LanguageTexts;
class SettingsStore;
} // namespace config

namespace ui {

class DirectoryList;
class DriveList;

// The settings dialog: the directory for the transfer files and nine options, with the rules that
// keep the options consistent. An ordinary window, not modal; OK writes all eleven settings, Cancel
// and the close box write nothing. Closing it in any of the three ways says so through closed().
class frm_Konfiguration final : public QWidget {
    Q_OBJECT

public:
    frm_Konfiguration(config::SettingsStore& settings, const config::LanguageTexts& texts, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createWidgets();
    void connectSignals();
    void Form_Load();
    // Fills the controls from the store; a value that cannot be applied is skipped.
    void LoadDialogSettings();
    // Writes the eleven settings from the controls. Throws config::PlatformError when the store fails.
    void SaveDialogSettings();
    QCheckBox* addCheckBox(const char* name);
    void finish();

    void OKButton_Click();
    void CancelButton_Click();
    void Drive_DFQ_Change();
    void Dir_DFQ_Change();
    void chk_AenderungInFileName_Click();
    void Chk_kurz_Dateiname_Click();
    void chk_SingleFile_Click();
    void Chk_Positionsachsen_Click();
    void chkNordaPos_Click();

    config::SettingsStore& m_settings;
    const config::LanguageTexts& m_texts;
    bool m_finished = false;

    QGroupBox* m_directoryFrame = nullptr;
    DriveList* m_drives = nullptr;
    DirectoryList* m_directories = nullptr;
    QLabel* m_directoryCaption = nullptr;
    QLabel* m_directory = nullptr;
    QGroupBox* m_optionsFrame = nullptr;
    QCheckBox* m_kommentare = nullptr;
    QCheckBox* m_dfq = nullptr;
    QCheckBox* m_singleFile = nullptr;
    QCheckBox* m_kurzDateiname = nullptr;
    QCheckBox* m_positionsachsen = nullptr;
    QCheckBox* m_nordaPos = nullptr;
    QCheckBox* m_progVerz = nullptr;
    QCheckBox* m_serienNr = nullptr;
    QCheckBox* m_aenderungInFileName = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace ui
