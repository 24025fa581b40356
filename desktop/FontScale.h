#pragma once

#include <QFont>
#include <QtMath>

namespace ui {

// A font of the same family, larger or smaller by the factor; works for fonts sized in points and
// in pixels alike.
inline QFont scaledFont(QFont font, qreal factor, bool bold = false)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * factor);
    else if (font.pixelSize() > 0)
        font.setPixelSize(qMax(1, qRound(font.pixelSize() * factor)));
    font.setBold(bold);
    return font;
}

} // namespace ui
