#pragma once

class QWidget;

namespace ui {

// Sizes a top-level window to its content and puts it in the middle of the screen it is on.
void centreOnScreen(QWidget& window);

} // namespace ui
