#pragma once

#include <QIcon>
#include <QPixmap>

class QWidget;

// The program's own pictures, from the resources built into it.
namespace ui {

// The icon of every window, in sizes from 16 to 256 pixels.
QIcon programIcon();

// The picture of the start-up window, sharp at the device pixel ratio of the widget that shows it.
QPixmap startUpPicture(const QWidget& widget);

// The picture of the About window, likewise.
QPixmap aboutPicture(const QWidget& widget);

} // namespace ui
