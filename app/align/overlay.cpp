#include "app/align/overlay.h"

#include "app/align/dragcoordinator.h"
#include "app/align/elementcanvas.h"
#include "app/align/rubberband.h"
#include "app/align/selection.h"
#include "resources/mainform.h"

#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace align {

namespace {

const QColor kGuide(255, 0, 255);
const QColor kGap(200, 0, 110);
const QColor kEqualGap(0, 140, 60);
const QColor kFrame(230, 120, 0);
const QColor kBand(255, 0, 255);
constexpr int kTick = 3;   // half the length of a gap line's end mark, pixels
constexpr int kMargin = 2; // around what is drawn, for the repaint

QRect outward(const QRectF& r) {
    return r.toAlignedRect().adjusted(-kMargin, -kMargin, kMargin, kMargin);
}

QRegion ring(const QRectF& r) {
    const QRect outer = outward(r);
    const QRect inner = r.toAlignedRect().adjusted(kMargin, kMargin, -kMargin, -kMargin);
    return inner.isValid() ? QRegion(outer).subtracted(QRegion(inner)) : QRegion(outer);
}

} // namespace

Overlay::Overlay(const ElementCanvas& canvas, const Selection& selection,
                 const DragCoordinator& drag, const RubberBand& band)
    : m_canvas(canvas), m_selection(selection), m_drag(drag), m_band(band) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    QFont small = font();
    small.setPixelSize(9);
    setFont(small);
}

void Overlay::place(QWidget* parent, const QRect& area) {
    setParent(parent);
    setGeometry(area);
    show();
    raise();
    m_drawn = {};
    refresh();
}

QPointF Overlay::toScreen(QPointF device) const {
    const ui::MainForm& form = m_canvas.form();
    const QPoint frame = form.Shape1->mapTo(&form, QPoint(0, 0));
    const QPoint origin = mapFrom(&form, frame);
    return QPointF(origin) + device * m_canvas.scale();
}

void Overlay::refresh() {
    m_guides.clear();
    m_gaps.clear();
    m_frames.clear();
    m_bandRect.reset();

    const QPointF topLeft = toScreen({0, 0});
    const QPointF bottomRight = toScreen({kScreenWidth, kScreenHeight});
    if (m_drag.dragging()) {
        for (double x : m_drag.xGuides()) {
            const double sx = std::floor(toScreen({x, 0}).x());
            m_guides.emplace_back(sx, topLeft.y(), sx, bottomRight.y());
        }
        for (double y : m_drag.yGuides()) {
            const double sy = std::floor(toScreen({0, y}).y());
            m_guides.emplace_back(topLeft.x(), sy, bottomRight.x(), sy);
        }
        const QFontMetrics metrics(font());
        for (const Gap& g : m_drag.gaps()) {
            if (g.size() <= 0)
                continue;
            const bool horizontal = g.side == Gap::Left || g.side == Gap::Right;
            const QPointF a = horizontal ? QPointF(g.from, g.across) : QPointF(g.across, g.from);
            const QPointF b = horizontal ? QPointF(g.to, g.across) : QPointF(g.across, g.to);
            GapMark mark;
            mark.line = QLineF(toScreen(a), toScreen(b));
            mark.equal = g.equal;
            mark.text = QString::number(g.size(), 'g', 6);
            if (g.equal)
                mark.text += QStringLiteral(" =");
            const QSizeF box(metrics.horizontalAdvance(mark.text) + 4, metrics.height());
            mark.label =
                QRectF(mark.line.center() - QPointF(box.width() / 2, box.height() / 2), box);
            m_gaps.push_back(mark);
        }
    }
    if (m_canvas.loaded()) {
        const int active = m_canvas.active();
        const bool current = m_selection.contains(active); // else it is about to follow
        for (int i : m_selection.members())
            if (current && i != active && m_canvas.shown(i)) {
                const QRectF r = m_canvas.rect(i);
                m_frames.emplace_back(toScreen(r.topLeft()), toScreen(r.bottomRight()));
            }
    }
    if (const auto band = m_band.band())
        m_bandRect = QRectF(toScreen(band->topLeft()), toScreen(band->bottomRight()));

    const QRegion now = covered();
    if (!now.isEmpty() || !m_drawn.isEmpty())
        update(now.united(m_drawn));
    m_drawn = now;
}

QRegion Overlay::covered() const {
    QRegion r;
    for (const QLineF& l : m_guides)
        r += outward(QRectF(l.p1(), l.p2()).normalized());
    for (const GapMark& g : m_gaps) {
        r += outward(
            QRectF(g.line.p1(), g.line.p2()).normalized().adjusted(-kTick, -kTick, kTick, kTick));
        r += outward(g.label);
    }
    for (const QRectF& f : m_frames)
        r += ring(f);
    if (m_bandRect)
        r += outward(*m_bandRect);
    return r;
}

void Overlay::paintEvent(QPaintEvent* event) {
    if (m_drawn.isEmpty())
        return;
    QPainter p(this);
    p.setClipRegion(event->region());
    for (const QLineF& l : m_guides)
        p.fillRect(QRectF(l.p1(), l.p2()).normalized().adjusted(0, 0, 1, 1), kGuide);

    QPen dashed(kFrame, 1, Qt::DashLine);
    p.setPen(dashed);
    p.setBrush(Qt::NoBrush);
    for (const QRectF& f : m_frames)
        p.drawRect(f.adjusted(0, 0, -1, -1));

    for (const GapMark& g : m_gaps) {
        const QColor colour = g.equal ? kEqualGap : kGap;
        p.setPen(QPen(colour, 1));
        p.drawLine(g.line);
        const QPointF across = g.line.dx() == 0 ? QPointF(kTick, 0) : QPointF(0, kTick);
        p.drawLine(g.line.p1() - across, g.line.p1() + across);
        p.drawLine(g.line.p2() - across, g.line.p2() + across);
        p.fillRect(g.label, colour);
        p.setPen(Qt::white);
        p.drawText(g.label, Qt::AlignCenter, g.text);
    }

    if (m_bandRect) {
        QColor fill = kBand;
        fill.setAlpha(40);
        p.setPen(QPen(kBand, 1, Qt::DashLine));
        p.setBrush(fill);
        p.drawRect(m_bandRect->adjusted(0, 0, -1, -1));
    }
}

} // namespace align
