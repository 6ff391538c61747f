#include "extras/align/dragcoordinator.h"

#include "elements/draghook.h"
#include "extras/align/elementcanvas.h"
#include "extras/align/selection.h"
#include "resources/mainform.h"

#include <algorithm>

namespace align {

namespace {

constexpr double kTwips = 15;
constexpr int kAlt = 4;

// Where the element ends up after an edge step, as the element computes it:
// each edge on its own, a step that would make a size negative is left out.
QRectF afterEdges(QRectF r, const DragStep& s, double x, double y) {
    if (s.left && r.width() - x >= 0)
        r.setLeft(r.left() + x);
    if (s.right && x >= 0)
        r.setWidth(x);
    if (s.top && r.height() - y >= 0)
        r.setTop(r.top() + y);
    if (s.bottom && y >= 0)
        r.setHeight(y);
    return r;
}

} // namespace

DragCoordinator::DragCoordinator(const ElementCanvas& canvas, const Selection& selection)
    : m_canvas(canvas), m_selection(selection) {}

void DragCoordinator::begin(int index) {
    m_dragged = index;
    m_followers.clear();
    m_others.clear();
    m_snap = {};
    m_gaps.clear();
    if (m_canvas.isLocked(index))
        return; // it stays, and so does the rest
    for (int i : m_selection.members())
        if (i != index && !m_canvas.isLocked(i))
            m_followers.push_back(i);

    // The partners of moving elements move with them: no lines to snap to.
    std::vector<int> moving = m_followers;
    moving.push_back(index);
    for (int i : std::vector<int>(moving))
        if (const int p = ElementCanvas::linkedPartner(i); p >= 0)
            moving.push_back(p);
    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        if (m_canvas.shown(i) && std::find(moving.begin(), moving.end(), i) == moving.end())
            m_others.push_back(m_canvas.rect(i));
    m_targets = snapTargets(m_others);
}

void DragCoordinator::adjust(DragStep& s) {
    if (s.index != m_dragged || m_canvas.isLocked(m_dragged))
        return;
    const double reach = (!snapping || (s.shift & kAlt)) ? 0.0 : kSnapReach / m_canvas.scale();
    const QRectF now = m_canvas.rect(m_dragged);
    QRectF after;
    if (s.move) {
        // The whole element moves by whole device pixels.
        double dx = roundHalfUp((s.x - s.grabX) / kTwips);
        double dy = roundHalfUp((s.y - s.grabY) / kTwips);
        m_snap = snap(now.translated(dx, dy), NoEdge, m_targets, reach);
        dx += m_snap.dx;
        dy += m_snap.dy;
        s.x = s.grabX + dx * kTwips;
        s.y = s.grabY + dy * kTwips;
        after = now.translated(dx, dy);
        for (int i : m_followers)
            m_canvas.moveBy(i, s.x - s.grabX, s.y - s.grabY);
        for (int i : m_followers) {
            const int partner = ElementCanvas::linkedPartner(i);
            if (partner != m_dragged &&
                std::find(m_followers.begin(), m_followers.end(), partner) == m_followers.end())
                m_canvas.pullLinked(i);
        }
    } else {
        // The pointer, and so the edges it drags, on whole device pixels.
        double x = roundHalfUp(s.x / kTwips);
        double y = roundHalfUp(s.y / kTwips);
        // An element so narrow that both its edges follow the pointer does not snap.
        const int edges = (s.left != s.right ? (s.left ? LeftEdge : RightEdge) : NoEdge) |
                          (s.top != s.bottom ? (s.top ? TopEdge : BottomEdge) : NoEdge);
        const QRectF proposed = afterEdges(now, s, x, y);
        if (edges != NoEdge) {
            m_snap = snap(proposed, edges, m_targets, reach);
            if (!(edges & (LeftEdge | RightEdge)))
                m_snap.dx = 0, m_snap.xLines.clear();
            if (!(edges & (TopEdge | BottomEdge)))
                m_snap.dy = 0, m_snap.yLines.clear();
            x += m_snap.dx;
            y += m_snap.dy;
        }
        s.x = x * kTwips;
        s.y = y * kTwips;
        after = afterEdges(now, s, x, y);
    }
    m_gaps = align::gaps(after, m_others);
    if (changed)
        changed();
}

void DragCoordinator::end() {
    if (m_dragged < 0)
        return;
    m_dragged = -1;
    m_followers.clear();
    m_snap = {};
    m_gaps.clear();
    if (changed)
        changed();
}

} // namespace align
