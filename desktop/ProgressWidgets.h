#pragma once

#include <chrono>
#include <string>

#include <QElapsedTimer>

#include "kfield/ProgressDisplay.h"

class QLabel;
class QProgressBar;

namespace app {

// The main window's progress bar and progress label. The walks set the value once per command; the
// bar takes a new value at most once per paint interval, so a run of many thousand commands is not
// slowed down by painting. The last value, the caption and the hiding reach the screen at once.
class ProgressWidgets final : public kfield::ProgressDisplay {
public:
    static constexpr std::chrono::milliseconds kPaintInterval{30};

    ProgressWidgets(QProgressBar& bar, QLabel& label, std::chrono::milliseconds paintInterval = kPaintInterval);

    void show(const std::string& caption, int maximum) override;
    void setValue(int value) override;
    void hide() override;

private:
    QProgressBar& m_bar;
    QLabel& m_label;
    std::chrono::milliseconds m_paintInterval;
    QElapsedTimer m_sinceBarUpdate;
    int m_maximum = 0;
};

} // namespace app
