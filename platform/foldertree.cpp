#include "platform/foldertree.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStyle>
#include <memory>

namespace platform {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kListedRole = Qt::UserRole + 2;

const QString kNewFolder = QStringLiteral("Neuer Ordner");
constexpr int kMostNewFolders = 9999;

QString childPath(const QString& folder, const QString& name) {
    return folder == QLatin1String("/") ? folder + name : folder + QLatin1Char('/') + name;
}

// Whether path is folder itself or lies below it.
bool isWithin(const QString& path, const QString& folder) {
    if (folder == QLatin1String("/"))
        return path.startsWith(QLatin1Char('/'));
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

bool isPlainName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") &&
           name != QLatin1String("..");
}

} // namespace

FolderTree::FolderTree(bool includeFiles, QWidget* parent)
    : QTreeWidget(parent), m_includeFiles(includeFiles) {
    setColumnCount(1);
    setHeaderHidden(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, &FolderTree::populate);
    connect(this, &QTreeWidget::itemChanged, this, &FolderTree::onItemChanged);
}

FolderTree::Kind FolderTree::kind(const QTreeWidgetItem* item) {
    return item ? Kind(item->data(0, kKindRole).toInt()) : Kind::Placeholder;
}

QString FolderTree::itemPath(const QTreeWidgetItem* item) {
    return item ? item->data(0, kPathRole).toString() : QString();
}

bool FolderTree::isDesktop(const QTreeWidgetItem* item) {
    return kind(item) == Kind::Desktop;
}

bool FolderTree::isFolder(const QTreeWidgetItem* item) {
    return kind(item) == Kind::Folder;
}

int FolderTree::entryFilters() const {
    QDir::Filters filters = QDir::Dirs | QDir::NoDotAndDotDot;
    if (m_includeFiles)
        filters |= QDir::Files;
    return int(filters);
}

bool FolderTree::hasEntries(const QString& path) const {
    QDirIterator it(path, QDir::Filters(entryFilters()));
    return it.hasNext();
}

std::unique_ptr<QTreeWidgetItem> FolderTree::newItem(const QString& path, const QString& label,
                                                     Kind kind) const {
    auto item = std::make_unique<QTreeWidgetItem>(QStringList{label});
    item->setData(0, kPathRole, path);
    item->setData(0, kKindRole, int(kind));
    QStyle::StandardPixmap icon = QStyle::SP_DirIcon;
    if (kind == Kind::Desktop)
        icon = QStyle::SP_DesktopIcon;
    else if (kind == Kind::File)
        icon = QStyle::SP_FileIcon;
    else if (path == QLatin1String("/"))
        icon = QStyle::SP_DriveHDIcon;
    else if (path == QDir::homePath())
        icon = QStyle::SP_DirHomeIcon;
    if (kind != Kind::Placeholder)
        item->setIcon(0, style()->standardIcon(icon));
    if (kind == Kind::Folder && hasEntries(path))
        item->addChild(std::make_unique<QTreeWidgetItem>().release()); // the placeholder
    return item;
}

void FolderTree::setDesktopRoot() {
    clear();
    auto desktop = newItem(QString(), QStringLiteral("Desktop"), Kind::Desktop);
    desktop->setData(0, kListedRole, true);
    desktop->addChild(
        newItem(QDir::homePath(), QStringLiteral("Persönlicher Ordner"), Kind::Folder).release());
    desktop->addChild(newItem(QStringLiteral("/"), QStringLiteral("/"), Kind::Folder).release());
    QTreeWidgetItem* const top = desktop.get();
    addTopLevelItem(desktop.release());
    top->setExpanded(true);
    setCurrentItem(top);
}

void FolderTree::setFolderRoot(const QString& path) {
    clear();
    const QString label = path == QLatin1String("/") ? path : QFileInfo(path).fileName();
    auto root = newItem(path, label, Kind::Folder);
    QTreeWidgetItem* const top = root.get();
    addTopLevelItem(root.release());
    top->setExpanded(true);
    setCurrentItem(top);
}

void FolderTree::populate(QTreeWidgetItem* item) {
    if (kind(item) != Kind::Folder || item->data(0, kListedRole).toBool())
        return;
    item->setData(0, kListedRole, true);
    qDeleteAll(item->takeChildren());
    const QString path = itemPath(item);
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::Filters(entryFilters()), QDir::Name | QDir::IgnoreCase | QDir::DirsFirst);
    QList<QTreeWidgetItem*> children; // handed to the tree in one go, just below
    children.reserve(entries.size());
    for (const QFileInfo& entry : entries)
        children.append(newItem(childPath(path, entry.fileName()), entry.fileName(),
                                entry.isDir() ? Kind::Folder : Kind::File)
                            .release());
    item->addChildren(children);
}

QTreeWidgetItem* FolderTree::findPath(const QString& path) {
    QTreeWidgetItem* top = topLevelItem(0);
    if (!top)
        return nullptr;
    if (path.isEmpty())
        return isDesktop(top) ? top : nullptr;

    // The branch to walk down: the home folder before "/" under the Desktop.
    QTreeWidgetItem* item = nullptr;
    if (isDesktop(top)) {
        for (int i = 0; i < top->childCount() && !item; ++i)
            if (isWithin(path, itemPath(top->child(i))))
                item = top->child(i);
    } else if (isWithin(path, itemPath(top))) {
        item = top;
    }
    if (!item)
        return nullptr;

    QString at = itemPath(item);
    const QString rest = path.mid(at == QLatin1String("/") ? 1 : at.size() + 1);
    for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        populate(item);
        const QString wanted = childPath(at, name);
        QTreeWidgetItem* next = nullptr;
        for (int i = 0; i < item->childCount() && !next; ++i)
            if (itemPath(item->child(i)) == wanted)
                next = item->child(i);
        if (!next)
            return nullptr;
        item = next;
        at = wanted;
    }
    return item;
}

void FolderTree::showItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    for (QTreeWidgetItem* up = item->parent(); up; up = up->parent())
        up->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
}

void FolderTree::insertSorted(QTreeWidgetItem* parentItem, std::unique_ptr<QTreeWidgetItem> child) {
    const auto before = [&child](const QTreeWidgetItem* other) {
        if (kind(other) != kind(child.get()))
            return kind(other) == Kind::Folder;
        return other->text(0).compare(child->text(0), Qt::CaseInsensitive) <= 0;
    };
    int at = 0;
    while (at < parentItem->childCount() && before(parentItem->child(at)))
        ++at;
    parentItem->insertChild(at, child.release());
}

QTreeWidgetItem* FolderTree::createFolder(QTreeWidgetItem* parentItem) {
    if (!isFolder(parentItem))
        return nullptr;
    const QString folder = itemPath(parentItem);
    QDir dir(folder);
    QString name = kNewFolder;
    for (int n = 2; dir.exists(name) && n <= kMostNewFolders; ++n)
        name = QStringLiteral("%1 (%2)").arg(kNewFolder).arg(n);
    if (dir.exists(name) || !dir.mkdir(name))
        return nullptr;

    const QString path = childPath(folder, name);
    if (parentItem->data(0, kListedRole).toBool())
        insertSorted(parentItem, newItem(path, name, Kind::Folder));
    else
        populate(parentItem);
    for (int i = 0; i < parentItem->childCount(); ++i)
        if (itemPath(parentItem->child(i)) == path)
            return parentItem->child(i);
    return nullptr;
}

void FolderTree::renameItem(QTreeWidgetItem* item) {
    if (kind(item) != Kind::Folder && kind(item) != Kind::File)
        return;
    item->setFlags(item->flags() | Qt::ItemIsEditable); // before m_renaming: this reports a change
    m_renaming = item;
    editItem(item, 0);
}

void FolderTree::onItemChanged(QTreeWidgetItem* item, int column) {
    if (!item || item != m_renaming || column != 0)
        return;
    m_renaming = nullptr;
    bool renamed = false;
    {
        const QSignalBlocker quiet(this);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QFileInfo old(itemPath(item));
        const QString name = item->text(0).trimmed();
        QDir dir = old.dir();
        if (name == old.fileName() || !isPlainName(name) || dir.exists(name) ||
            !dir.rename(old.fileName(), name)) {
            item->setText(0, old.fileName());
        } else {
            item->setText(0, name);
            item->setData(0, kPathRole, childPath(dir.path(), name));
            renamed = true;
        }
    }
    if (renamed)
        emit itemRenamed(item);
}

void FolderTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (m_renaming) { // left without a change
        const QSignalBlocker quiet(this);
        m_renaming->setFlags(m_renaming->flags() & ~Qt::ItemIsEditable);
        m_renaming = nullptr;
    }
}

} // namespace platform
