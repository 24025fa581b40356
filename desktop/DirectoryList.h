#pragma once

#include <QString>
#include <QTreeWidget>

namespace ui {

// The directory list of the settings dialog: the current directory with the directories above it,
// open, and the ones inside it below. Opening an entry (double click or Enter) makes it current.
class DirectoryList final : public QTreeWidget {
    Q_OBJECT

public:
    explicit DirectoryList(QWidget* parent = nullptr);

    // The current directory in the system's notation.
    QString path() const { return m_path; }
    // Makes a directory current. False, with nothing changed, when it does not exist or cannot be
    // read. Emits pathChanged only when the current directory really changes.
    bool setPath(const QString& path);

signals:
    void pathChanged(const QString& path);

protected:
    // Every entry is open and none can be folded: no branch handles.
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}

private:
    void fill(const QString& path);
    void openEntry(QTreeWidgetItem* item);

    QString m_path;
};

} // namespace ui
