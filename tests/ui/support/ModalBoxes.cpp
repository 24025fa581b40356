#include "ModalBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QMetaEnum>

namespace ui_testing {

ModalBoxes::ModalBoxes()
{
    m_timer.callOnTimeout(this, &ModalBoxes::poll);
    m_timer.start(5);
}

void ModalBoxes::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    const char* icon = QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon());
    const QString modality = box->windowModality() == Qt::ApplicationModal ? QString() : QStringLiteral(" not application-modal");
    m_seen.append(QStringLiteral("%1 %2: %3 [%4]%5").arg(QLatin1String(icon), box->windowTitle(), box->text(), visibleWindows(), modality));
    box->button(QMessageBox::Ok)->click();
}

QString visibleWindows()
{
    QStringList names;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && !qobject_cast<QMessageBox*>(window))
            names.append(window->objectName());
    names.sort();
    return names.join(QLatin1Char(' '));
}

} // namespace ui_testing
