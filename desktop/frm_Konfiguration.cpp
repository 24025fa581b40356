#include "frm_Konfiguration.h"

#include "Artwork.h"
#include "DirectoryList.h"
#include "DriveList.h"
#include "QtText.h"

#include "MessageBoxes.h"
#include "config/LanguageTexts.h"
#include "config/SettingKeys.h"
#include "config/SettingsStore.h"
#include "platform/TextChecks.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace ui {
namespace {

namespace key = config::setting;

// "chk_ÄnderungInFileName", spelt in UTF-8 bytes so that the source file's encoding cannot change it.
constexpr const char* kRevisionBoxName = "chk_\xC3\x84nderungInFileName";

// A stored flag as a check-box state: a whole number 0, 1 or 2, blanks around it allowed. 2, the
// grey state of a box, counts as checked, as it does for the main window. Anything else is no state.
std::optional<bool> checkedState(std::string_view text)
{
    text = config::trimBlanksAndTabs(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int number = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < 0 || number > 2)
        return std::nullopt;
    return number != 0;
}

} // namespace

frm_Konfiguration::frm_Konfiguration(config::SettingsStore& settings, const config::LanguageTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_settings(settings)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("frm_Konfiguration"));
    setWindowIcon(programIcon());
    createWidgets();
    connectSignals();
    Form_Load();
}

QCheckBox* frm_Konfiguration::addCheckBox(const char* name)
{
    auto* box = new QCheckBox(m_optionsFrame);
    box->setObjectName(QString::fromUtf8(name));
    m_optionsFrame->layout()->addWidget(box);
    return box;
}

void frm_Konfiguration::createWidgets()
{
    m_directoryFrame = new QGroupBox(this);
    m_directoryFrame->setObjectName(QStringLiteral("Frame_1"));
    m_drives = new DriveList(m_directoryFrame);
    m_drives->setObjectName(QStringLiteral("Drive_DFQ"));
    m_directories = new DirectoryList(m_directoryFrame);
    m_directories->setObjectName(QStringLiteral("Dir_DFQ"));
    m_directories->setMinimumHeight(170);
    m_directoryCaption = new QLabel(m_directoryFrame);
    m_directoryCaption->setObjectName(QStringLiteral("Lbl_1"));
    m_directoryCaption->setTextFormat(Qt::PlainText);
    m_directory = new QLabel(m_directoryFrame);
    m_directory->setObjectName(QStringLiteral("Label_Verzeichnis"));
    m_directory->setTextFormat(Qt::PlainText);
    m_directory->setWordWrap(true);
    m_directory->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont directoryFont = m_directory->font();
    directoryFont.setBold(true);
    m_directory->setFont(directoryFont);

    auto* directoryLayout = new QVBoxLayout(m_directoryFrame);
    directoryLayout->addWidget(m_drives);
    directoryLayout->addWidget(m_directories, 1);
    directoryLayout->addWidget(m_directoryCaption);
    directoryLayout->addWidget(m_directory);

    m_optionsFrame = new QGroupBox(this);
    m_optionsFrame->setObjectName(QStringLiteral("Frame_2"));
    auto* optionsLayout = new QVBoxLayout(m_optionsFrame);
    optionsLayout->setSpacing(6);
    m_kommentare = addCheckBox("Chk_Kommentare");
    m_dfq = addCheckBox("Chk_DFQ");
    m_singleFile = addCheckBox("chk_SingleFile");
    m_kurzDateiname = addCheckBox("Chk_kurz_Dateiname");
    m_positionsachsen = addCheckBox("Chk_Positionsachsen");
    m_nordaPos = addCheckBox("chkNordaPos");
    m_progVerz = addCheckBox("chk_ProgVerz");
    m_serienNr = addCheckBox("Chk_Serien_Nr");
    m_aenderungInFileName = addCheckBox(kRevisionBoxName);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(110);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setMinimumWidth(110);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(14, 14, 14, 14);
    layout->setSpacing(12);
    layout->addWidget(m_directoryFrame, 1);
    layout->addWidget(m_optionsFrame);
    layout->addLayout(buttons);
    setMinimumWidth(480);

    // Before any setting is read the lists show the directory the program was started in.
    m_directories->setPath(QDir::currentPath());
    m_drives->setCurrentIndex(m_drives->findText(m_drives->driveOf(m_directories->path())));
    m_directory->setText(m_directories->path());
}

void frm_Konfiguration::connectSignals()
{
    connect(m_ok, &QPushButton::clicked, this, &frm_Konfiguration::OKButton_Click);
    connect(m_cancel, &QPushButton::clicked, this, &frm_Konfiguration::CancelButton_Click);
    connect(m_drives, &QComboBox::currentIndexChanged, this, &frm_Konfiguration::Drive_DFQ_Change);
    connect(m_directories, &DirectoryList::pathChanged, this, &frm_Konfiguration::Dir_DFQ_Change);
    // Every rule runs whenever its box changes state, by a click, by another rule or by loading.
    connect(m_aenderungInFileName, &QCheckBox::toggled, this, &frm_Konfiguration::chk_AenderungInFileName_Click);
    connect(m_kurzDateiname, &QCheckBox::toggled, this, &frm_Konfiguration::Chk_kurz_Dateiname_Click);
    connect(m_singleFile, &QCheckBox::toggled, this, &frm_Konfiguration::chk_SingleFile_Click);
    connect(m_positionsachsen, &QCheckBox::toggled, this, &frm_Konfiguration::Chk_Positionsachsen_Click);
    connect(m_nordaPos, &QCheckBox::toggled, this, &frm_Konfiguration::chkNordaPos_Click);
}

void frm_Konfiguration::Form_Load()
{
    const auto text = [this](int line) { return qtText(m_texts.line(line)); };
    setWindowTitle(text(74));
    m_directoryFrame->setTitle(text(75));
    m_directoryCaption->setText(text(76));
    m_optionsFrame->setTitle(text(77));
    m_kommentare->setText(text(78));
    m_dfq->setText(text(79));
    m_serienNr->setText(text(80));
    m_kurzDateiname->setText(text(81));
    m_positionsachsen->setText(text(82));
    m_ok->setText(text(83));
    m_cancel->setText(text(84));
    m_progVerz->setText(text(85));
    m_aenderungInFileName->setText(text(87));
    m_singleFile->setText(text(86));
    m_nordaPos->setText(text(88));

    LoadDialogSettings();

    m_directory->update();
    m_drives->update();
}

void frm_Konfiguration::LoadDialogSettings()
{
    const auto read = [this](std::string_view name, std::string_view defaultValue) {
        return m_settings.ReadSetting(key::kApplication, key::kSection, name, defaultValue);
    };
    // A value that cannot be applied is skipped and the control keeps its state.
    m_drives->selectDrive(qtText(read(key::kDrive, "C:\\")));
    m_directories->setPath(qtText(read(key::kDir, "C:\\")));

    const std::pair<std::string_view, QCheckBox*> flags[] = {
        {key::kKommentare, m_kommentare},       {key::kDfq, m_dfq},
        {key::kSeriennummer, m_serienNr},       {key::kNamenslaenge, m_kurzDateiname},
        {key::kPosAchse, m_positionsachsen},    {key::kProgVerz, m_progVerz},
        {key::kVersionInFileName, m_aenderungInFileName}, {key::kSingleFile, m_singleFile},
        {key::kNordaPos, m_nordaPos},
    };
    for (const auto& [name, box] : flags) {
        if (const std::optional<bool> checked = checkedState(read(name, key::kFlagOff)))
            box->setChecked(*checked);
    }
}

void frm_Konfiguration::SaveDialogSettings()
{
    const auto write = [this](std::string_view name, const std::string& value) {
        m_settings.WriteSetting(key::kApplication, key::kSection, name, value);
    };
    const auto flag = [](const QCheckBox* box) { return std::string(box->isChecked() ? key::kFlagOn : key::kFlagOff); };
    write(key::kDrive, utf8Text(m_drives->drive()));
    write(key::kDir, utf8Text(m_directories->path()));
    write(key::kKommentare, flag(m_kommentare));
    write(key::kDfq, flag(m_dfq));
    write(key::kSeriennummer, flag(m_serienNr));
    write(key::kNamenslaenge, flag(m_kurzDateiname));
    write(key::kPosAchse, flag(m_positionsachsen));
    write(key::kProgVerz, flag(m_progVerz));
    write(key::kVersionInFileName, flag(m_aenderungInFileName));
    write(key::kSingleFile, flag(m_singleFile));
    write(key::kNordaPos, flag(m_nordaPos));
}

void frm_Konfiguration::OKButton_Click()
{
    try {
        SaveDialogSettings();
    } catch (const std::exception& error) {
        // The dialog stays open, so the operator can try again or cancel.
        app::MessageBoxes(this, m_texts).show(error.what(), kfield::MessageIcon::Critical);
        return;
    }
    finish();
}

void frm_Konfiguration::CancelButton_Click()
{
    LoadDialogSettings();
    finish();
}

void frm_Konfiguration::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (m_finished)
        return;
    // The close box is Cancel.
    LoadDialogSettings();
    m_finished = true;
    emit closed();
}

void frm_Konfiguration::finish()
{
    m_finished = true;
    close();
    emit closed();
}

void frm_Konfiguration::Drive_DFQ_Change()
{
    if (m_directories->setPath(m_drives->currentDirectory()))
        return;
    // A drive whose directories cannot be read: stay with the directory chosen before.
    const QSignalBlocker blocker(m_drives);
    m_drives->setCurrentIndex(m_drives->findText(m_drives->driveOf(m_directories->path())));
}

void frm_Konfiguration::Dir_DFQ_Change()
{
    m_directory->setText(m_directories->path());
}

// The rules read every box afresh: when one rule changes another box, the rule of that box runs
// inside it, and a state passed in by the signal would be out of date afterwards.

void frm_Konfiguration::chk_AenderungInFileName_Click()
{
    if (m_kurzDateiname->isChecked())
        m_aenderungInFileName->setChecked(false);
}

void frm_Konfiguration::Chk_kurz_Dateiname_Click()
{
    m_aenderungInFileName->setChecked(false);
    m_singleFile->setChecked(false);
}

void frm_Konfiguration::chk_SingleFile_Click()
{
    m_kurzDateiname->setChecked(false);
}

void frm_Konfiguration::Chk_Positionsachsen_Click()
{
    if (m_nordaPos->isChecked())
        m_positionsachsen->setChecked(true);
}

void frm_Konfiguration::chkNordaPos_Click()
{
    if (m_nordaPos->isChecked())
        m_positionsachsen->setChecked(true);
}

} // namespace ui
