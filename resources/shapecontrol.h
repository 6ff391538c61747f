// Rectangle shape: a windowless frame with a border colour and width, a
// transparent interior and a text tag. It never takes a mouse event.
#pragma once

#include "resources/twipsgeometry.h"

#include <QColor>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace ui {

class ShapeControl : public QWidget, public TwipsGeometry {
public:
    explicit ShapeControl(QWidget* parent);

    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    // Border width in pixels.
    std::int16_t BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(std::int16_t pixels);

    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_borderColor;
    std::int16_t m_borderWidth = 1;
    QString m_tag;
};

} // namespace ui
