#include "DriveList.h"

#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>

namespace ui {
namespace {

// A drive letter alone: "C:", "C:\" or "C:/".
bool isDriveLetter(const QString& text)
{
    static const QRegularExpression kDriveLetter(QStringLiteral("^[A-Za-z]:[\\\\/]?$"));
    return kDriveLetter.match(text).hasMatch();
}

// "C:\", "c:", "C:/", "c: [SYSTEM]" (a drive list's entry with its volume label, as older
// installations stored it) and "/mnt/data/" name the same drive as "C:/" and "/mnt/data".
QString comparable(const QString& text)
{
    static const QRegularExpression kLabelled(QStringLiteral("^([A-Za-z]:)\\s*\\[.*\\]$"));
    const QRegularExpressionMatch labelled = kLabelled.match(text.trimmed());
    QString path = labelled.hasMatch() ? labelled.captured(1) : text.trimmed();
    // A drive letter reads the same on every system, whatever its case and its slashes.
    if (path.size() >= 2 && path.at(0).isLetter() && path.at(1) == QLatin1Char(':')) {
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        path[0] = path.at(0).toUpper();
    }
    path = QDir::fromNativeSeparators(path);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')) && !path.endsWith(QLatin1String(":/")))
        path.chop(1);
    if (path.size() == 2 && path.at(1) == QLatin1Char(':'))
        path += QLatin1Char('/');
    if constexpr (platform::kFileNamesIgnoreCase)
        path = path.toLower();
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

QString DriveList::currentDirectory() const
{
    // Windows keeps a current directory for every drive letter, and "X:" names it; elsewhere a
    // volume's root is where the list starts.
    const QString drive = this->drive();
    return isDriveLetter(drive) ? QDir::toNativeSeparators(QFileInfo(drive.left(2)).absoluteFilePath()) : drive;
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
