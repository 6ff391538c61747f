#include "extras/align/groupactions.h"

#include "elements/programstate.h"
#include "extras/align/elementcanvas.h"
#include "extras/align/selection.h"
#include "resources/errors.h"
#include "resources/imagecontrol.h"

#include <algorithm>

namespace align {

GroupActions::GroupActions(const ElementCanvas& canvas, Selection& selection)
    : m_canvas(canvas), m_selection(selection) {}

std::vector<int> GroupActions::movable() const {
    std::vector<int> out;
    const int active = m_canvas.active();
    if (!m_canvas.loaded() || active < 0)
        return out;
    m_selection.follow(active);
    out.push_back(active);
    for (int i : m_selection.members())
        if (i != active && !m_canvas.isLocked(i))
            out.push_back(i);
    return out;
}

bool GroupActions::canAlign() const {
    return movable().size() >= 2;
}

bool GroupActions::canDistribute() const {
    return movable().size() >= 3;
}

bool GroupActions::apply(const std::vector<int>& indexes, const std::vector<QRectF>& rects) {
    if (beginEdit)
        beginEdit();
    std::vector<int> moved;
    for (std::size_t k = 0; k < indexes.size(); ++k) {
        const int i = indexes[k];
        if (m_canvas.isLocked(i))
            continue; // a locked active element anchors, but stays
        const QRectF before = m_canvas.rect(i);
        m_canvas.place(i, rects[k]);
        if (m_canvas.rect(i) != before)
            moved.push_back(i);
    }
    for (int i : moved) {
        const int partner = ElementCanvas::linkedPartner(i);
        if (std::find(moved.begin(), moved.end(), partner) == moved.end())
            m_canvas.pullLinked(i);
    }
    const int active = m_canvas.active();
    m_canvas.activate(active); // the frame and the boxes show where it is now
    if (!moved.empty())
        programState().bChanged = true;
    if (endEdit)
        endEdit(active);
    return !moved.empty();
}

bool GroupActions::align(Alignment how) {
    const std::vector<int> indexes = movable();
    if (indexes.size() < 2)
        return false;
    std::vector<QRectF> rects;
    for (int i : indexes)
        rects.push_back(m_canvas.rect(i));
    return apply(indexes, aligned(rects, 0, how));
}

bool GroupActions::distribute(Axis axis) {
    std::vector<int> indexes = movable();
    if (m_canvas.isLocked(indexes.empty() ? -1 : indexes.front()))
        indexes.erase(indexes.begin()); // a locked element takes no part
    if (indexes.size() < 3)
        return false;
    std::vector<QRectF> rects;
    for (int i : indexes)
        rects.push_back(m_canvas.rect(i));
    return apply(indexes, distributed(rects, axis));
}

void GroupActions::onNudgeBegins() {
    m_nudge.reset();
    const int active = m_canvas.active();
    const ui::ImageControl* p = m_canvas.picture(active);
    if (!p || !m_canvas.loaded())
        return;
    m_selection.follow(active);
    m_nudge = Nudge{active, p->Left(), p->Top(), p->Width(), p->Height()};
}

void GroupActions::nudgeApplied() {
    if (!m_nudge)
        return;
    const Nudge before = *m_nudge;
    m_nudge.reset();
    const ui::ImageControl* a = m_canvas.picture(before.active);
    if (!a)
        return;
    // The step the active element took, taken by each of the others on its own
    // terms: a size that would turn negative stays, as it would for the element
    // alone. A nudge pulls no linked partner along, for none of them.
    const double dl = a->Left() - before.left;
    const double dt = a->Top() - before.top;
    const double dw = a->Width() - before.width;
    const double dh = a->Height() - before.height;
    if (dl == 0 && dt == 0 && dw == 0 && dh == 0)
        return;
    for (int i : movable()) {
        if (i == before.active)
            continue;
        ui::ImageControl* p = m_canvas.picture(i);
        const auto step = [](auto&& f) {
            try {
                f();
            } catch (const ui::RuntimeError&) {
            }
        };
        if (dl != 0)
            step([&] { p->setLeft(p->Left() + dl); });
        if (dt != 0)
            step([&] { p->setTop(p->Top() + dt); });
        if (dw != 0)
            step([&] { p->setWidth(p->Width() + dw); });
        if (dh != 0)
            step([&] { p->setHeight(p->Height() + dh); });
    }
}

} // namespace align
