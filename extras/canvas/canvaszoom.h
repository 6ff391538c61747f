// Zoom of the canvas: the levels and their keys (Ctrl+Plus, Ctrl+Minus, Ctrl+0,
// Ctrl+wheel over the canvas), the pixel grid and its key (Ctrl+'), the zoom in
// the title, and both remembered in the settings file. It puts the window's
// canvas controls into a canvas area of their own and arranges the window
// around it. A zoom keeps the window where the user put it, growing towards the
// screen's room; from the wheel it keeps the device pixel under the pointer, from
// the keys the active element in view. The enlarged canvas shows the selection
// outside the element, follows the active element and lets screen readers and
// the keyboard reach the elements.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRectF>
#include <array>
#include <memory>
#include <optional>

class WindowShortcuts;
namespace ui {
class MainForm;
class CanvasView;
} // namespace ui

namespace canvas {

class WindowArrangement;
class ActiveFollow;

class CanvasZoom : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 6> kLevels{100, 200, 300, 400, 600, 800}; // percent

    explicit CanvasZoom(ui::MainForm& window);
    ~CanvasZoom() override;

    int percent() const;
    bool gridShown() const;
    // Steps that many levels up (positive) or down. With an anchor (canvas viewport
    // pixels: the pointer) the device pixel under it stays where it is on the
    // screen; without one the active element stays in view.
    void step(int steps, std::optional<QPoint> anchor = std::nullopt);
    void setPercent(int percent, std::optional<QPoint> anchor = std::nullopt);
    void toggleGrid();
    // The largest level at which this rectangle of device pixels fits the largest
    // canvas area the window can give, with the rectangle in the middle of the view.
    void zoomToFit(const QRectF& device);
    // The whole device screen, as large as it fits.
    void zoomToScreen();

    ui::CanvasView& view() const { return *m_view; }
    WindowArrangement& arrangement() const { return *m_arrangement; }
    ActiveFollow& follow() const { return *m_follow; }

signals:
    void zoomChanged(int percent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(int percent, std::optional<QPoint> anchor);
    void restoreSettings();
    void remember() const;
    void bindKeys();
    // Moves the window as far as the anchor's pixel needs to stand under the pointer.
    void followPointer();

    ui::MainForm& m_window;
    ui::CanvasView* m_view = nullptr; // a child of the window
    std::unique_ptr<WindowArrangement> m_arrangement;
    std::unique_ptr<ActiveFollow> m_follow;
    bool m_pointerZoom = false; // the last zoom came from the wheel
    std::unique_ptr<WindowShortcuts> m_keys;
};

} // namespace canvas
