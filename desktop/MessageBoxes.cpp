#include "MessageBoxes.h"

#include "config/LanguageTexts.h"
#include "QtText.h"

#include <QMessageBox>

namespace app {
namespace {

constexpr int kProductName = 1;

QMessageBox::Icon boxIcon(kfield::MessageIcon icon)
{
    switch (icon) {
    case kfield::MessageIcon::Information: return QMessageBox::Information;
    case kfield::MessageIcon::Critical: return QMessageBox::Critical;
    case kfield::MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

void showBox(QWidget* parent, const QString& title, const std::string& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, title, ui::qtText(text), QMessageBox::Ok, parent);
    // A message quotes part-program names and paths: never let "<" start rich text.
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace

void MessageBoxes::show(const std::string& text, kfield::MessageIcon icon)
{
    showBox(m_parent, ui::qtText(m_texts.line(kProductName)), text, boxIcon(icon));
}

void showStartFailure(const std::string& text)
{
    showBox(nullptr, QStringLiteral("Norda converter"), text, QMessageBox::Critical);
}

} // namespace app
