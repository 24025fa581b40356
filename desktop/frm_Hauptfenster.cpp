#include "frm_Hauptfenster.h"

#include "DesktopEnvironment.h"
#include "LanguageSwitch.h"
#include "MainWindowHost.h"
#include "MessageBoxes.h"
#include "ProgressWidgets.h"

#include "config/LanguageTexts.h"
#include "config/MainWindowSettings.h"
#include "config/ProgramVersion.h"
#include "config/TextLines.h"
#include "config/mdl_Sprache_Laden.h"
#include "Artwork.h"
#include "PlainLabel.h"
#include "QtText.h"
#include "WindowPlacement.h"
#include "frm_About.h"

#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace app {
namespace {

QAction* namedAction(QMenu* menu, const char* name)
{
    QAction* action = menu->addAction(QString());
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu* namedMenu(QMenu* parent, QMenuBar* bar, const char* name)
{
    QMenu* menu = parent ? parent->addMenu(QString()) : bar->addMenu(QString());
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

void nameSeparator(QMenu* menu, const char* name)
{
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}

// A hidden progress bar or label keeps its place, so showing it during a run needs no new layout:
// the window processes no events until the run is over.
void keepPlaceWhenHidden(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

} // namespace

frm_Hauptfenster::frm_Hauptfenster(ConversionRun& run, config::LanguageTexts& texts,
                                   const DesktopEnvironment& environment, MainWindowHost& host)
    : m_run(run)
    , m_texts(texts)
    , m_environment(environment)
    , m_host(host)
{
    setObjectName(QStringLiteral("frm_Hauptfenster"));
    setWindowIcon(ui::programIcon());
    createMenus();
    createWidgets();
    connectSignals();
    m_messages = std::make_unique<MessageBoxes>(this, m_texts);
    m_progress = std::make_unique<ProgressWidgets>(*m_progressBar, *m_progressLabel);
}

frm_Hauptfenster::~frm_Hauptfenster() = default;

void frm_Hauptfenster::createMenus()
{
    QMenuBar* bar = menuBar();
    m_menDatei = namedMenu(nullptr, bar, "menDatei");
    m_menNorda = namedAction(m_menDatei, "menNorda");
    nameSeparator(m_menDatei, "Trennlinie1");
    m_menEnde = namedAction(m_menDatei, "menEnde");

    m_menEinstellungen = namedMenu(nullptr, bar, "menEinstellungen");
    m_menKonfiguration = namedAction(m_menEinstellungen, "menKonfiguration");
    nameSeparator(m_menEinstellungen, "Trennlinie3");
    m_menLanguage = namedMenu(m_menEinstellungen, bar, "menLanguage");
    m_menGerman = namedAction(m_menLanguage, "menGerman");
    m_menEnglish = namedAction(m_menLanguage, "menEnglish");
    m_menTschechisch = namedAction(m_menLanguage, "menTschechisch");
    m_menSpanisch = namedAction(m_menLanguage, "menSpanisch");
    m_menFrench = namedAction(m_menLanguage, "menFrench");
    m_menPort = namedAction(m_menLanguage, "menPort");
    m_menItalien = namedAction(m_menLanguage, "menItalien");

    m_menHilfe = namedMenu(nullptr, bar, "menHilfe");
    m_menInfo = namedAction(m_menHilfe, "menInfo");
}

void frm_Hauptfenster::createWidgets()
{
    auto* central = new QWidget(this);

    auto* programFrame = new QGroupBox(central);
    programFrame->setObjectName(QStringLiteral("Frame_Programm"));
    m_programCaption = ui::plainLabel(programFrame, "Lbl_Prog_Name");
    m_programName = ui::plainLabel(programFrame, "Lbl_VELTRUM_NAME");
    QFont nameFont = m_programName->font();
    nameFont.setBold(true);
    m_programName->setFont(nameFont);
    m_programName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_startButton = new QPushButton(programFrame);
    m_startButton->setObjectName(QStringLiteral("cmd_Start_Konvertierung"));
    m_startButton->setDefault(true);
    m_startButton->setMinimumSize(160, 34);
    m_endButton = new QPushButton(programFrame);
    m_endButton->setObjectName(QStringLiteral("cmd_Ende"));
    m_endButton->setMinimumSize(110, 34);

    auto* names = new QHBoxLayout;
    names->addWidget(m_programCaption);
    names->addWidget(m_programName, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_startButton);
    buttons->addStretch(1);
    buttons->addWidget(m_endButton);
    auto* programLayout = new QVBoxLayout(programFrame);
    programLayout->setContentsMargins(14, 12, 14, 12);
    programLayout->setSpacing(14);
    programLayout->addLayout(names);
    programLayout->addLayout(buttons);

    m_progressFrame = new QGroupBox(central);
    m_progressFrame->setObjectName(QStringLiteral("Frame_Fortschritt"));
    m_progressLabel = ui::plainLabel(m_progressFrame, "Lbl_Fortschritt");
    m_progressBar = new QProgressBar(m_progressFrame);
    m_progressBar->setObjectName(QStringLiteral("ProgressBar1"));
    keepPlaceWhenHidden(m_progressLabel);
    keepPlaceWhenHidden(m_progressBar);
    auto* progressLayout = new QVBoxLayout(m_progressFrame);
    progressLayout->setContentsMargins(14, 10, 14, 12);
    progressLayout->addWidget(m_progressLabel);
    progressLayout->addWidget(m_progressBar);

    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(programFrame);
    layout->addWidget(m_progressFrame);
    setCentralWidget(central);
    setMinimumWidth(460);
}

void frm_Hauptfenster::connectSignals()
{
    connect(m_startButton, &QPushButton::clicked, this, &frm_Hauptfenster::cmd_Start_Konvertierung_Click);
    connect(m_endButton, &QPushButton::clicked, this, &frm_Hauptfenster::cmd_Ende_Click);
    connect(m_menNorda, &QAction::triggered, this, &frm_Hauptfenster::menNorda_Click);
    connect(m_menEnde, &QAction::triggered, this, &frm_Hauptfenster::menEnde_Click);
    connect(m_menKonfiguration, &QAction::triggered, this, &frm_Hauptfenster::menKonfiguration_Click);
    connect(m_menInfo, &QAction::triggered, this, &frm_Hauptfenster::menInfo_Click);
    connect(m_menGerman, &QAction::triggered, this, &frm_Hauptfenster::menGerman_Click);
    connect(m_menEnglish, &QAction::triggered, this, &frm_Hauptfenster::menEnglish_Click);
    connect(m_menTschechisch, &QAction::triggered, this, &frm_Hauptfenster::menTschechisch_Click);
    connect(m_menSpanisch, &QAction::triggered, this, &frm_Hauptfenster::menSpanisch_Click);
    connect(m_menFrench, &QAction::triggered, this, &frm_Hauptfenster::menFrench_Click);
    connect(m_menPort, &QAction::triggered, this, &frm_Hauptfenster::menPort_Click);
    connect(m_menItalien, &QAction::triggered, this, &frm_Hauptfenster::menItalien_Click);
}

void frm_Hauptfenster::setCaptions()
{
    const auto text = [this](int line) { return ui::qtText(m_texts.line(line)); };
    setWindowTitle(ui::qtText(m_texts.line(6) + " " + config::kProgramVersion));
    m_startButton->setText(text(8));
    m_endButton->setText(text(9));
    m_programCaption->setText(text(7));
    m_progressLabel->clear();

    m_menDatei->setTitle(text(13));
    m_menNorda->setText(text(14));
    m_menEnde->setText(text(15));
    m_menEinstellungen->setTitle(text(16));
    m_menKonfiguration->setText(text(25));
    m_menLanguage->setTitle(text(17));
    m_menGerman->setText(text(18));
    m_menEnglish->setText(text(19));
    m_menTschechisch->setText(text(20));
    m_menSpanisch->setText(text(21));
    m_menFrench->setText(text(24));
    m_menPort->setText(text(23));
    m_menItalien->setText(text(22));
    m_menHilfe->setTitle(text(26));
    m_menInfo->setText(text(28));
}

RunServices frm_Hauptfenster::runServices()
{
    return {m_texts, m_environment.regional, m_environment.codePage, m_environment.files, m_environment.locks, *m_messages,
            *m_progress, *this, m_environment.connector, m_environment.clock};
}

void frm_Hauptfenster::Form_Load()
{
    setCaptions();
    if (!isVisible())
        ui::centreOnScreen(*this);
    show();
    repaint();

    m_switches = evaluateCommandLine(m_environment.argumentText);

    m_run.Settings = config::readMainWindowSettings(m_environment.settings);

    m_progressBar->hide();
    m_progressLabel->hide();
    repaint();

    m_switchingWindow = false;
    m_run.ConnectToApplication(runServices());
    showPartProgramName(m_run.PartProgramName);

    if (m_switches.AutoStart)
        cmd_Start_Konvertierung_Click();
}

void frm_Hauptfenster::showPartProgramName(const std::string& name)
{
    m_programName->setText(ui::qtText(name));
    // A run does not return to the event loop before it ends: paint the name now.
    m_programName->repaint();
}

void frm_Hauptfenster::cmd_Start_Konvertierung_Click()
{
    const RunResult result = m_run.start(runServices());
    if (m_switches.EndAfterRun && result.reachedValues())
        m_host.endProgram(result.outcome == RunOutcome::ValuesWritten ? 0 : 1);
}

void frm_Hauptfenster::menNorda_Click()
{
    cmd_Start_Konvertierung_Click();
}

void frm_Hauptfenster::cmd_Ende_Click()
{
    m_host.endProgram(0);
}

void frm_Hauptfenster::menEnde_Click()
{
    m_host.endProgram(0);
}

void frm_Hauptfenster::closeEvent(QCloseEvent* event)
{
    event->accept();
    Form_Unload();
}

void frm_Hauptfenster::Form_Unload()
{
    if (!m_switchingWindow)
        m_host.endProgram(0);
}

void frm_Hauptfenster::menKonfiguration_Click()
{
    m_switchingWindow = true;
    close();
    m_host.openSettingsDialog();
}

void frm_Hauptfenster::menInfo_Click()
{
    hide();
    // A window of its own that goes with the main window at the latest.
    auto* about = new ui::frm_About(m_texts, this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    connect(about, &ui::frm_About::closed, this, &frm_Hauptfenster::aboutWindowClosed);
    ui::centreOnScreen(*about);
    about->show();
}

void frm_Hauptfenster::aboutWindowClosed()
{
    show();
}

void frm_Hauptfenster::LoadLanguage(std::string_view language)
{
    try {
        if (installLanguageFile(m_environment.files, m_environment.programDirectory, language, m_environment.codePage) ==
            LanguageInstall::FileMissing) {
            m_messages->show(m_texts.line(config::textline::kLanguageFileMissing), kfield::MessageIcon::Information);
            return;
        }
        config::LoadResourceTexts(m_texts, m_environment.programDirectory, m_environment.codePage);
    } catch (const std::exception& error) {
        m_messages->show(error.what(), kfield::MessageIcon::Critical);
        return;
    }
    Form_Load();
}

void frm_Hauptfenster::menGerman_Click()
{
    LoadLanguage("German");
}

void frm_Hauptfenster::menEnglish_Click()
{
    LoadLanguage("English");
}

void frm_Hauptfenster::menTschechisch_Click()
{
    LoadLanguage("Czech");
}

void frm_Hauptfenster::menSpanisch_Click()
{
    LoadLanguage("Spanish");
}

void frm_Hauptfenster::menFrench_Click()
{
    LoadLanguage("French");
}

void frm_Hauptfenster::menPort_Click()
{
    LoadLanguage("Portuguese");
}

void frm_Hauptfenster::menItalien_Click()
{
    LoadLanguage("Italian");
}

} // namespace app
