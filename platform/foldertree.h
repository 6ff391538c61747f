// The tree of the folder dialog: folders (and, on request, files) read from disk in the
// background (folderlisting.h). A folder's entries are listed when it is first expanded or
// searched; until then a folder that has entries carries a placeholder child so that its
// expand arrow shows. A small folder is there at once; a large or slow one shows "Wird
// gelesen …" and fills in when its listing arrives, while the dialog goes on answering input.
// Listed folders follow changes on disk. Folders come before files, each sorted without
// regard to case.
//
// Hidden entries (names that start with '.') are left out unless shown with setShowHidden;
// the folders on the way to a path that was searched for stay listed either way. A name that
// is no valid text is listed with replacement characters and marked unusable: the program
// cannot open it by the name it shows.
//
// The root is either the virtual Desktop, which holds the home folder ("Persönlicher Ordner"),
// the file-system root "/" and the places (places.h), or one folder.
#pragma once

#include "platform/folderlisting.h"
#include "platform/places.h"

#include <QFileSystemWatcher>
#include <QHash>
#include <QIcon>
#include <QTreeWidget>
#include <chrono>
#include <memory>

namespace platform {

class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    FolderTree(bool includeFiles, QWidget* parent = nullptr);

    // Fills the tree with its root item, expanded, and makes the root the current item.
    void setDesktopRoot(const QList<Place>& places = {});
    void setFolderRoot(const QString& path);
    // Adds places under the Desktop, after those it has.
    void addPlaces(const QList<Place>& places);

    // The item of an absolute, clean path ("" for the Desktop), listing folders on the way
    // down (hidden ones too); nullptr when the tree does not hold it.
    QTreeWidgetItem* findPath(const QString& path);

    // Makes an item current: its ancestors are expanded and it is scrolled into view.
    void showItem(QTreeWidgetItem* item);

    // Scrolls an item into view; a name wider than the tree shows from its start.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    // How long expanding a folder may wait for its listing before it goes on in the
    // background ("Wird gelesen …"); 100 ms unless set.
    void setExpandBudget(std::chrono::milliseconds budget) { m_expandBudget = budget; }

    bool showHidden() const { return m_showHidden; }
    void setShowHidden(bool show);

    // Creates "Neuer Ordner" ("Neuer Ordner (2)", ...) in the folder of an item and gives
    // its new item, or nullptr when the folder could not be made.
    QTreeWidgetItem* createFolder(QTreeWidgetItem* parentItem);

    // Starts editing an item's name; a changed name renames the entry on disk. The Desktop,
    // the places and unusable names cannot be renamed.
    void renameItem(QTreeWidgetItem* item);

    static QString itemPath(const QTreeWidgetItem* item); // "" for the Desktop
    static bool isDesktop(const QTreeWidgetItem* item);
    static bool isFolder(const QTreeWidgetItem* item);
    // Whether the program can open the item by its path (false for names that are no text).
    static bool isUsable(const QTreeWidgetItem* item);

signals:
    // An item's entry was renamed on disk; its path has changed.
    void itemRenamed(QTreeWidgetItem* item);
    // A new name was not taken; why, in a sentence for the user.
    void renameRefused(const QString& reason);
    // A key that starts a typed path ("/" or "~") was pressed in the tree.
    void locationTyped(const QString& text);

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void keyPressEvent(QKeyEvent* event) override;
    void updateGeometries() override;

private:
    enum class Kind { Desktop, Folder, File, Placeholder };

    std::unique_ptr<QTreeWidgetItem> newItem(const QString& path, const QString& label,
                                             Kind kind) const;
    std::unique_ptr<QTreeWidgetItem> entryItem(const QTreeWidgetItem* parentItem,
                                               const FolderEntry& entry) const;
    void populate(QTreeWidgetItem* item, std::chrono::milliseconds budget);
    void apply(QTreeWidgetItem* item, const FolderListing& listing);
    void relist(const QString& path);
    void updatePlaceholder(QTreeWidgetItem* item) const;
    bool wanted(const QString& path, bool hidden) const;
    QTreeWidgetItem* walk(const QString& path, bool list);
    void insertSorted(QTreeWidgetItem* parentItem, std::unique_ptr<QTreeWidgetItem> child);
    void onItemChanged(QTreeWidgetItem* item, int column);
    static Kind kind(const QTreeWidgetItem* item);
    QIcon iconFor(const QString& path, Kind kind) const;

    const bool m_includeFiles;
    bool m_showHidden = false;
    std::chrono::milliseconds m_expandBudget{100};
    QStringList m_revealed;                   // searched paths, hidden or not
    QHash<QString, FolderListing> m_listings; // the last listing of each listed folder
    QFileSystemWatcher m_watcher;             // the listed folders
    QTreeWidgetItem* m_renaming = nullptr;    // the item whose name is being edited
    mutable QHash<int, QIcon> m_icons;        // by standard pixmap
};

} // namespace platform
