#include "extras/align/overlay.h"

#include "extras/align/dragcoordinator.h"
#include "extras/align/elementcanvas.h"
#include "extras/align/rubberband.h"
#include "extras/align/selection.h"
#include "resources/mainform.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace align {

namespace {

const QColor kGuide(255, 0, 255);
const QColor kGap(200, 0, 110);
const QColor kEqualGap(0, 140, 60);
const QColor kBand(255, 0, 255);
constexpr int kTick = 3;             // half the length of a gap line's end mark, pixels
constexpr std::size_t kLabels = 512; // labels kept drawn

QRect around(const QRectF& r, int margin) {
    return r.toAlignedRect().adjusted(-margin, -margin, margin, margin);
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
    if (parentWidget())
        parentWidget()->removeEventFilter(this);
    setParent(parent);
    setGeometry(area.isNull() && parent ? parent->rect() : area);
    if (area.isNull() && parent)
        parent->installEventFilter(this);
    show();
    raise();
    m_marks.clear();
    refresh();
}

bool Overlay::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize) {
        setGeometry(parentWidget()->rect());
        refresh();
    }
    return false;
}

QPointF Overlay::toScreen(QPointF device) const {
    return m_origin + device * m_scale;
}

const QPixmap& Overlay::label(const QString& text, bool equal) {
    auto found = m_labels.find(text);
    if (found != m_labels.end())
        return found->second;
    if (m_labels.size() >= kLabels)
        m_labels.clear();
    const QFontMetrics metrics(font());
    const qreal ratio = devicePixelRatioF();
    QPixmap pixmap(QSize(metrics.horizontalAdvance(text) + 4, metrics.height()) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(equal ? kEqualGap : kGap);
    QPainter p(&pixmap);
    p.setFont(font());
    p.setPen(Qt::white);
    p.drawText(QRectF(QPointF(0, 0), pixmap.deviceIndependentSize()), Qt::AlignCenter, text);
    return m_labels.emplace(text, std::move(pixmap)).first->second;
}

void Overlay::refresh() {
    const ui::MainForm& form = m_canvas.form();
    m_origin = mapFrom(&form, form.Shape1->mapTo(&form, QPoint(0, 0)));
    m_scale = m_canvas.scale();
    std::vector<Mark> marks;
    if (m_drag.dragging()) {
        const QPointF topLeft = toScreen({0, 0});
        const QPointF bottomRight = toScreen({kScreenWidth, kScreenHeight});
        for (double x : m_drag.xGuides()) {
            const double sx = std::floor(toScreen({x, 0}).x());
            marks.push_back({Mark::Guide, QLineF(sx, topLeft.y(), sx, bottomRight.y())});
        }
        for (double y : m_drag.yGuides()) {
            const double sy = std::floor(toScreen({0, y}).y());
            marks.push_back({Mark::Guide, QLineF(topLeft.x(), sy, bottomRight.x(), sy)});
        }
        for (const Gap& g : m_drag.gaps()) {
            if (g.size() <= 0)
                continue;
            const bool horizontal = g.side == Gap::Left || g.side == Gap::Right;
            const QPointF a = horizontal ? QPointF(g.from, g.across) : QPointF(g.across, g.from);
            const QPointF b = horizontal ? QPointF(g.to, g.across) : QPointF(g.across, g.to);
            const QLineF line(toScreen(a), toScreen(b));
            marks.push_back({g.equal ? Mark::EqualGap : Mark::Gap, line});
            QString text = QString::number(g.size(), 'g', 6);
            if (g.equal)
                text += QStringLiteral(" =");
            const QSizeF size = label(text, g.equal).deviceIndependentSize();
            const QPointF corner = line.center() - QPointF(size.width() / 2, size.height() / 2);
            marks.push_back({Mark::Label, {}, QRectF(corner, size).toAlignedRect(), text});
        }
    }
    if (m_canvas.loaded()) {
        const int active = m_canvas.active();
        if (m_selection.contains(active)) // else it is about to follow the active element
            for (int i : m_selection.members())
                if (i != active && m_canvas.shown(i)) {
                    const QRectF r = m_canvas.rect(i);
                    marks.push_back({Mark::Frame,
                                     {},
                                     QRectF(toScreen(r.topLeft()), toScreen(r.bottomRight()))});
                }
    }
    if (const auto band = m_band.band())
        marks.push_back(
            {Mark::Band, {}, QRectF(toScreen(band->topLeft()), toScreen(band->bottomRight()))});

    // Only what appeared or went needs a repaint, and only the pixels it covers:
    // what stays where it was is still on the screen, and what lies under a
    // long line between its ends is not touched.
    QRegion dirty;
    for (const Mark& m : m_marks)
        if (std::find(marks.begin(), marks.end(), m) == marks.end())
            dirty += regionOf(m).boundingRect();
    for (const Mark& m : marks)
        if (std::find(m_marks.begin(), m_marks.end(), m) == m_marks.end())
            dirty += regionOf(m).boundingRect();
    m_marks = std::move(marks);
    if (!dirty.isEmpty())
        update(dirty);
}

QRegion Overlay::regionOf(const Mark& m) {
    switch (m.kind) {
    case Mark::Guide:
        return around(QRectF(m.line.p1(), m.line.p2()).normalized(), 1);
    case Mark::Gap:
    case Mark::EqualGap: {
        // The line and the end marks across it.
        const QPointF across = m.line.dx() == 0 ? QPointF(kTick, 0) : QPointF(0, kTick);
        QRegion region(around(QRectF(m.line.p1(), m.line.p2()).normalized(), 1));
        for (const QPointF end : {m.line.p1(), m.line.p2()})
            region += around(QRectF(end - across, end + across).normalized(), 1);
        return region;
    }
    case Mark::Label:
    case Mark::Band:
        return around(m.rect, 1);
    case Mark::Frame: {
        // The border alone: the inside shows the element.
        const QRect outer = around(m.rect, 1);
        const QRect inner = m.rect.toAlignedRect().adjusted(2, 2, -2, -2);
        return inner.isValid() ? QRegion(outer).subtracted(QRegion(inner)) : QRegion(outer);
    }
    }
    return {};
}

void Overlay::paintEvent(QPaintEvent* event) {
    if (m_marks.empty())
        return;
    QPainter p(this);
    const QRegion& dirty = event->region();
    for (const Mark& m : m_marks) {
        if (!regionOf(m).intersects(dirty))
            continue;
        switch (m.kind) {
        case Mark::Guide:
            p.fillRect(QRectF(m.line.p1(), m.line.p2()).normalized().adjusted(0, 0, 1, 1), kGuide);
            break;
        case Mark::Gap:
        case Mark::EqualGap: {
            p.setPen(QPen(m.kind == Mark::EqualGap ? kEqualGap : kGap, 1));
            p.drawLine(m.line);
            const QPointF across = m.line.dx() == 0 ? QPointF(kTick, 0) : QPointF(0, kTick);
            p.drawLine(m.line.p1() - across, m.line.p1() + across);
            p.drawLine(m.line.p2() - across, m.line.p2() + across);
            break;
        }
        case Mark::Label:
            p.drawPixmap(m.rect.topLeft(), label(m.text, m.text.endsWith(QLatin1Char('='))));
            break;
        case Mark::Frame: {
            // Black dashes on white: one of the two stands out on any picture.
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(Qt::white, 1));
            p.drawRect(m.rect.adjusted(0, 0, -1, -1));
            QPen dashes(Qt::black, 1, Qt::CustomDashLine);
            dashes.setDashPattern({3, 3});
            p.setPen(dashes);
            p.drawRect(m.rect.adjusted(0, 0, -1, -1));
            break;
        }
        case Mark::Band: {
            QColor fill = kBand;
            fill.setAlpha(40);
            p.setPen(QPen(kBand, 1, Qt::DashLine));
            p.setBrush(fill);
            p.drawRect(m.rect.adjusted(0, 0, -1, -1));
            break;
        }
        }
    }
}

} // namespace align
