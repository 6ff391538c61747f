// The selection on an enlarged canvas: a frame of three screen pixels just outside
// the active element, whatever the zoom, and handles at its corners and edge
// middles. A handle takes the pointer as the element's edge zone under it does: a
// press, a drag and a release on it act on the element as on that edge or corner.
// At 1:1 the selection frame control draws the frame itself and none of this shows.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>

namespace ui {

class ImageControl;
class ShapeControl;

class SelectionFrame : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 3;  // screen pixels of the frame
    static constexpr int kHandle = 7; // screen pixels of a handle's side
    enum Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

    // selector: the selection frame control on the enlarged canvas; activePicture:
    // the picture of the element it stands on (nullptr when none).
    SelectionFrame(ShapeControl& selector, std::function<ImageControl*()> activePicture);
    ~SelectionFrame() override;

    // The handle's widget, shown or not.
    QWidget& handle(Handle which) const;
    // The element's picture the handles act on.
    ImageControl* activePicture() const;
    // The selection frame control's colour.
    QColor colour() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QPointer<ShapeControl> m_selector;
    const QObject* m_selectorObject; // the same control, for telling its events (not owned)
    std::function<ImageControl*()> m_activePicture;
    std::array<QWidget*, 8> m_handles{}; // children of the canvas
};

} // namespace ui
