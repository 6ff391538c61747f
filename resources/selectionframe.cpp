#include "resources/selectionframe.h"

#include "resources/imagecontrol.h"
#include "resources/screen.h"
#include "resources/shapecontrol.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

namespace {

// The pointer shape of the edge zone under a handle (as the element sets it).
int pointerShape(SelectionFrame::Handle handle) {
    switch (handle) {
    case SelectionFrame::TopLeft:
    case SelectionFrame::BottomRight:
        return 8;
    case SelectionFrame::TopRight:
    case SelectionFrame::BottomLeft:
        return 6;
    case SelectionFrame::Top:
    case SelectionFrame::Bottom:
        return 7;
    case SelectionFrame::Left:
    case SelectionFrame::Right:
        return 9;
    }
    return 0;
}

bool isCorner(SelectionFrame::Handle handle) {
    return handle == SelectionFrame::TopLeft || handle == SelectionFrame::TopRight ||
           handle == SelectionFrame::BottomRight || handle == SelectionFrame::BottomLeft;
}

} // namespace

// One handle: draws itself and hands the pointer on to the element's picture, as
// if it had come to the edge zone under the handle.
class FrameHandle : public QWidget {
public:
    FrameHandle(const SelectionFrame& frame, SelectionFrame::Handle kind, QWidget* parent)
        : QWidget(parent), m_frame(frame), m_kind(kind) {
        setAttribute(Qt::WA_NoSystemBackground);
        setFixedSize(SelectionFrame::kHandle, SelectionFrame::kHandle);
        setMouseTracking(true);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.setPen(QPen(m_frame.colour(), 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void enterEvent(QEnterEvent*) override { Screen::setMousePointer(pointerShape(m_kind)); }
    void leaveEvent(QEvent*) override {
        if (!m_target)
            Screen::setMousePointer(0);
    }
    void mousePressEvent(QMouseEvent* event) override { forward(*event); }
    void mouseDoubleClickEvent(QMouseEvent* event) override { forward(*event); }
    void mouseMoveEvent(QMouseEvent* event) override {
        if (!m_target)
            Screen::setMousePointer(pointerShape(m_kind));
        forward(*event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override { forward(*event); }

private:
    // The point of the edge zone that the handle stands for, in the picture's pixels.
    QPointF grabPoint(const ImageControl& picture) const {
        // Right and bottom exactly at the element's far edge, also for sizes of
        // fractions of a pixel.
        const double k = picture.viewScale();
        const double right = picture.Width() / kTwipsPerPixel * k;
        const double bottom = picture.Height() / kTwipsPerPixel * k;
        double x = right / 2;
        double y = bottom / 2;
        if (m_kind == SelectionFrame::TopLeft || m_kind == SelectionFrame::Left ||
            m_kind == SelectionFrame::BottomLeft)
            x = 0;
        if (m_kind == SelectionFrame::TopRight || m_kind == SelectionFrame::Right ||
            m_kind == SelectionFrame::BottomRight)
            x = right;
        if (m_kind == SelectionFrame::TopLeft || m_kind == SelectionFrame::Top ||
            m_kind == SelectionFrame::TopRight)
            y = 0;
        if (m_kind == SelectionFrame::BottomLeft || m_kind == SelectionFrame::Bottom ||
            m_kind == SelectionFrame::BottomRight)
            y = bottom;
        return {x, y};
    }

    void forward(const QMouseEvent& event) {
        const QEvent::Type type = event.type();
        const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        if (press && event.buttons() == event.button()) {
            // The first button: the pointer now stands for the grabbed edge point,
            // and every later position keeps that distance to it.
            m_target = m_frame.activePicture();
            if (m_target)
                m_shift = grabPoint(*m_target) - m_target->mapFromGlobal(event.globalPosition());
        }
        if (!m_target)
            return;
        const QPointF at = m_target->mapFromGlobal(event.globalPosition()) + m_shift;
        QMouseEvent copy(type, at, at, event.globalPosition(), event.button(), event.buttons(),
                         event.modifiers(), event.pointingDevice());
        QPointer<ImageControl> target = m_target;
        QCoreApplication::sendEvent(target, &copy);
        if (type == QEvent::MouseButtonRelease && event.buttons() == Qt::NoButton) {
            m_target = nullptr;
            if (!underMouse())
                Screen::setMousePointer(0);
        }
    }

    const SelectionFrame& m_frame;
    const SelectionFrame::Handle m_kind;
    QPointer<ImageControl> m_target; // while a button is held
    QPointF m_shift;
};

SelectionFrame::SelectionFrame(ShapeControl& selector, std::function<ImageControl*()> activePicture)
    : QWidget(selector.parentWidget()), m_selector(&selector), m_selectorObject(&selector),
      m_activePicture(std::move(activePicture)) {
    setObjectName(QStringLiteral("selectionFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    for (int i = 0; i < int(m_handles.size()); ++i) {
        auto* handle = new FrameHandle(*this, Handle(i), selector.parentWidget()); // owned there
        handle->setObjectName(QStringLiteral("selectionHandle%1").arg(i));
        m_handles[std::size_t(i)] = handle;
    }
    selector.installEventFilter(this);
    follow();
}

SelectionFrame::~SelectionFrame() {
    if (m_selector)
        m_selector->removeEventFilter(this);
    for (QWidget* handle : m_handles)
        delete handle;
}

QWidget& SelectionFrame::handle(Handle which) const {
    return *m_handles[std::size_t(which)];
}

QColor SelectionFrame::colour() const {
    return m_selector ? m_selector->BorderColor() : QColor(Qt::blue);
}

ImageControl* SelectionFrame::activePicture() const {
    return m_activePicture ? m_activePicture() : nullptr;
}

bool SelectionFrame::eventFilter(QObject* watched, QEvent* event) {
    // Compared by address: while the selection frame control is destroyed, it is a
    // control of that kind no more.
    if (watched == m_selectorObject) {
        switch (event->type()) {
        case QEvent::Destroy:
            m_selector = nullptr;
            m_selectorObject = nullptr;
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            follow();
            break;
        default:
            break;
        }
    }
    return false;
}

void SelectionFrame::follow() {
    if (!m_selector)
        return;
    const bool shown = !m_selector->isHidden() && m_selector->viewScale() > 1;
    const QRect element = m_selector->geometry();
    if (shown) {
        const QRect outer = element.adjusted(-kWidth, -kWidth, kWidth, kWidth);
        setGeometry(outer);
        // Only the ring is ours: the element shows through the inside.
        const QRect inside(QPoint(kWidth, kWidth), element.size());
        setMask(QRegion(rect()).subtracted(QRegion(inside)));
    }
    setVisible(shown);
    // Handles centred on the frame's middle line; those of the edge middles only
    // where the side leaves room between the corners.
    const int mid = kWidth / 2 + 1; // from the element's edge out to the middle line
    const int xs[] = {element.left() - mid, element.left() + element.width() / 2,
                      element.left() + element.width() - 1 + mid};
    const int ys[] = {element.top() - mid, element.top() + element.height() / 2,
                      element.top() + element.height() - 1 + mid};
    const QPoint centres[] = {{xs[0], ys[0]}, {xs[1], ys[0]}, {xs[2], ys[0]}, {xs[2], ys[1]},
                              {xs[2], ys[2]}, {xs[1], ys[2]}, {xs[0], ys[2]}, {xs[0], ys[1]}};
    const bool roomAcross = element.width() >= 4 * kHandle;
    const bool roomDown = element.height() >= 4 * kHandle;
    for (int i = 0; i < int(m_handles.size()); ++i) {
        const auto kind = Handle(i);
        QWidget* h = m_handles[std::size_t(i)];
        h->move(centres[i] - QPoint(kHandle / 2, kHandle / 2));
        const bool room =
            isCorner(kind) || ((kind == Top || kind == Bottom) ? roomAcross : roomDown);
        h->setVisible(shown && room);
    }
}

void SelectionFrame::paintEvent(QPaintEvent*) {
    if (!m_selector)
        return;
    QPainter p(this);
    p.fillRect(rect(), colour()); // the mask leaves the ring
}

} // namespace ui
