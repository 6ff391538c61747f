// Lining elements up by eye on the main window: several elements selected at
// once (Ctrl+click, rubber band), snapping with guides and gaps while
// dragging, the group following drags and nudges, and aligning and
// distributing from the canvas menu and the Alt keys.
//
// What the rest of the editor connects:
//  - setScreenScale: screen pixels per device pixel (the canvas zoom), 1 by default;
//  - setHiddenPredicate / setLockedPredicate: elements the element list hides
//    (no snap targets, not drawn) and locks (not moved with the group);
//  - placeOverlay: the widget and area the drawing covers (by default the
//    window's canvas part);
//  - setEditBrackets: one undo step around each group action;
//  - layoutLoaded, nudgeBegins, nudgeApplied: from the window's own handlers.
#pragma once

#include "extras/align/overlay.h"
#include "extras/align/snapmath.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <functional>
#include <memory>

class QKeySequence;
class QMenu;
class WindowShortcuts;
struct DragStep;
namespace ui {
class MainForm;
}

namespace align {

class ElementCanvas;
class Selection;
class DragCoordinator;
class RubberBand;
class GroupActions;
class CanvasMenu;

class AlignSession : public QObject {
public:
    explicit AlignSession(ui::MainForm& form);
    ~AlignSession() override;

    void setScreenScale(std::function<double()> screenPixelsPerDevicePixel);
    void setHiddenPredicate(std::function<bool(int)> isHidden);
    void setLockedPredicate(std::function<bool(int)> isLocked);
    void placeOverlay(QWidget* parent, const QRect& area);
    void setEditBrackets(std::function<void()> begin, std::function<void(int)> end);
    // Off: the editor behaves as without these tools (for comparisons).
    void setEnabled(bool on);
    // Snapping while dragging (on at start; the canvas menu switches it too).
    void setSnapping(bool on);
    bool snapping() const;
    // The keys the canvas menu's snapping entry shows, and who hears when the user
    // chooses that entry.
    void setSnappingChoice(const QKeySequence& keys, std::function<void(bool)> chosen);

    // Selects every element the view shows (and the element list does not hide); the
    // active element stays the active one.
    void selectAllShown();
    // The selected elements that the view shows, together, in device pixels (empty
    // when there are none).
    QRectF selectionBounds() const;

    void onLayoutLoaded();
    void onNudgeBegins();
    void nudgeApplied();

    // A line for the tool tip of element i: which selected elements the view
    // hides but a move of the selection takes along (empty when none).
    QString tipNote(int index) const;

    Selection& selection() { return *m_selection; }
    GroupActions& actions() { return *m_actions; }
    const DragCoordinator& drag() const { return *m_drag; }
    // The canvas menu, built when it is first shown or asked for.
    QMenu& canvasMenu();
    // Entries that others add to the canvas menu, when it is built.
    void addCanvasMenuEntries(std::function<void(QMenu&)> add);
    Overlay& overlay() { return *m_overlay; }

    // The area the overlay covers on the window as it is built.
    static QRect defaultOverlayArea();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool pressOnElement(int index, const QEvent* event);
    void bindKeys();

    ui::MainForm& m_form;
    bool m_enabled = true;
    std::unique_ptr<ElementCanvas> m_canvas;
    std::unique_ptr<Selection> m_selection;
    std::unique_ptr<DragCoordinator> m_drag;
    std::unique_ptr<GroupActions> m_actions;
    std::unique_ptr<RubberBand> m_band;
    std::unique_ptr<CanvasMenu> m_menu;
    std::unique_ptr<WindowShortcuts> m_keys;
    QPointer<Overlay> m_overlay; // owned by the widget it lies on
};

} // namespace align
