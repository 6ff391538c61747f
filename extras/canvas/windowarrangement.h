// Where the parts of the main window stand: the canvas area at the left, the
// window's other controls beside it as one block in their arrangement of the
// first size, then any panels to the right of them. A larger window gives its
// room to the canvas area; a zoom makes the window as large as the canvas wants,
// up to the screen's room, growing from where the user put it towards the room
// the screen has, and a zoom back gives it that place again.
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace ui {
class CanvasView;
}

namespace canvas {

// The parts for one window size, in the window's pixels.
struct Arrangement {
    QRect canvasArea;
    QRect controlsBlock;
    QRect rightArea; // the panels, side by side
    QRect form;      // all of them: the window between its bars
};

class WindowArrangement : public QObject {
    Q_OBJECT
public:
    // Every direct child of the window other than the canvas area is a control
    // of the block, which stands where it is now.
    WindowArrangement(QWidget& window, ui::CanvasView& canvas);
    ~WindowArrangement() override;

    // A panel to the right of the controls block (after those added before), at
    // this width and the window's full height. The window widens by it.
    void addRightPanel(QWidget& panel, int width);
    // Room right of the controls block that another unit fills itself (told where
    // through `arranged`); the window widens or narrows by the change.
    void setRightReserve(int width);
    // Bars across the window's full width above and below everything else (a menu
    // bar, a status bar; either may be null), at their own height. The window grows
    // by them, and the rest keeps its arrangement below the top bar.
    void setBars(QWidget* top, QWidget* bottom);

    Arrangement arrangementFor(const QSize& window) const;
    // The window size that shows the whole canvas at its zoom beside the controls
    // and panels, no larger than the screen's room.
    QSize preferredSize() const;
    // Where a fit starts from: where the user put the window, or where it stands now.
    enum class From { UsersPlace, Here };
    // Gives the window its preferred size and puts it as near that place as the
    // screen's room allows.
    void fitWindow(From from = From::UsersPlace);
    // Moves the window by this much, as far as the screen's room allows.
    void shiftWindow(QPoint by);
    // Where the user put the window (frame's top left corner), once a fit has seen it.
    std::optional<QPoint> usersPlace() const { return m_usersPlace; }
    // The canvas area of a window as large as the screen's room, less room for the
    // canvas's scroll bars: what a zoom can show at most without scrolling.
    QSize largestCanvasArea() const;
    // Places the parts for the window's size now.
    void arrange();

signals:
    void arranged(const canvas::Arrangement& parts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int panelsWidth() const;
    int barsHeight() const;
    QSize screenRoom() const;
    // The window at this corner, or as near as it stays on the screen.
    void placeWindow(QPoint corner);

    QWidget& m_window;
    QPointer<ui::CanvasView> m_canvas;
    QRect m_block; // the controls block at the first size
    struct Placed {
        QPointer<QWidget> widget;
        QPoint first; // its place at the first size
    };
    std::vector<Placed> m_controls;
    struct Panel {
        QPointer<QWidget> widget;
        int width;
    };
    std::vector<Panel> m_panels;
    int m_reserve = 0;
    QPointer<QWidget> m_topBar;
    QPointer<QWidget> m_bottomBar;
    std::optional<QPoint> m_usersPlace; // where the user put the window
    std::optional<QPoint> m_placed;     // where a fit or shift put it last
};

} // namespace canvas
