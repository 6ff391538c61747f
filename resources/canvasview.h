// The canvas area of the main window: the device screen's frame with a margin
// around it, shown enlarged by a whole factor and scrolled when it is larger than
// its area. The canvas controls (map, frame, element pictures, selection frame)
// keep their twips geometry of the window at 1:1; the surface places them
// enlarged and clips whatever lies beyond its margin, so that no canvas control
// is ever drawn over another control of the window.
#pragma once

#include "resources/twipsgeometry.h"

#include <QMargins>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QScrollArea>
#include <optional>
#include <vector>

namespace ui {

class CanvasSurface : public QWidget, public Placement {
public:
    // frame: the device screen's frame in the window at 1:1 (pixels); firstMargin:
    // what the canvas shows around it at 1:1.
    CanvasSurface(const QRect& frame, const QMargins& firstMargin);

    int zoom() const { return m_zoom; }
    void setZoom(int zoom);
    bool gridShown() const { return m_grid; }
    void setGridShown(bool shown);
    // Whether the pixel grid is drawn now: it is switched on and the zoom is 4 or more.
    bool gridDrawn() const;

    // The surface fills at least this size (its scroll area's viewport).
    void setArea(const QSize& area);
    // The size that shows the frame and its margin at this zoom.
    QSize naturalSize(int zoom) const;
    // The frame on the surface, in its pixels.
    QRect frameRect() const;
    // A surface position in device pixels from the frame's corner, and back.
    QPointF toDevice(const QPointF& surface) const;
    QPointF fromDevice(const QPointF& device) const;

    QRect place(const QRect& windowPixels) const override;
    int scale() const override { return m_zoom; }

    // Becomes the parent of the control, which stays in front of those adopted before.
    void adopt(QWidget& control);
    // The dimming of the margin and the pixel grid lie over the pictures, just
    // behind this control (the selection frame).
    void putOverlayBehind(QWidget& control);

private:
    void relayout();
    QMargins margin(int zoom) const;

    class Overlay;
    QRect m_frame;      // at 1:1, in the window
    QMargins m_margin1; // at 1:1
    int m_zoom = 1;
    bool m_grid = true;
    QSize m_area;
    QPoint m_origin;              // the frame's corner on the surface
    Overlay* m_overlay = nullptr; // a child
};

class CanvasView : public QScrollArea {
    Q_OBJECT
public:
    // Takes the canvas controls, given from back to front, from their window.
    CanvasView(QWidget& window, const std::vector<QWidget*>& canvasControls, const QRect& frame,
               const QMargins& firstMargin);

    CanvasSurface& surface() const { return *m_surface; }
    int zoom() const { return m_surface->zoom(); }
    // Shows the canvas this many times as large. The device pixel under the anchor
    // (viewport pixels; the viewport's centre when none is given) stays where it
    // stands on the screen as far as scrolling can keep it; a device rectangle to
    // keep shown is scrolled into view after that.
    void setZoom(int zoom, std::optional<QPoint> anchor = std::nullopt,
                 std::optional<QRectF> keepShown = std::nullopt);
    // Scrolls the anchor's device pixel back under its screen position, as far as
    // scrolling takes it (after the window moved, say).
    void keepAnchor();
    // Whether the window is about to change the view's size after a zoom: the
    // anchor is then kept once more when it has; otherwise it has done its work.
    void settleAnchor(bool resizing);
    // How far the window would have to move for the anchor's device pixel to stand
    // where it stood on the screen (nothing when scrolling kept it, or no anchor).
    QPoint anchorMiss() const;
    // The viewport size that shows the whole canvas at this zoom.
    QSize naturalSize(int zoom) const { return m_surface->naturalSize(zoom); }

    // Scrolls as little as it takes to show the device rectangle with this many
    // screen pixels around it; of one larger than the viewport, its top left part.
    void showDeviceRect(const QRectF& device, int margin);
    // The device rectangle on the surface, in its pixels.
    QRect surfaceRect(const QRectF& device) const;

signals:
    // Ctrl+wheel: steps up (positive) or down, at this viewport position.
    void zoomStepRequested(int steps, QPoint anchor);
    // The window gave the view its size after a zoom, and the anchor was kept.
    void anchorSettled();

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Viewport positions on the screen, and back.
    QPoint toScreen(QPoint viewportPos) const;
    QPoint fromScreen(QPoint global) const;

    QPointer<CanvasSurface> m_surface;
    QWidget* m_focusFrame = nullptr; // a child, shown while the view has the keyboard
    // The device pixel to hold under a screen position until the view has settled
    // after a zoom (the window may grow and move after it).
    struct Anchor {
        QPointF device;
        QPoint global;
        std::optional<QRectF> shown;
    };
    std::optional<Anchor> m_anchor;
    bool m_anchorAfterResize = false;
    int m_wheelRest = 0; // a part of a wheel step, from fine-grained wheels
};

} // namespace ui
