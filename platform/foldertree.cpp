#include "platform/foldertree.h"

#include "platform/shell.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <algorithm>
#include <memory>

namespace platform {

namespace {

constexpr int kPathRole = Qt::UserRole;
constexpr int kKindRole = Qt::UserRole + 1;
constexpr int kListedRole = Qt::UserRole + 2;
constexpr int kRawPathRole = Qt::UserRole + 3; // the path's bytes
constexpr int kUnusableRole = Qt::UserRole + 4;
constexpr int kHasVisibleRole = Qt::UserRole + 5;
constexpr int kHasHiddenRole = Qt::UserRole + 6;
constexpr int kPendingRole = Qt::UserRole + 7; // a listing is on its way

// How long a search waits for each folder on its way.
constexpr std::chrono::milliseconds kSearchBudget(2000);

const QString kNewFolder = QStringLiteral("Neuer Ordner");
const QString kReading = QStringLiteral("Wird gelesen …");
constexpr int kMostNewFolders = 9999;

QString childPath(const QString& folder, const QString& name) {
    return folder == QLatin1String("/") ? folder + name : folder + QLatin1Char('/') + name;
}

QByteArray childRawPath(const QByteArray& folder, const QByteArray& name) {
    return folder == "/" ? folder + name : folder + '/' + name;
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

// Renames the entry from to to in dir; what stood in the way, or nothing.
QString renameEntry(QDir& dir, const QString& from, const QString& to) {
    if (!isPlainName(to))
        return QStringLiteral("„%1“ ist kein gültiger Ordnername.").arg(to);
    if (dir.exists(to))
        return QStringLiteral("„%1“ gibt es hier schon.").arg(to);
    if (!dir.rename(from, to))
        return QStringLiteral("Der Ordner konnte nicht in „%1“ umbenannt werden.").arg(to);
    return {};
}

QByteArray rawPathOf(const QTreeWidgetItem* item) {
    const QVariant raw = item->data(0, kRawPathRole);
    return raw.isValid() ? raw.toByteArray() : FolderTree::itemPath(item).toLocal8Bit();
}

} // namespace

FolderTree::FolderTree(bool includeFiles, QWidget* parent)
    : QTreeWidget(parent), m_includeFiles(includeFiles) {
    setColumnCount(1);
    setHeaderHidden(true);
    // Names wider than the tree get a horizontal scroll bar instead of being cut off.
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { populate(item, m_expandBudget); });
    connect(this, &QTreeWidget::itemChanged, this, &FolderTree::onItemChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &FolderTree::relist);
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

bool FolderTree::isUsable(const QTreeWidgetItem* item) {
    return item && !item->data(0, kUnusableRole).toBool();
}

// Looked up once: a style's icon lookup can ask the icon theme on disk every time.
QIcon FolderTree::iconFor(const QString& path, Kind kind) const {
    QStyle::StandardPixmap icon = QStyle::SP_DirIcon;
    if (kind == Kind::Desktop)
        icon = QStyle::SP_DesktopIcon;
    else if (kind == Kind::File)
        icon = QStyle::SP_FileIcon;
    else if (path == QLatin1String("/"))
        icon = QStyle::SP_DriveHDIcon;
    else if (path == QDir::homePath())
        icon = QStyle::SP_DirHomeIcon;
    auto found = m_icons.find(int(icon));
    if (found == m_icons.end())
        found = m_icons.insert(int(icon), style()->standardIcon(icon));
    return *found;
}

std::unique_ptr<QTreeWidgetItem> FolderTree::newItem(const QString& path, const QString& label,
                                                     Kind kind) const {
    auto item = std::make_unique<QTreeWidgetItem>(QStringList{label});
    item->setData(0, kPathRole, path);
    item->setData(0, kKindRole, int(kind));
    item->setToolTip(0, kind == Kind::Desktop ? label : path);
    if (kind != Kind::Placeholder)
        item->setIcon(0, iconFor(path, kind));
    return item;
}

std::unique_ptr<QTreeWidgetItem> FolderTree::entryItem(const QTreeWidgetItem* parentItem,
                                                       const FolderEntry& entry) const {
    const QString path = childPath(itemPath(parentItem), entry.name);
    auto item = newItem(path, entry.name, entry.isDir ? Kind::Folder : Kind::File);
    item->setData(0, kRawPathRole, childRawPath(rawPathOf(parentItem), entry.rawName));
    item->setData(0, kHasVisibleRole, entry.hasVisible);
    item->setData(0, kHasHiddenRole, entry.hasHidden);
    if (!isUsable(parentItem) || !entry.nameRoundTrips()) {
        item->setData(0, kUnusableRole, true);
        item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
        item->setToolTip(0, path + QStringLiteral("\nDer Name ist kein gültiger Text; der Ordner "
                                                  "kann nicht geöffnet werden."));
    } else {
        updatePlaceholder(item.get());
    }
    return item;
}

// Gives an unlisted folder its placeholder child when it has entries to show, or takes it.
void FolderTree::updatePlaceholder(QTreeWidgetItem* item) const {
    if (kind(item) != Kind::Folder || item->data(0, kListedRole).toBool() || !isUsable(item))
        return;
    const bool expandable = item->data(0, kHasVisibleRole).toBool() ||
                            (m_showHidden && item->data(0, kHasHiddenRole).toBool());
    if (expandable && item->childCount() == 0)
        item->addChild(newItem(QString(), QString(), Kind::Placeholder).release());
    else if (!expandable && item->childCount() > 0)
        qDeleteAll(item->takeChildren());
}

void FolderTree::setDesktopRoot(const QList<Place>& places) {
    clear();
    m_listings.clear();
    auto desktop = newItem(QString(), QStringLiteral("Desktop"), Kind::Desktop);
    desktop->setData(0, kListedRole, true);
    QTreeWidgetItem* const top = desktop.get();
    addTopLevelItem(desktop.release());
    addPlaces({{QDir::homePath(), QStringLiteral("Persönlicher Ordner")},
               {QStringLiteral("/"), QStringLiteral("/")}});
    addPlaces(places);
    top->setExpanded(true);
    setCurrentItem(top);
}

void FolderTree::addPlaces(const QList<Place>& places) {
    QTreeWidgetItem* const top = topLevelItem(0);
    if (!isDesktop(top))
        return;
    for (const Place& place : places) {
        auto item = newItem(place.path, place.label, Kind::Folder);
        item->setData(0, kHasVisibleRole, true); // read when opened
        updatePlaceholder(item.get());
        top->addChild(item.release());
    }
}

void FolderTree::setFolderRoot(const QString& path) {
    clear();
    m_listings.clear();
    const QString label = path == QLatin1String("/") ? path : QFileInfo(path).fileName();
    auto root = newItem(path, label, Kind::Folder);
    QTreeWidgetItem* const top = root.get();
    addTopLevelItem(root.release());
    populate(top, kSearchBudget);
    top->setExpanded(true);
    setCurrentItem(top);
}

void FolderTree::populate(QTreeWidgetItem* item, std::chrono::milliseconds budget) {
    if (kind(item) != Kind::Folder || !isUsable(item))
        return;
    if (item->data(0, kListedRole).toBool() && !item->data(0, kPendingRole).toBool())
        return;
    item->setData(0, kListedRole, true);
    const PendingListing pending(rawPathOf(item), m_includeFiles);
    if (pending.waitFor(budget)) {
        apply(item, pending.future().result());
        return;
    }
    if (!item->data(0, kPendingRole).toBool()) {
        item->setData(0, kPendingRole, true);
        qDeleteAll(item->takeChildren());
        auto reading = newItem(QString(), kReading, Kind::Placeholder);
        reading->setFlags(Qt::NoItemFlags);
        item->addChild(reading.release());
    }
    const QString path = itemPath(item);
    pending.whenDone(*this, [this, path](const FolderListing& listing) {
        QTreeWidgetItem* const at = walk(path, false);
        if (at && at->data(0, kPendingRole).toBool())
            apply(at, listing);
    });
}

void FolderTree::relist(const QString& path) {
    QTreeWidgetItem* item = walk(path, false);
    if (!item || !item->data(0, kListedRole).toBool())
        return;
    const PendingListing pending(rawPathOf(item), m_includeFiles);
    pending.whenDone(*this, [this, path](const FolderListing& listing) {
        if (QTreeWidgetItem* const at = walk(path, false); at && at->data(0, kListedRole).toBool())
            apply(at, listing);
    });
}

bool FolderTree::wanted(const QString& path, bool hidden) const {
    return !hidden || m_showHidden ||
           std::any_of(m_revealed.cbegin(), m_revealed.cend(),
                       [&path](const QString& revealed) { return isWithin(revealed, path); });
}

// Brings an item's children in line with a listing: items that stay keep their own children,
// their expansion and the selection.
void FolderTree::apply(QTreeWidgetItem* item, const FolderListing& listing) {
    item->setData(0, kPendingRole, false);
    item->setData(0, kListedRole, true);
    const QString path = itemPath(item);
    m_listings.insert(path, listing);
    if (listing.readable && !m_watcher.directories().contains(path))
        m_watcher.addPath(path);

    std::vector<const FolderEntry*> shown;
    shown.reserve(listing.entries.size());
    for (const FolderEntry& entry : listing.entries)
        if (wanted(childPath(path, entry.name), entry.hidden))
            shown.push_back(&entry);

    const QByteArray folder = rawPathOf(item);
    QHash<QByteArray, const FolderEntry*> keep;
    for (const FolderEntry* entry : shown)
        keep.insert(childRawPath(folder, entry->rawName), entry);

    // A selection inside an entry that is going away moves to the folder first: the dialog
    // hears of it and may act on the tree, so that happens before anything below is taken.
    for (QTreeWidgetItem* up = currentItem(); up && up != item; up = up->parent()) {
        if (up->parent() == item && kind(up) != Kind::Placeholder &&
            !keep.contains(rawPathOf(up))) {
            setCurrentItem(item);
            break;
        }
    }

    QHash<QByteArray, QTreeWidgetItem*> present;
    for (int i = item->childCount() - 1; i >= 0; --i) {
        QTreeWidgetItem* child = item->child(i);
        if (kind(child) == Kind::Placeholder) {
            delete item->takeChild(i);
        } else if (!keep.contains(rawPathOf(child))) {
            if (m_renaming == child)
                m_renaming = nullptr;
            delete item->takeChild(i);
        } else {
            present.insert(rawPathOf(child), child);
        }
    }

    if (item->childCount() == 0) { // the common case: all new, handed over in one go
        QList<QTreeWidgetItem*> children;
        children.reserve(qsizetype(shown.size()));
        for (const FolderEntry* entry : shown)
            children.append(entryItem(item, *entry).release());
        item->addChildren(children);
        return;
    }
    // Items that stay keep their place; new ones go in after their listed neighbour.
    int at = 0;
    for (const FolderEntry* entry : shown) {
        if (QTreeWidgetItem* child = present.value(childRawPath(folder, entry->rawName))) {
            child->setData(0, kHasVisibleRole, entry->hasVisible);
            child->setData(0, kHasHiddenRole, entry->hasHidden);
            updatePlaceholder(child);
            at = item->indexOfChild(child) + 1;
        } else {
            item->insertChild(at++, entryItem(item, *entry).release());
        }
    }
}

void FolderTree::setShowHidden(bool show) {
    if (show == m_showHidden)
        return;
    m_showHidden = show;
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < topLevelItemCount(); ++i)
        items.append(topLevelItem(i));
    while (!items.isEmpty()) {
        QTreeWidgetItem* item = items.takeLast();
        const QString path = itemPath(item);
        if (kind(item) == Kind::Folder && m_listings.contains(path) &&
            !item->data(0, kPendingRole).toBool())
            apply(item, m_listings.value(path));
        else
            updatePlaceholder(item);
        for (int i = 0; i < item->childCount(); ++i)
            items.append(item->child(i));
    }
}

QTreeWidgetItem* FolderTree::findPath(const QString& path) {
    if (!path.isEmpty() && !m_revealed.contains(path))
        m_revealed.append(path);
    return walk(path, true);
}

// The item of a path; with list, folders on the way are listed (waiting for each), without,
// only what the tree holds already is looked at.
QTreeWidgetItem* FolderTree::walk(const QString& path, bool list) {
    QTreeWidgetItem* top = topLevelItem(0);
    if (!top)
        return nullptr;
    if (path.isEmpty())
        return isDesktop(top) ? top : nullptr;

    // The branch to walk down: the innermost top folder that holds the path.
    QTreeWidgetItem* item = nullptr;
    if (isDesktop(top)) {
        for (int i = 0; i < top->childCount(); ++i) {
            QTreeWidgetItem* candidate = top->child(i);
            if (isWithin(path, itemPath(candidate)) &&
                (!item || itemPath(candidate).size() > itemPath(item).size()))
                item = candidate;
        }
    } else if (isWithin(path, itemPath(top))) {
        item = top;
    }
    if (!item)
        return nullptr;

    QString at = itemPath(item);
    const QString rest = path.mid(at == QLatin1String("/") ? 1 : at.size() + 1);
    const auto childAt = [](const QTreeWidgetItem* folder, const QString& wanted) {
        for (int i = 0; i < folder->childCount(); ++i)
            if (itemPath(folder->child(i)) == wanted && kind(folder->child(i)) != Kind::Placeholder)
                return folder->child(i);
        return static_cast<QTreeWidgetItem*>(nullptr);
    };
    for (const QString& name : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const QString wanted = childPath(at, name);
        if (list)
            populate(item, kSearchBudget);
        QTreeWidgetItem* next = childAt(item, wanted);
        if (!next && list && m_listings.contains(at) && !item->data(0, kPendingRole).toBool()) {
            apply(item, m_listings.value(at)); // shows a hidden folder on the way
            next = childAt(item, wanted);
        }
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
    scrollTo(indexFromItem(item)); // scrollToItem would pass this class's scrolling by
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
    if (!isFolder(parentItem) || !isUsable(parentItem))
        return nullptr;
    const QString folder = itemPath(parentItem);
    QDir dir(folder);
    QString name = kNewFolder;
    for (int n = 2; dir.exists(name) && n <= kMostNewFolders; ++n)
        name = QStringLiteral("%1 (%2)").arg(kNewFolder).arg(n);
    if (dir.exists(name) || !dir.mkdir(name))
        return nullptr;

    const QString path = childPath(folder, name);
    if (!parentItem->data(0, kListedRole).toBool() || parentItem->data(0, kPendingRole).toBool())
        populate(parentItem, kSearchBudget);
    for (int i = 0; i < parentItem->childCount(); ++i)
        if (itemPath(parentItem->child(i)) == path)
            return parentItem->child(i);
    FolderEntry entry;
    entry.rawName = name.toLocal8Bit();
    entry.name = name;
    entry.isDir = true;
    entry.hidden = name.startsWith(QLatin1Char('.'));
    auto item = entryItem(parentItem, entry);
    QTreeWidgetItem* const made = item.get();
    insertSorted(parentItem, std::move(item));
    return made;
}

void FolderTree::renameItem(QTreeWidgetItem* item) {
    if ((kind(item) != Kind::Folder && kind(item) != Kind::File) || !isUsable(item) ||
        !item->parent() || isDesktop(item->parent()))
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
    QString refusal;
    {
        const QSignalBlocker quiet(this);
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        const QFileInfo old(itemPath(item));
        const QString name = item->text(0).trimmed();
        QDir dir = old.dir();
        const bool asked = !name.isEmpty() && name != old.fileName();
        refusal = asked ? renameEntry(dir, old.fileName(), name) : QString();
        renamed = asked && refusal.isEmpty();
        if (!renamed) {
            item->setText(0, old.fileName());
        } else {
            const QString path = childPath(dir.path(), name);
            item->setText(0, name);
            item->setData(0, kPathRole, path);
            item->setData(0, kRawPathRole, path.toLocal8Bit());
            item->setToolTip(0, path);
        }
    }
    if (renamed)
        emit itemRenamed(item);
    else if (!refusal.isEmpty())
        emit renameRefused(refusal);
}

void FolderTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeWidget::closeEditor(editor, hint);
    if (m_renaming) { // left without a change
        const QSignalBlocker quiet(this);
        m_renaming->setFlags(m_renaming->flags() & ~Qt::ItemIsEditable);
        m_renaming = nullptr;
    }
}

// A name wider than the tree is shown from its start (and one level of its folder), not
// scrolled to its end; while the start of the item shows, the view does not move sideways.
void FolderTree::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* const sideways = horizontalScrollBar();
    const int before = sideways->value();
    QTreeWidget::scrollTo(index, hint);
    sideways->setValue(before);
    const int start = visualRect(index).left();
    if (index.isValid() && (start < 0 || start > viewport()->width() * 2 / 3))
        sideways->setValue(before + start - indentation());
}

// The one column is as wide as its widest name, and never narrower than the tree, so that the
// selection spans the whole row.
void FolderTree::updateGeometries() {
    if (header()->minimumSectionSize() != viewport()->width())
        header()->setMinimumSectionSize(viewport()->width());
    QTreeWidget::updateGeometries();
}

void FolderTree::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        renameItem(currentItem());
        return;
    }
    if (state() != EditingState &&
        (event->text() == QLatin1String("/") || event->text() == QLatin1String("~"))) {
        emit locationTyped(event->text());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

} // namespace platform
