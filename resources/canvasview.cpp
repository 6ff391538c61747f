#include "resources/canvasview.h"

#include "resources/imagecontrol.h"

#include <QKeyEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Around the frame when enlarged, in device pixels on every side.
constexpr int kZoomedMargin = 32;
// From this zoom on the pixel grid is drawn.
constexpr int kGridZoom = 4;
constexpr int kWheelStep = 120; // one notch

} // namespace

// What lies over the pictures: the dimming of the margin where pictures reach
// beyond the frame, and the pixel grid. It never takes the mouse.
class CanvasSurface::Overlay : public QWidget {
public:
    explicit Overlay(CanvasSurface& surface) : QWidget(&surface), m_surface(surface) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        const QRect frame = m_surface.frameRect();
        QRegion beyond;
        for (QObject* child : m_surface.children()) {
            auto* picture = dynamic_cast<ImageControl*>(child);
            if (picture && !picture->isHidden())
                beyond += picture->geometry();
        }
        beyond = beyond.subtracted(QRegion(frame)).intersected(event->region());
        QPainter painter(this);
        if (!beyond.isEmpty()) {
            QColor veil = palette().color(QPalette::Window);
            veil.setAlpha(160);
            painter.setClipRegion(beyond);
            painter.fillRect(beyond.boundingRect(), veil);
            painter.setClipping(false);
        }
        if (m_surface.gridDrawn())
            for (const QRect& exposed : event->region())
                paintGrid(painter, frame, exposed);
    }

private:
    // A faint line at the start of every device pixel inside the frame, drawn
    // only where it is exposed: rows of the grid cut from a band of it that is
    // drawn once per zoom. The band is copied as it is, without a texture
    // brush: the cost goes with the exposed rows, not with each device pixel.
    void paintGrid(QPainter& painter, const QRect& frame, const QRect& exposed) {
        const int k = m_surface.zoom();
        const QRect inside = frame.adjusted(k, k, -k, -k).intersected(exposed);
        if (inside.isEmpty())
            return;
        const QImage& band = gridBand(k, frame.width());
        // Within one exposed rectangle the painting is clipped by a rectangle,
        // which Qt copies without splitting it into spans.
        painter.setClipRect(inside);
        const int left = inside.left() - frame.left();
        for (int y = inside.top(); y <= inside.bottom();) {
            const int row = (y - frame.top()) % band.height();
            const int rows = std::min(band.height() - row, inside.bottom() + 1 - y);
            painter.drawImage(QPoint(inside.left(), y), band,
                              QRect(left, row, inside.width(), rows));
            y += rows;
        }
        painter.setClipping(false);
    }

    // The grid across the whole frame for a few device rows, the line at the
    // top of each: the pixel at x, y of it is on a line when x or y is a
    // multiple of the zoom.
    const QImage& gridBand(int k, int width) {
        if (m_bandZoom != k || m_band.width() != width) {
            constexpr int kBandPixels = 64; // rows of screen pixels in the band
            const int rows = std::max(1, kBandPixels / k) * k;
            QImage tile(k, k, QImage::Format_ARGB32_Premultiplied);
            tile.fill(Qt::transparent);
            const QColor line(128, 128, 128, 80);
            QPainter p(&tile);
            p.fillRect(QRect(0, 0, k, 1), line);
            p.fillRect(QRect(0, 1, 1, k - 1), line);
            p.end();
            m_band = QImage(width, rows, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < rows; ++y) {
                const auto* from = reinterpret_cast<const QRgb*>(tile.constScanLine(y % k));
                auto* to = reinterpret_cast<QRgb*>(m_band.scanLine(y));
                for (int x = 0; x < width; ++x)
                    to[x] = from[x % k];
            }
            m_bandZoom = k;
        }
        return m_band;
    }

    QImage m_band; // a band of the grid at m_bandZoom, as wide as the frame
    int m_bandZoom = 0;
    CanvasSurface& m_surface;
};

// --- the surface ----------------------------------------------------------------

CanvasSurface::CanvasSurface(const QRect& frame, const QMargins& firstMargin)
    : m_frame(frame), m_margin1(firstMargin), m_overlay(new Overlay(*this)) {
    relayout();
}

QMargins CanvasSurface::margin(int zoom) const {
    if (zoom == 1)
        return m_margin1;
    return QMargins(kZoomedMargin, kZoomedMargin, kZoomedMargin, kZoomedMargin);
}

QSize CanvasSurface::naturalSize(int zoom) const {
    const QMargins m = margin(zoom);
    return QSize(m_frame.width() + m.left() + m.right(), m_frame.height() + m.top() + m.bottom()) *
           zoom;
}

void CanvasSurface::setZoom(int zoom) {
    zoom = std::clamp(zoom, 1, 16);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    relayout();
}

void CanvasSurface::setGridShown(bool shown) {
    if (shown == m_grid)
        return;
    m_grid = shown;
    m_overlay->update();
}

bool CanvasSurface::gridDrawn() const {
    return m_grid && m_zoom >= kGridZoom;
}

void CanvasSurface::setArea(const QSize& area) {
    if (area == m_area)
        return;
    m_area = area;
    relayout();
}

QRect CanvasSurface::frameRect() const {
    return QRect(m_origin, m_frame.size() * m_zoom);
}

QPointF CanvasSurface::toDevice(const QPointF& surface) const {
    return (surface - QPointF(m_origin)) / m_zoom;
}

QPointF CanvasSurface::fromDevice(const QPointF& device) const {
    return device * m_zoom + QPointF(m_origin);
}

QRect CanvasSurface::place(const QRect& windowPixels) const {
    // Far-away controls stay far away without leaving the range of the pixels.
    const auto at = [this](int pixel, int frame, int origin) {
        const long long p = (long long)(pixel - frame) * m_zoom + origin;
        return int(std::clamp(p, -8000000LL, 8000000LL));
    };
    return QRect(at(windowPixels.x(), m_frame.x(), m_origin.x()),
                 at(windowPixels.y(), m_frame.y(), m_origin.y()), windowPixels.width() * m_zoom,
                 windowPixels.height() * m_zoom);
}

void CanvasSurface::adopt(QWidget& control) {
    const bool hidden = control.isHidden();
    control.setParent(this);
    control.setVisible(!hidden);
    if (auto* geometry = dynamic_cast<TwipsGeometry*>(&control))
        geometry->refreshPlacement();
}

void CanvasSurface::putOverlayBehind(QWidget& control) {
    m_overlay->stackUnder(&control);
}

void CanvasSurface::relayout() {
    const QSize natural = naturalSize(m_zoom);
    const QSize size = natural.expandedTo(m_area);
    const QMargins m = margin(m_zoom);
    // Room beyond the natural size is shared out on both sides of the frame.
    m_origin = QPoint(m.left(), m.top()) * m_zoom +
               QPoint((size.width() - natural.width()) / 2, (size.height() - natural.height()) / 2);
    resize(size);
    m_overlay->setGeometry(rect());
    for (QObject* child : children())
        if (auto* geometry = dynamic_cast<TwipsGeometry*>(child))
            geometry->refreshPlacement();
    update();
}

// --- the view ---------------------------------------------------------------------

namespace {

// Around the viewport while the view has the keyboard: where the arrow keys go.
class FocusFrame : public QWidget {
public:
    explicit FocusFrame(QWidget& parent) : QWidget(&parent) {
        setObjectName(QStringLiteral("canvasFocusFrame"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        hide();
    }
    static constexpr int kWidth = 2;

protected:
    void resizeEvent(QResizeEvent*) override {
        setMask(QRegion(rect()).subtracted(rect().adjusted(kWidth, kWidth, -kWidth, -kWidth)));
    }
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
    }
};

// The start of a visible range [start, start + size) that shows [from, to] with as
// little change as it takes, or the range's start for one that does not fit.
int scrolledTo(int start, int size, int from, int to) {
    if (to - from > size)
        return (from <= start && start + size <= to) ? start : from;
    if (from < start)
        return from;
    if (to > start + size)
        return to - size;
    return start;
}

} // namespace

CanvasView::CanvasView(QWidget& window, const std::vector<QWidget*>& canvasControls,
                       const QRect& frame, const QMargins& firstMargin)
    : QScrollArea(&window) {
    setObjectName(QStringLiteral("canvasArea"));
    setFrameShape(QFrame::NoFrame);
    // The keyboard comes by Tab only: a click on an element leaves it where it is.
    setFocusPolicy(Qt::TabFocus);
    setWidgetResizable(false);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* surface = new CanvasSurface(frame, firstMargin);
    surface->setObjectName(QStringLiteral("canvasSurface"));
    for (QWidget* control : canvasControls)
        surface->adopt(*control);
    if (!canvasControls.empty())
        surface->putOverlayBehind(*canvasControls.back());
    setWidget(surface); // owns it
    m_surface = surface;
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()}) {
        bar->setFocusPolicy(Qt::NoFocus);
        // The user scrolls: the anchor of the last zoom has done its work.
        connect(bar, &QScrollBar::actionTriggered, this, [this] { settleAnchor(false); });
    }
    m_focusFrame = new FocusFrame(*this);
    // The viewport stands where the canvas controls stood in the window.
    setGeometry(QRect(QPoint(0, 0), surface->naturalSize(1)));
}

void CanvasView::setZoom(int zoom, std::optional<QPoint> anchor, std::optional<QRectF> keepShown) {
    const QPoint at = anchor.value_or(viewport()->rect().center());
    const QPointF content(at +
                          QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()));
    m_anchor = Anchor{m_surface->toDevice(content), toScreen(at), keepShown};
    m_surface->setZoom(zoom);
    keepAnchor();
}

void CanvasView::settleAnchor(bool resizing) {
    m_anchorAfterResize = resizing && m_anchor;
    if (!resizing)
        m_anchor.reset();
}

void CanvasView::keepAnchor() {
    if (!m_anchor)
        return;
    const QPoint at = fromScreen(m_anchor->global);
    const QPointF content = m_surface->fromDevice(m_anchor->device);
    horizontalScrollBar()->setValue(int(std::lround(content.x())) - at.x());
    verticalScrollBar()->setValue(int(std::lround(content.y())) - at.y());
    if (m_anchor->shown)
        showDeviceRect(*m_anchor->shown, 0);
}

QPoint CanvasView::toScreen(QPoint viewportPos) const {
    // Where the window was put, not where the window system has shown it yet: a
    // window that has just been moved may take its place later.
    const QWidget* top = window();
    return top->geometry().topLeft() + viewport()->mapTo(top, viewportPos);
}

QPoint CanvasView::fromScreen(QPoint global) const {
    return global - toScreen(QPoint(0, 0));
}

QPoint CanvasView::anchorMiss() const {
    if (!m_anchor)
        return {};
    const QPoint at = fromScreen(m_anchor->global);
    const QPointF content = m_surface->fromDevice(m_anchor->device);
    const QPoint now(int(std::lround(content.x())) - horizontalScrollBar()->value(),
                     int(std::lround(content.y())) - verticalScrollBar()->value());
    return at - now;
}

QRect CanvasView::surfaceRect(const QRectF& device) const {
    const QPointF a = m_surface->fromDevice(device.topLeft());
    const QPointF b = m_surface->fromDevice(device.bottomRight());
    return QRect(QPoint(int(std::floor(a.x())), int(std::floor(a.y()))),
                 QPoint(int(std::ceil(b.x())) - 1, int(std::ceil(b.y())) - 1));
}

void CanvasView::showDeviceRect(const QRectF& device, int margin) {
    const QRect r = surfaceRect(device).adjusted(-margin, -margin, margin, margin);
    const QSize view = viewport()->size();
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    h->setValue(scrolledTo(h->value(), view.width(), r.left(), r.right() + 1));
    v->setValue(scrolledTo(v->value(), view.height(), r.top(), r.bottom() + 1));
}

void CanvasView::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    m_surface->setArea(viewport()->size());
    m_focusFrame->setGeometry(viewport()->geometry());
    keepAnchor();
    if (m_anchorAfterResize) {
        m_anchorAfterResize = false;
        emit anchorSettled();
        m_anchor.reset();
    }
}

void CanvasView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        // The window steps the active element with them; the canvas does not scroll.
        event->accept();
        return;
    default:
        QScrollArea::keyPressEvent(event);
    }
}

void CanvasView::focusInEvent(QFocusEvent* event) {
    QScrollArea::focusInEvent(event);
    m_focusFrame->setGeometry(viewport()->geometry());
    m_focusFrame->raise();
    m_focusFrame->show();
}

void CanvasView::focusOutEvent(QFocusEvent* event) {
    QScrollArea::focusOutEvent(event);
    m_focusFrame->hide();
}

void CanvasView::wheelEvent(QWheelEvent* event) {
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (mods & Qt::ControlModifier) {
        // Steps of whole notches; a flood of events gives one step per notch.
        m_wheelRest += event->angleDelta().y();
        const int steps = m_wheelRest / kWheelStep;
        m_wheelRest -= steps * kWheelStep;
        if (steps != 0)
            emit zoomStepRequested(steps, event->position().toPoint());
        event->accept();
        return;
    }
    settleAnchor(false);
    if ((mods & Qt::ShiftModifier) && event->angleDelta().x() == 0) {
        // Shift+wheel scrolls sideways.
        QScrollBar* bar = horizontalScrollBar();
        const int lines = event->angleDelta().y() * 3 / kWheelStep;
        bar->setValue(bar->value() - lines * std::max(1, bar->singleStep()));
        event->accept();
        return;
    }
    QScrollArea::wheelEvent(event);
}

} // namespace ui
