#include "extras/align/rubberband.h"

#include "extras/align/elementcanvas.h"
#include "extras/align/selection.h"
#include "resources/mainform.h"

#include <QMouseEvent>
#include <cmath>

namespace align {

RubberBand::RubberBand(QWidget& map, const ElementCanvas& canvas, Selection& selection)
    : m_canvas(canvas), m_selection(selection) {
    map.installEventFilter(this);
}

std::optional<QRectF> RubberBand::band() const {
    if (!m_start)
        return std::nullopt;
    // From pixel to pixel, both included.
    const double left = std::floor(std::min(m_start->x(), m_end.x()));
    const double top = std::floor(std::min(m_start->y(), m_end.y()));
    const double right = std::floor(std::max(m_start->x(), m_end.x())) + 1;
    const double bottom = std::floor(std::max(m_start->y(), m_end.y())) + 1;
    return QRectF(left, top, right - left, bottom - top);
}

std::vector<int> RubberBand::touched(const QRectF& b) const {
    std::vector<int> hit;
    for (int i = 0; i < ui::MainForm::kElementCount; ++i) {
        if (!m_canvas.shown(i))
            continue;
        const QRectF r = m_canvas.rect(i);
        // An element of no width or height is touched by a band across its line.
        if (r.left() < b.right() && b.left() < r.left() + std::max(r.width(), 1e-9) &&
            r.top() < b.bottom() && b.top() < r.top() + std::max(r.height(), 1e-9))
            hit.push_back(i);
    }
    return hit;
}

bool RubberBand::eventFilter(QObject* watched, QEvent* event) {
    if (!enabled || !m_canvas.loaded())
        return false;
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
        type != QEvent::MouseButtonRelease)
        return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPointF p = m_canvas.devicePoint(*static_cast<QWidget*>(watched), mouse->position());
    if (type == QEvent::MouseButtonPress) {
        if (mouse->button() == Qt::LeftButton) {
            m_start = p;
            m_end = p;
            if (changed)
                changed();
        }
    } else if (type == QEvent::MouseMove) {
        if (m_start && (mouse->buttons() & Qt::LeftButton)) {
            m_end = p;
            if (changed)
                changed();
        }
    } else if (m_start && mouse->button() == Qt::LeftButton) {
        m_end = p;
        finish(mouse->modifiers() & Qt::ShiftModifier);
    }
    return false; // the map's own handlers still see the pointer
}

void RubberBand::finish(bool adding) {
    const std::vector<int> hit = touched(*band());
    m_start.reset();
    const int active = m_canvas.active();
    if (adding) {
        m_selection.follow(active);
        for (int i : hit)
            m_selection.add(i);
    } else if (hit.empty()) {
        m_selection.selectOnly(active);
    } else {
        // The active element stays active when the band takes it; otherwise the
        // foremost one it touched becomes active.
        const bool keep = std::find(hit.begin(), hit.end(), active) != hit.end();
        const int next = keep ? active : hit.back();
        if (!keep)
            m_canvas.activate(next);
        m_selection.selectOnly(next);
        for (int i : hit)
            m_selection.add(i);
    }
    if (changed)
        changed();
}

} // namespace align
