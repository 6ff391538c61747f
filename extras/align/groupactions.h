// What the selected elements do together besides a drag: align to the active
// element, distribute with equal gaps, and follow a nudge of the active
// element. Each is one edit for the undo history.
#pragma once

#include "extras/align/snapmath.h"

#include <QRectF>
#include <functional>
#include <optional>

namespace align {

class ElementCanvas;
class Selection;

class GroupActions {
public:
    GroupActions(const ElementCanvas& canvas, Selection& selection);

    // Brackets of one edit (undo step); both may be empty.
    std::function<void()> beginEdit;
    std::function<void(int active)> endEdit;

    bool canAlign() const;      // two or more selected
    bool canDistribute() const; // three or more selected
    // Both return whether anything moved.
    bool align(Alignment how);
    bool distribute(Axis axis);

    // A nudge of the active element is about to run / has run: the others of
    // the selection take the same step.
    void onNudgeBegins();
    void nudgeApplied();

private:
    // The selected elements that may move, the active one first.
    std::vector<int> movable() const;
    bool apply(const std::vector<int>& indexes, const std::vector<QRectF>& rects);

    const ElementCanvas& m_canvas;
    Selection& m_selection;
    struct Nudge {
        int active = -1;
        double left = 0, top = 0, width = 0, height = 0;
    };
    std::optional<Nudge> m_nudge;
};

} // namespace align
