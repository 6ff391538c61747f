#include "resources/imagecontrol.h"

#include "resources/input.h"
#include "resources/picturefile.h"
#include "resources/screen.h"

#include <QMouseEvent>
#include <QPainter>

namespace ui {

ImageControl::ImageControl(QWidget* parent)
    : QWidget(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void ImageControl::setPicture(const QPixmap& picture) {
    m_pictureFile.clear();
    m_picture = picture;
    update();
}

void ImageControl::setPictureFile(const QString& path) {
    m_picture = QPixmap();
    m_pictureFile = path;
    update();
}

const QPixmap& ImageControl::picture() const {
    if (!m_pictureFile.isEmpty()) {
        m_picture = readPicture(m_pictureFile);
        m_pictureFile.clear();
    }
    return m_picture;
}

void ImageControl::paintEvent(QPaintEvent*) {
    const QPixmap& shown = picture();
    if (shown.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(0, 0, stretched(shown));
}

const QPixmap& ImageControl::stretched(const QPixmap& shown) const {
    // Stretching the picture is dear and a repaint often covers only a strip
    // of it: the stretched picture is kept until the size or the picture changes.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (m_stretched.size() != pixels || m_stretchedFrom != shown.cacheKey() ||
        m_stretched.devicePixelRatio() != ratio) {
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

void ImageControl::mousePressEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseDown.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseMoveEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseMove.raise(buttonBits(event->buttons()), shiftBits(event->modifiers()), float(p.x()),
                    float(p.y()));
}

void ImageControl::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF p = event->position() * kTwipsPerPixel;
    MouseUp.raise(buttonBits(event->button()), shiftBits(event->modifiers()), float(p.x()),
                  float(p.y()));
}

} // namespace ui
