#include "frm_About.h"

#include "Artwork.h"
#include "FontScale.h"
#include "PlainLabel.h"
#include "QtText.h"

#include "config/LanguageTexts.h"
#include "config/ProgramVersion.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {
namespace {

QLabel* wrappingLabel(QWidget* parent, const char* name)
{
    QLabel* label = plainLabel(parent, name);
    label->setWordWrap(true);
    return label;
}

} // namespace

frm_About::frm_About(const config::LanguageTexts& texts, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_texts(texts)
{
    setObjectName(QStringLiteral("frm_About"));
    setWindowIcon(programIcon());
    createWidgets();
    Form_Load();
}

void frm_About::createWidgets()
{
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(aboutPicture(*this));
    m_picture->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    m_title = wrappingLabel(this, "lblTitle");
    m_title->setFont(scaledFont(m_title->font(), 1.4, true));
    m_version = wrappingLabel(this, "lblVersion");
    m_description = wrappingLabel(this, "lblDescription");
    m_info = wrappingLabel(this, "lblInfo");
    m_info->setForegroundRole(QPalette::PlaceholderText);

    // The one caption that is the same in every language.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(96);
    connect(m_ok, &QPushButton::clicked, this, &frm_About::cmdOK_Click);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(8);
    texts->addWidget(m_title);
    texts->addWidget(m_version);
    texts->addSpacing(8);
    texts->addWidget(m_description);
    texts->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(m_picture, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_info, 1);
    bottom->addSpacing(16);
    bottom->addWidget(m_ok, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 16);
    layout->setSpacing(14);
    layout->addLayout(top);
    layout->addWidget(line);
    layout->addLayout(bottom);
    setFixedWidth(560);
}

void frm_About::Form_Load()
{
    setWindowTitle(qtText(m_texts.line(67)));
    m_version->setText(qtText(m_texts.line(69) + " " + config::kProgramVersion));
    m_title->setText(qtText(m_texts.line(68)));
    m_description->setText(qtText(m_texts.line(70)));
    m_info->setText(qtText(m_texts.line(71)));
}

void frm_About::cmdOK_Click()
{
    close();
}

void frm_About::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

} // namespace ui
