// Zoom of the canvas: the levels and their keys (Ctrl+Plus, Ctrl+Minus, Ctrl+0,
// Ctrl+wheel over the canvas), the pixel grid and its key (Ctrl+'), the zoom in
// the title, and both remembered in the settings file. It puts the window's
// canvas controls into a canvas area of their own and arranges the window
// around it.
#pragma once

#include <QObject>
#include <QPoint>
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

class CanvasZoom : public QObject {
    Q_OBJECT
public:
    static constexpr std::array<int, 6> kLevels{100, 200, 300, 400, 600, 800}; // percent

    explicit CanvasZoom(ui::MainForm& window);
    ~CanvasZoom() override;

    int percent() const;
    bool gridShown() const;
    // Steps that many levels up (positive) or down; the device pixel under the
    // anchor (canvas viewport pixels; its centre when none) stays in place.
    void step(int steps, std::optional<QPoint> anchor = std::nullopt);
    void setPercent(int percent, std::optional<QPoint> anchor = std::nullopt);
    void toggleGrid();

    ui::CanvasView& view() const { return *m_view; }
    WindowArrangement& arrangement() const { return *m_arrangement; }

signals:
    void zoomChanged(int percent);

private:
    void apply(int percent, std::optional<QPoint> anchor);
    void restoreSettings();
    void remember() const;
    void bindKeys();

    ui::MainForm& m_window;
    ui::CanvasView* m_view = nullptr; // a child of the window
    std::unique_ptr<WindowArrangement> m_arrangement;
    std::unique_ptr<WindowShortcuts> m_keys;
};

} // namespace canvas
