#include "extras/canvas/windowarrangement.h"

#include "resources/canvasview.h"

#include <QEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace canvas {

WindowArrangement::WindowArrangement(QWidget& window, ui::CanvasView& canvas)
    : m_window(window), m_canvas(&canvas) {
    QRect controls;
    for (QObject* child : window.children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (!widget || widget == &canvas || widget->isWindow())
            continue;
        m_controls.push_back({widget, widget->pos()});
        controls |= widget->geometry();
    }
    // The block reaches from its leftmost control to the window's right edge.
    m_block = QRect(QPoint(controls.left(), 0), QPoint(window.width() - 1, window.height() - 1));
    window.installEventFilter(this);
    arrange();
}

WindowArrangement::~WindowArrangement() {
    m_window.removeEventFilter(this);
}

void WindowArrangement::addRightPanel(QWidget& panel, int width) {
    std::erase_if(m_controls, [&panel](const Placed& p) { return p.widget == &panel; });
    m_panels.push_back({&panel, std::max(0, width)});
    m_window.resize(m_window.width() + std::max(0, width), m_window.height());
    arrange();
}

void WindowArrangement::setRightReserve(int width) {
    width = std::max(0, width);
    if (width == m_reserve)
        return;
    const int change = width - m_reserve;
    m_reserve = width;
    // The window widens by the column as far as the screen has room; beyond that the
    // canvas area gives up the room and scrolls, but never below its first width, so
    // that no control moves from its first place. Closing gives the canvas its room back.
    const int least = m_block.right() + 1 + panelsWidth();
    const int wanted = change > 0 ? std::min(m_window.width() + change, screenRoom().width())
                                  : std::max(m_window.width() + change, preferredSize().width());
    m_window.resize(std::max(least, wanted), m_window.height());
    arrange();
}

void WindowArrangement::setBars(QWidget* top, QWidget* bottom) {
    std::erase_if(m_controls,
                  [&](const Placed& p) { return p.widget == top || p.widget == bottom; });
    const int before = barsHeight();
    m_topBar = top;
    m_bottomBar = bottom;
    m_window.resize(m_window.width(), m_window.height() + barsHeight() - before);
    arrange();
}

int WindowArrangement::barsHeight() const {
    int height = 0;
    for (const QWidget* bar : {m_topBar.data(), m_bottomBar.data()})
        if (bar)
            height += bar->sizeHint().height();
    return height;
}

int WindowArrangement::panelsWidth() const {
    int width = m_reserve;
    for (const Panel& panel : m_panels)
        if (panel.widget)
            width += panel.width;
    return width;
}

Arrangement WindowArrangement::arrangementFor(const QSize& window) const {
    const int right = panelsWidth();
    const int canvasWidth = std::max(0, window.width() - m_block.width() - right);
    const int top = m_topBar ? m_topBar->sizeHint().height() : 0;
    const int height = std::max(0, window.height() - barsHeight());
    return {QRect(0, top, canvasWidth, height), QRect(canvasWidth, top, m_block.width(), height),
            QRect(canvasWidth + m_block.width(), top, right, height),
            QRect(0, top, window.width(), height)};
}

QSize WindowArrangement::screenRoom() const {
    const QScreen* screen = m_window.screen();
    if (!screen)
        return QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    // The frame of the window manager takes its part of the room.
    const QSize decoration =
        m_window.isVisible() ? m_window.frameGeometry().size() - m_window.size() : QSize(0, 0);
    return screen->availableGeometry().size() - decoration;
}

QSize WindowArrangement::preferredSize() const {
    if (!m_canvas)
        return m_window.size();
    const QSize canvas = m_canvas->naturalSize(m_canvas->zoom());
    QSize wanted(canvas.width() + m_block.width() + panelsWidth(),
                 std::max(canvas.height(), m_block.height()) + barsHeight());
    const QSize room = screenRoom();
    // Where the canvas must scroll one way, its scroll bar takes room the other way.
    const int bar = m_canvas->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    if (wanted.width() > room.width())
        wanted.rheight() += bar;
    if (wanted.height() > room.height())
        wanted.rwidth() += bar;
    return wanted.boundedTo(room);
}

QSize WindowArrangement::largestCanvasArea() const {
    const QSize area = arrangementFor(screenRoom()).canvasArea.size();
    const int bar = m_canvas ? m_canvas->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
    return (area - QSize(bar, bar)).expandedTo(QSize(0, 0));
}

void WindowArrangement::fitWindow(From from) {
    const QPoint here = m_window.pos();
    // A window that stands elsewhere than a fit put it was moved by the user.
    if (!m_placed || here != *m_placed)
        m_usersPlace = here;
    m_window.resize(preferredSize());
    placeWindow(from == From::Here ? here : *m_usersPlace);
}

void WindowArrangement::shiftWindow(QPoint by) {
    placeWindow(m_window.pos() + by);
}

void WindowArrangement::placeWindow(QPoint corner) {
    if (!m_window.isVisible() || !m_window.screen())
        return;
    // A window that would reach beyond the screen's edge grows the other way.
    const QRect room = m_window.screen()->availableGeometry();
    const QSize frame = m_window.frameGeometry().size();
    corner.setX(std::max(room.left(), std::min(corner.x(), room.right() + 1 - frame.width())));
    corner.setY(std::max(room.top(), std::min(corner.y(), room.bottom() + 1 - frame.height())));
    if (corner != m_window.pos())
        m_window.move(corner);
    m_placed = corner;
}

void WindowArrangement::arrange() {
    const Arrangement parts = arrangementFor(m_window.size());
    if (m_canvas)
        m_canvas->setGeometry(parts.canvasArea);
    const QPoint shift(parts.controlsBlock.left() - m_block.left(), parts.form.top());
    for (const Placed& control : m_controls)
        if (control.widget)
            control.widget->move(control.first + shift);
    int left = parts.rightArea.left() + m_reserve;
    for (const Panel& panel : m_panels) {
        if (!panel.widget)
            continue;
        panel.widget->setGeometry(left, parts.rightArea.top(), panel.width,
                                  parts.rightArea.height());
        left += panel.width;
    }
    if (m_topBar)
        m_topBar->setGeometry(0, 0, m_window.width(), parts.form.top());
    if (m_bottomBar)
        m_bottomBar->setGeometry(0, parts.form.bottom() + 1, m_window.width(),
                                 m_window.height() - parts.form.bottom() - 1);
    emit arranged(parts);
}

bool WindowArrangement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &m_window && event->type() == QEvent::Resize)
        arrange();
    return false;
}

} // namespace canvas
