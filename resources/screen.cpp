#include "resources/screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace ui {

namespace {

int g_pointer = 0; // the shape now shown through the override cursor (0: none)

Qt::CursorShape cursorShape(int shape) {
    switch (shape) {
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

void Screen::setMousePointer(int shape) {
    if (shape != 6 && shape != 7 && shape != 8 && shape != 9)
        shape = 0;
    if (shape == g_pointer)
        return;
    if (shape == 0) {
        QGuiApplication::restoreOverrideCursor();
    } else if (g_pointer == 0) {
        QGuiApplication::setOverrideCursor(QCursor(cursorShape(shape)));
    } else {
        QGuiApplication::changeOverrideCursor(QCursor(cursorShape(shape)));
    }
    g_pointer = shape;
}

int Screen::mousePointer() {
    return g_pointer;
}

double Screen::Width() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? double(s->geometry().width()) * kTwipsPerPixel : 0.0;
}

double Screen::Height() {
    const QScreen* s = QGuiApplication::primaryScreen();
    return s ? double(s->geometry().height()) * kTwipsPerPixel : 0.0;
}

} // namespace ui
