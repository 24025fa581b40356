#pragma once

class QLabel;
class QWidget;

namespace ui {

// A label that shows its text as it is: texts from the language file or the measuring application
// are never taken for rich text.
QLabel* plainLabel(QWidget* parent, const char* name);

} // namespace ui
