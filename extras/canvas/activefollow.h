// The canvas follows the active element: whenever another element becomes the
// active one (Ctrl+Tab, a row of a list, a click), an enlarged canvas scrolls it
// into view, once the button that chose it is up, and screen readers are told.
// A load that makes its last element active scrolls nothing.
#pragma once

#include <QObject>
#include <QRectF>

namespace ui {
class MainForm;
class CanvasView;
} // namespace ui

namespace canvas {

class ActiveFollow : public QObject {
public:
    // Screen pixels shown around the element: its frame and handles.
    static constexpr int kMargin = 8;

    ActiveFollow(ui::MainForm& window, ui::CanvasView& view);
    ~ActiveFollow() override;

    // The active element, or -1 before the first load.
    int active() const;
    // The element's rectangle in device pixels.
    QRectF deviceRect(int index) const;
    // A load chose the active element: it stays where the canvas shows it.
    void onLayoutLoaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void queueCheck();
    void check();

    ui::MainForm& m_window;
    ui::CanvasView& m_view;
    int m_known = -1;
    bool m_queued = false;
    bool m_waitingForRelease = false;
};

} // namespace canvas
