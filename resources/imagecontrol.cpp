#include "resources/imagecontrol.h"

#include "resources/input.h"
#include "resources/picturefile.h"
#include "resources/screen.h"

#include <QCoreApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr double kBandTwips = ImageControl::kEdgeBand * kTwipsPerPixel;

// Twips of the start of the pixel at 1:1 that holds a position given in 1:1 pixels.
double wholePixel(double pixels) {
    return kTwipsPerPixel * std::floor(pixels);
}

bool inEdgeZone(double twips, double size) {
    return twips <= kBandTwips || (size - kBandTwips <= twips && twips <= size);
}

QPointer<ImageControl> g_held; // the picture a button is held on

} // namespace

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QPixmap& picture) {
    m_pictureFile.clear();
    m_picture = picture;
    markOpaque();
    update();
}

void ImageControl::setPictureFile(const QString& path) {
    m_picture = QPixmap();
    m_pictureFile = path;
    markOpaque();
    update();
}

const QPixmap& ImageControl::picture() const {
    if (!m_pictureFile.isEmpty()) {
        m_picture = readPicture(m_pictureFile);
        m_pictureFile.clear();
        const_cast<ImageControl*>(this)->markOpaque();
    }
    return m_picture;
}

void ImageControl::markOpaque() {
    // A picture without transparency covers the whole control: what lies behind
    // it need not be painted.
    setAttribute(Qt::WA_OpaquePaintEvent, !m_picture.isNull() && !m_picture.hasAlphaChannel());
}

void ImageControl::paintEvent(QPaintEvent* event) {
    const QPixmap& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    const int zoom = viewScale();
    if (zoom == 1) {
        // A repaint of the whole control (the first one above all) stretches the
        // picture as it draws it; the stretched copy pays off only for the strips
        // that later repaints cover.
        const bool partial = !event->region().contains(rect());
        const QPixmap* whole = partial || hasStretched(shown) ? &stretched(shown) : nullptr;
        // Each dirty rectangle on its own: clipped by a rectangle, Qt copies the
        // picture in one pass instead of splitting it into spans of the region.
        for (const QRect& r : event->region()) {
            painter.setClipRect(r);
            if (whole)
                painter.drawPixmap(r.topLeft(), *whole, r);
            else
                painter.drawPixmap(rect(), shown);
        }
    } else {
        paintEnlarged(painter, shown, event->region(), zoom);
    }
}

void ImageControl::paintEnlarged(QPainter& painter, const QPixmap& shown, const QRegion& dirty,
                                 int zoom) {
    // The part of the picture at 1:1 that the dirty region shows, drawn as at
    // 1:1, then every pixel of it as a block: never the whole enlarged picture.
    const QRect whole(QPoint(0, 0), size() / zoom);
    const auto partOf = [zoom, &whole](const QRect& r) {
        return QRect(QPoint(r.left() / zoom, r.top() / zoom),
                     QPoint(r.right() / zoom, r.bottom() / zoom))
            .intersected(whole);
    };
    const QRect part = partOf(dirty.boundingRect());
    if (part.isEmpty())
        return;
    // An opaque picture is copied block by block, without blending.
    const bool opaque = !shown.hasAlphaChannel();
    QImage pixels(part.size(), opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    if (!opaque)
        pixels.fill(Qt::transparent);
    {
        QPainter small(&pixels);
        small.translate(-part.topLeft());
        small.drawPixmap(whole, shown);
    }
    // Each dirty rectangle on its own: clipped by a rectangle, Qt enlarges the
    // blocks in one pass instead of splitting them into spans of the region.
    for (const QRect& r : dirty) {
        const QRect blocks = partOf(r);
        if (blocks.isEmpty())
            continue;
        painter.setClipRect(r);
        painter.drawImage(QRect(blocks.topLeft() * zoom, blocks.size() * zoom), pixels,
                          blocks.translated(-part.topLeft()));
    }
}

double ImageControl::axis(double position, double twipsSize, int screenSize, double offset,
                          bool held) const {
    const int zoom = viewScale();
    const double pixels = position / zoom; // at 1:1
    if (held)
        return wholePixel(pixels) + offset;
    double twips = pixels * kTwipsPerPixel;
    const bool nearEdge =
        position <= kEdgeBand || position >= double(screenSize) - kEdgeBand || zoom == 1;
    const double inner = kBandTwips + 1;
    if (!nearEdge && twipsSize - inner >= inner)
        twips = std::clamp(twips, inner, twipsSize - inner);
    return twips;
}

QPointF ImageControl::reported(const QPointF& position, bool held) const {
    return QPointF(axis(position.x(), Width(), width(), m_offsetX, held),
                   axis(position.y(), Height(), height(), m_offsetY, held));
}

bool ImageControl::hasStretched(const QPixmap& shown) const {
    const qreal ratio = devicePixelRatioF();
    return m_stretched.size() == size() * ratio && m_stretchedFrom == shown.cacheKey() &&
           m_stretched.devicePixelRatio() == ratio;
}

const QPixmap& ImageControl::stretched(const QPixmap& shown) const {
    // Stretching the picture is dear and a repaint often covers only a strip
    // of it: the stretched picture is kept until the size or the picture changes.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (!hasStretched(shown)) {
        QPixmap canvas(pixels);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::transparent);
        QPainter painter(&canvas);
        painter.drawPixmap(QRect(QPoint(0, 0), size()), shown);
        painter.end();
        m_stretched = std::move(canvas);
        m_stretchedFrom = shown.cacheKey();
    }
    return m_stretched;
}

void ImageControl::endLostPress() {
    if (ImageControl* held = g_held)
        held->releaseLostPress(held->mapFromGlobal(QCursor::pos()));
}

void ImageControl::releaseLostPress(const QPointF& position) {
    if (!m_held)
        return;
    QMouseEvent release(QEvent::MouseButtonRelease, position, position, mapToGlobal(position),
                        m_heldButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(this, &release);
}

void ImageControl::mousePressEvent(QMouseEvent* event) {
    if (m_held && event->buttons() == event->button()) {
        // The last press never saw its release: it ends before this one begins.
        const QPointF last = reported(event->position(), true);
        m_held = false;
        MouseUp.raise(buttonBits(m_heldButton), 0, float(last.x()), float(last.y()));
    }
    if (event->buttons() == event->button())
        m_heldButton = event->button();
    const QPointF p = reported(event->position(), false);
    // A drag from the edge zone moves that edge to whole pixels; one from inside
    // keeps the point grabbed under the pointer, moving in whole pixels.
    const int zoom = viewScale();
    const auto offset = [zoom](double position, double twips, double size) {
        if (inEdgeZone(twips, size))
            return 0.0;
        return std::nearbyint(twips) - wholePixel(position / zoom);
    };
    m_offsetX = offset(event->position().x(), p.x(), Width());
    m_offsetY = offset(event->position().y(), p.y(), Height());
    m_held = true;
    g_held = this;
    MouseDown.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    if (m_held && event->buttons() == Qt::NoButton) {
        releaseLostPress(event->position()); // the release went to another program
        if (m_held)
            return;
    }
    const bool held = m_held && event->buttons() != Qt::NoButton;
    const QPointF p = reported(event->position(), held);
    MouseMove.raise(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = reported(event->position(), m_held);
    if (event->buttons() == Qt::NoButton) {
        m_held = false;
        if (g_held == this)
            g_held = nullptr;
    }
    MouseUp.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                  float(p.y()));
}

} // namespace ui
