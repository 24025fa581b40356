#include "Artwork.h"

#include <QWidget>

namespace ui {
namespace {

// The resources hold each picture at three times its size on screen, so it stays sharp up to 300 %.
QPixmap scaledPicture(const QString& resource, QSize logicalSize, qreal devicePixelRatio)
{
    QPixmap picture(resource);
    if (picture.isNull())
        return picture;
    QPixmap scaled = picture.scaled(logicalSize * devicePixelRatio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    scaled.setDevicePixelRatio(devicePixelRatio);
    return scaled;
}

} // namespace

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/norda/icon-%1.png").arg(size), QSize(size, size));
    return icon;
}

QPixmap startUpPicture(const QWidget& widget)
{
    return scaledPicture(QStringLiteral(":/norda/start-up.png"), QSize(176, 176), widget.devicePixelRatioF());
}

QPixmap aboutPicture(const QWidget& widget)
{
    return scaledPicture(QStringLiteral(":/norda/about.png"), QSize(96, 96), widget.devicePixelRatioF());
}

} // namespace ui
