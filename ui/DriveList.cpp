#include "DriveList.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>

#include <algorithm>

namespace ui {
namespace {

// "C:\", "c:", "C:/" and "/mnt/data/" name the same drive as "C:/" and "/mnt/data".
QString comparable(const QString& text)
{
    QString path = QDir::fromNativeSeparators(text.trimmed());
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1String(":/")))
        path.chop(1);
    if (path.size() == 2 && path.at(1) == QLatin1Char(':'))
        path += QLatin1Char('/');
#ifdef Q_OS_WIN
    path = path.toLower();
#endif
    return path;
}

bool isInside(const QString& path, const QString& root)
{
    if (!path.startsWith(root))
        return false;
    return path.size() == root.size() || root.endsWith(QLatin1Char('/')) || path.at(root.size()) == QLatin1Char('/');
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent)
{
    addItems(driveRoots());
}

QStringList DriveList::driveRoots()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Containers bind single files such as /etc/hosts: only directories can hold transfer files.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir())
            roots.append(QDir::toNativeSeparators(volume.rootPath()));
    }
    // Some containers report no volume at all.
    if (roots.isEmpty()) {
        for (const QFileInfo& drive : QDir::drives())
            roots.append(QDir::toNativeSeparators(drive.absoluteFilePath()));
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return roots;
}

bool DriveList::selectDrive(const QString& text)
{
    const QString wanted = comparable(text);
    for (int index = 0; index < count(); ++index) {
        if (comparable(itemText(index)) == wanted) {
            setCurrentIndex(index);
            return true;
        }
    }
    return false;
}

QString DriveList::driveOf(const QString& path) const
{
    const QString target = comparable(path);
    QString best;
    for (int index = 0; index < count(); ++index) {
        const QString root = comparable(itemText(index));
        if (isInside(target, root) && root.size() > comparable(best).size())
            best = itemText(index);
    }
    return best;
}

} // namespace ui
