#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <utility>

namespace ui_testing {

// Answers the modal message boxes that come up while it exists and describes each as
// "<icon> <title>: <text> [<the windows visible behind it>]", followed by " not application-modal" for
// a box that lets the operator use other windows. Arm it before the action that opens them: a box
// that nobody closes would hang the test.
class ModalBoxes final : public QObject {
public:
    ModalBoxes();

    // The boxes seen since the last call, in order.
    QStringList take() { return std::exchange(m_seen, {}); }

private:
    void poll();

    QStringList m_seen;
    QTimer m_timer;
};

// The object names of the visible windows, message boxes left out, sorted and joined by blanks.
QString visibleWindows();

} // namespace ui_testing
