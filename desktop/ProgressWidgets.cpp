#include "ProgressWidgets.h"

#include "QtText.h"

#include <QLabel>
#include <QProgressBar>

#include <algorithm>

namespace app {

ProgressWidgets::ProgressWidgets(QProgressBar& bar, QLabel& label, std::chrono::milliseconds paintInterval)
    : m_bar(bar)
    , m_label(label)
    , m_paintInterval(paintInterval)
{
}

void ProgressWidgets::show(const std::string& caption, int maximum)
{
    m_maximum = maximum;
    // A range of 0 to 0 would turn the bar into a busy indicator; a part program without commands
    // shows an empty bar instead.
    m_bar.setRange(0, std::max(maximum, 1));
    m_bar.setValue(0);
    m_label.setText(ui::qtText(caption));
    m_label.show();
    m_label.repaint();
    m_bar.show();
    m_bar.repaint();
    m_sinceBarUpdate.start();
}

void ProgressWidgets::setValue(int value)
{
    const bool isLast = value >= m_maximum;
    if (!isLast && m_sinceBarUpdate.isValid() && m_sinceBarUpdate.elapsed() < m_paintInterval.count())
        return;
    // The bar repaints itself at once when the new value changes what it shows.
    m_bar.setValue(std::min(value, m_bar.maximum()));
    m_sinceBarUpdate.start();
}

void ProgressWidgets::hide()
{
    m_label.clear();
    m_label.hide();
    m_bar.hide();
    // Nothing processes the window's events during a run: paint the place they leave now.
    if (QWidget* area = m_bar.parentWidget())
        area->repaint();
}

} // namespace app
