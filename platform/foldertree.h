// The tree of the folder dialog: folders (and, on request, files) read from disk lazily and
// synchronously. A folder's entries are listed when it is first expanded or searched; until
// then a folder that has entries carries a placeholder child so that its expand arrow shows.
// Folders come before files, each sorted without regard to case; hidden entries are left out.
//
// The root is either the virtual Desktop, which holds the home folder ("Persönlicher Ordner")
// and the file-system root "/", or one folder.
#pragma once

#include <QTreeWidget>
#include <memory>

namespace platform {

class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    FolderTree(bool includeFiles, QWidget* parent = nullptr);

    // Fills the tree with its root item, expanded, and makes the root the current item.
    void setDesktopRoot();
    void setFolderRoot(const QString& path);

    // The item of an absolute, clean path ("" for the Desktop), listing folders on the way
    // down; nullptr when the tree does not hold it.
    QTreeWidgetItem* findPath(const QString& path);

    // Makes an item current: its ancestors are expanded and it is scrolled into view.
    void showItem(QTreeWidgetItem* item);

    // Creates "Neuer Ordner" ("Neuer Ordner (2)", ...) in the folder of an item and gives
    // its new item, or nullptr when the folder could not be made.
    QTreeWidgetItem* createFolder(QTreeWidgetItem* parentItem);

    // Starts editing an item's name; a changed name renames the entry on disk.
    void renameItem(QTreeWidgetItem* item);

    static QString itemPath(const QTreeWidgetItem* item); // "" for the Desktop
    static bool isDesktop(const QTreeWidgetItem* item);
    static bool isFolder(const QTreeWidgetItem* item);

signals:
    // An item's entry was renamed on disk; its path has changed.
    void itemRenamed(QTreeWidgetItem* item);

protected:
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    enum class Kind { Desktop, Folder, File, Placeholder };

    std::unique_ptr<QTreeWidgetItem> newItem(const QString& path, const QString& label,
                                             Kind kind) const;
    void populate(QTreeWidgetItem* item);
    void insertSorted(QTreeWidgetItem* parentItem, std::unique_ptr<QTreeWidgetItem> child);
    bool hasEntries(const QString& path) const;
    int entryFilters() const;
    void onItemChanged(QTreeWidgetItem* item, int column);
    static Kind kind(const QTreeWidgetItem* item);

    const bool m_includeFiles;
    QTreeWidgetItem* m_renaming = nullptr; // the item whose name is being edited
};

} // namespace platform
