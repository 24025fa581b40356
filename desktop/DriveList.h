#pragma once

#include <QComboBox>
#include <QStringList>

namespace ui {

// The drives to choose from: on Windows the drive letters, on other systems the roots of the
// mounted volumes. The current drive is the text of the selected entry.
class DriveList final : public QComboBox {
    Q_OBJECT

public:
    explicit DriveList(QWidget* parent = nullptr);

    QString drive() const { return currentText(); }
    // Selects the drive that the text names, in the form this list reports, as "C:\" or as
    // "c: [SYSTEM]"; false, with the selection unchanged, when no such drive is present.
    bool selectDrive(const QString& text);
    // Where the directory list goes when this drive is chosen: the drive letter's current directory
    // on Windows, the volume's root elsewhere.
    QString currentDirectory() const;
    // The drive a path lies on: the longest drive root it begins with; empty when there is none.
    QString driveOf(const QString& path) const;

    // The roots of the mounted volumes that are directories, "/" first; never empty.
    static QStringList driveRoots();
};

} // namespace ui
