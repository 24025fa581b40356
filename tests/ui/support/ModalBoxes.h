#pragma once

#include <functional>
#include <vector>

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace ui_testing {

// Answers the modal message boxes that come up while it exists and remembers what they said. Arm
// it before the action that opens them: a box that nobody closes would hang the test.
class ModalBoxes final : public QObject {
public:
    struct Box {
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        bool isApplicationModal = false;
    };

    // onBox runs while the box is open, before it is answered: a look at the windows behind it.
    explicit ModalBoxes(std::function<void(const Box&)> onBox = {});

    const std::vector<Box>& seen() const { return m_seen; }
    QStringList texts() const;

private:
    void poll();

    std::function<void(const Box&)> m_onBox;
    std::vector<Box> m_seen;
    QTimer m_timer;
};

} // namespace ui_testing
