// Takes part in the drags of elements with the left button: snaps the dragged
// element to the lines of the others and of the screen, moves the rest of the
// selection along by the same whole device pixels, and keeps the guides and
// the gaps to show while the button is held.
#pragma once

#include "extras/align/snapmath.h"

#include <functional>
#include <vector>

struct DragStep;

namespace align {

class ElementCanvas;
class Selection;

// Snapping reaches this far, in screen pixels, at any zoom.
inline constexpr double kSnapReach = 4;

class DragCoordinator {
public:
    DragCoordinator(const ElementCanvas& canvas, const Selection& selection);

    // A left press on the element: the drag that may follow starts.
    void begin(int index);
    // A drag step the element is about to apply.
    void adjust(DragStep& step);
    // The button was released.
    void end();

    bool dragging() const { return m_dragged >= 0; }
    int dragged() const { return m_dragged; }
    // What to show while the button is held.
    const std::vector<double>& xGuides() const { return m_snap.xLines; }
    const std::vector<double>& yGuides() const { return m_snap.yLines; }
    const std::vector<Gap>& gaps() const { return m_gaps; }

    std::function<void()> changed; // told after every step and at the end
    bool snapping = true;          // off: elements follow the pointer, as with Alt held

private:
    const ElementCanvas& m_canvas;
    const Selection& m_selection;
    int m_dragged = -1;
    std::vector<int> m_followers; // moved along, by the same amount
    std::vector<QRectF> m_others; // shown elements that stay: targets and neighbours
    SnapTargets m_targets;
    SnapResult m_snap;
    std::vector<Gap> m_gaps;
};

} // namespace align
