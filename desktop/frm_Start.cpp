#include "frm_Start.h"

#include "CommandLineSwitches.h"
#include "DesktopEnvironment.h"

#include "config/LanguageTexts.h"
#include "config/ProgramVersion.h"
#include "config/mdl_Sprache_Laden.h"
#include "Artwork.h"
#include "FontScale.h"
#include "PlainLabel.h"
#include "QtText.h"
#include "WindowPlacement.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

namespace app {

frm_Start::frm_Start(config::LanguageTexts& texts, const DesktopEnvironment& environment, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
    , m_texts(texts)
    , m_environment(environment)
{
    setObjectName(QStringLiteral("frm_Start"));
    setWindowIcon(ui::programIcon());
    createWidgets();
}

void frm_Start::createWidgets()
{
    m_frame = new QFrame(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFrameShape(QFrame::Box);
    m_frame->setFrameShadow(QFrame::Sunken);

    m_picture = new QLabel(m_frame);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(ui::startUpPicture(*this));
    m_picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_productName = ui::plainLabel(m_frame, "lblProductName");
    m_productName->setFont(ui::scaledFont(font(), 1.7, true));
    m_productName->setWordWrap(true);
    m_version = ui::plainLabel(m_frame, "lblVersion");
    m_version->setFont(ui::scaledFont(font(), 1.15));
    m_company = ui::plainLabel(m_frame, "lblCompany");
    m_company->setWordWrap(true);
    // The first and only element of the warning labels.
    m_warning = ui::plainLabel(m_frame, "lblWarning");
    m_warning->setWordWrap(true);
    m_warning->setFont(ui::scaledFont(font(), 0.85));
    m_warning->setForegroundRole(QPalette::PlaceholderText);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(m_productName);
    texts->addWidget(m_version);
    texts->addSpacing(12);
    texts->addWidget(m_company);
    texts->addStretch(1);
    texts->addWidget(m_warning);

    auto* content = new QHBoxLayout(m_frame);
    content->setContentsMargins(20, 20, 24, 20);
    content->setSpacing(24);
    content->addWidget(m_picture, 0, Qt::AlignTop);
    content->addLayout(texts, 1);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->addWidget(m_frame);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setSingleShot(true);
    // The coarse default may fire up to 5 % early; the start-up window stays its full time.
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, &frm_Start::Timer1_Timer);

    setFixedWidth(600);
}

void frm_Start::Form_Load()
{
    // The texts first: no caption of any window is set before they are there.
    config::LoadResourceTexts(m_texts, m_environment.programDirectory, m_environment.codePage);

    m_version->setText(ui::qtText(m_texts.line(2) + " " + config::kProgramVersion));
    m_productName->setText(ui::qtText(m_texts.line(1)));
    m_company->setText(ui::qtText(m_texts.line(3)));
    m_warning->setText(ui::qtText(m_texts.line(4)));
    ui::centreOnScreen(*this);

    m_timer->setInterval(startUpWindowDuration(m_environment.argumentText));
    m_timer->start();
}

void frm_Start::Timer1_Timer()
{
    close();
    emit unloaded();
}

} // namespace app
