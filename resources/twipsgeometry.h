// Position and size of a control in twips (floating point), 15 twips per pixel.
// The widget sits at the nearest whole pixel, but a read gives back exactly the
// value written.
#pragma once

class QRect;
class QWidget;

namespace ui {

// A container that places the controls it holds itself, such as the canvas shown
// enlarged: it maps a control's pixel rectangle in the window at 1:1 to its own
// pixels. Every pixel at 1:1 becomes scale() x scale() of its pixels.
class Placement {
public:
    virtual QRect place(const QRect& windowPixels) const = 0;
    virtual int scale() const = 0;

protected:
    ~Placement() = default;
};

class TwipsGeometry {
public:
    explicit TwipsGeometry(QWidget& widget) : m_widget(widget) {}
    TwipsGeometry(const TwipsGeometry&) = delete;
    TwipsGeometry& operator=(const TwipsGeometry&) = delete;

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }

    void setLeft(double twips);
    void setTop(double twips);
    // A negative size is refused with RuntimeError(InvalidPropertyValue).
    void setWidth(double twips);
    void setHeight(double twips);
    void Move(double left, double top, double width, double height);

    // The control's own visibility flag (independent of its window's).
    bool Visible() const;
    void setVisibleProp(bool visible);

    // Pixels of the widget for a twips value.
    static int toPixels(double twips);

    // How many pixels the control shows for one of its pixels at 1:1 (its
    // container's scale, 1 outside such a container).
    int viewScale() const;
    // Places the widget afresh, after its container changed its placement.
    void refreshPlacement() { place(); }

protected:
    // Adopts the widget's current pixel geometry as the twips geometry.
    void adoptWidgetGeometry();

private:
    void place();

    QWidget& m_widget;
    double m_left = 0;
    double m_top = 0;
    double m_width = 0;
    double m_height = 0;
};

} // namespace ui
