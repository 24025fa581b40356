#include "DirectoryList.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

QTreeWidgetItem* entry(const QString& name, const QString& path, const QIcon& icon)
{
    auto* item = new QTreeWidgetItem(QStringList(name));
    item->setData(0, kPathRole, path);
    item->setIcon(0, icon);
    item->setToolTip(0, QDir::toNativeSeparators(path));
    return item;
}

} // namespace

DirectoryList::DirectoryList(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(14);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemActivated, this, &DirectoryList::openEntry);
}

bool DirectoryList::setPath(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isDir() || !info.isReadable() || !QDir(info.absoluteFilePath()).isReadable())
        return false;
    const QString cleaned = QDir::toNativeSeparators(QDir::cleanPath(info.absoluteFilePath()));
    if (cleaned == m_path)
        return true;
    fill(QDir::cleanPath(info.absoluteFilePath()));
    m_path = cleaned;
    emit pathChanged(m_path);
    return true;
}

void DirectoryList::fill(const QString& path)
{
    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);

    // The chain from the root down to the current directory, each one open inside the one above.
    QStringList chain;
    for (QDir dir(path);; ) {
        chain.prepend(dir.absolutePath());
        if (dir.isRoot() || !dir.cdUp())
            break;
    }
    QTreeWidgetItem* parent = nullptr;
    for (const QString& directory : chain) {
        const QString name = QDir(directory).isRoot() ? QDir::toNativeSeparators(directory) : QFileInfo(directory).fileName();
        QTreeWidgetItem* item = entry(name, directory, openIcon);
        if (parent)
            parent->addChild(item);
        else
            addTopLevelItem(item);
        item->setExpanded(true);
        parent = item;
    }
    QTreeWidgetItem* current = parent;

    const QDir dir(path);
    const QStringList children = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& child : children)
        current->addChild(entry(child, dir.absoluteFilePath(child), closedIcon));
    current->setExpanded(true);
    setCurrentItem(current);
    scrollToItem(current, QAbstractItemView::PositionAtTop);
}

void DirectoryList::openEntry(QTreeWidgetItem* item)
{
    // A directory that cannot be read keeps the current one.
    if (item)
        setPath(item->data(0, kPathRole).toString());
}

} // namespace ui
