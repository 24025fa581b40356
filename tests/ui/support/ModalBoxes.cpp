#include "ModalBoxes.h"

#include <QAbstractButton>
#include <QApplication>

namespace ui_testing {

ModalBoxes::ModalBoxes(std::function<void(const Box&)> onBox) : m_onBox(std::move(onBox))
{
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, &ModalBoxes::poll);
    m_timer.start();
}

QStringList ModalBoxes::texts() const
{
    QStringList texts;
    for (const Box& box : m_seen)
        texts.append(box.text);
    return texts;
}

void ModalBoxes::poll()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    const Box seen{box->text(), box->icon(), box->windowTitle(), box->windowModality() == Qt::ApplicationModal};
    m_seen.push_back(seen);
    if (m_onBox)
        m_onBox(seen);
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->reject();
}

} // namespace ui_testing
