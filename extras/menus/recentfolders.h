// The skin folders used last, most recent first, offered in a menu as "&1 <folder>" ...
// The settings file keeps them in its section "Directory": the last one is "lastDir",
// the ones before it "recent1" to "recent4".
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QAction;
class QMenu;

namespace menus {

class RecentFolders : public QObject {
public:
    static constexpr int kCount = 5;

    // The entries go into the menu before `before` (at its end when null) whenever the
    // menu opens; choosing one calls `open` with its folder.
    RecentFolders(QMenu& menu, QAction* before, std::function<void(const QString&)> open);
    ~RecentFolders() override;

    // The folders as the settings file keeps them now.
    static QStringList read();
    // A folder is about to become the last folder ("lastDir"): the one that was the
    // last moves down among the others. The caller writes "lastDir" itself.
    static void add(const QString& folder);

    // The entries as the menu shows them after its last opening.
    const std::vector<QAction*>& entries() const { return m_entries; }
    void rebuild();

private:
    void choose(const QString& folder);

    QMenu& m_menu;
    QAction* m_before;
    std::function<void(const QString&)> m_open;
    std::vector<QAction*> m_entries; // owned by the menu
};

} // namespace menus
