// The canvas menu of the right mouse button on the map: align and distribute
// the selected elements, each entry with its key where it has one. The same
// table gives the keys of the window.
#pragma once

#include "extras/align/snapmath.h"

#include <QKeyCombination>
#include <QKeySequence>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <span>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace align {

class GroupActions;

struct MenuEntry {
    QString text;
    QKeyCombination keys; // Qt::Key_unknown: the menu only
    bool distributes = false;
    Alignment alignment = Alignment::Left;
    Axis axis = Axis::Horizontal;
};
std::span<const MenuEntry> menuEntries();
// Runs an entry on the selection; returns whether anything moved.
bool runEntry(const MenuEntry& entry, GroupActions& actions);

// The menu itself is built when it is first shown or asked for: a start-up
// that never opens it does not pay for it.
class CanvasMenu : public QObject {
public:
    CanvasMenu(QWidget& map, GroupActions& actions);
    ~CanvasMenu() override;

    QMenu& menu();
    // Entries that others add below these, when the menu is built.
    void addEntries(std::function<void(QMenu&)> add);
    // The checkable entry that switches snapping on and off, and what follows
    // its changes (from the entry or from setSnapping).
    bool snapping() const { return m_snapping; }
    void setSnapping(bool on);
    std::function<void(bool)> snappingChanged;
    // The user chose the entry (not told for setSnapping), and the keys it shows.
    std::function<void(bool)> snappingChosen;
    QKeySequence snappingKeys;
    // Makes the entries that have too few elements to act on unavailable.
    void updateEntries();

    bool enabled = true;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();

    GroupActions& m_actions;
    std::unique_ptr<QMenu> m_menu;
    bool m_snapping = true;
    QAction* m_snappingEntry = nullptr;   // owned by the menu
    std::vector<QAction*> m_entryActions; // the align and distribute entries, in order
    std::vector<std::function<void(QMenu&)>> m_more;
};

} // namespace align
