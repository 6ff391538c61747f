#include "resources/imagecontrol.h"

#include "resources/input.h"
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
    m_picture = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent*) {
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
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
