// Loading a skin and one pointer-move step of a drag and of an edge resize,
// on the real main window (offscreen).
#include "app/frmMain.h"
#include "benchwindow.h"
#include "elements/programstate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>

namespace {

void send(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::SampleWindow run;
    if (!run.ready())
        return 1;
    frmMain& w = run.window();

    std::printf("Tessel benchmarks: loading and dragging (offscreen)\n");
    bench::report("full load (SetTheControls, 25 elements)", 300, [&](int) { w.SetTheControls(); });

    // A drag of "win": press in the interior, then move back and forth.
    QWidget* win = w.elementPicture(24);
    send(win, QEvent::MouseButtonPress, QPointF(20, 15), Qt::LeftButton, Qt::LeftButton);
    send(win, QEvent::MouseMove, QPointF(20, 15), Qt::NoButton, Qt::LeftButton); // skipped
    bench::report("drag step (pointer move, interior)", 20000, [&](int i) {
        send(win, QEvent::MouseMove, QPointF(i % 2 ? 21 : 19, 15), Qt::NoButton, Qt::LeftButton);
    });
    send(win, QEvent::MouseButtonRelease, QPointF(20, 15), Qt::LeftButton, Qt::NoButton);

    // An edge resize of "win": press on the right edge, then move it.
    const double right = win->width() - 1;
    send(win, QEvent::MouseButtonPress, QPointF(right, 15), Qt::LeftButton, Qt::LeftButton);
    send(win, QEvent::MouseMove, QPointF(right, 15), Qt::NoButton, Qt::LeftButton); // skipped
    bench::report("resize step (pointer move, right edge)", 20000, [&](int i) {
        send(win, QEvent::MouseMove, QPointF(right + (i % 2 ? 1 : -1), 15), Qt::NoButton,
             Qt::LeftButton);
    });
    send(win, QEvent::MouseButtonRelease, QPointF(right, 15), Qt::LeftButton, Qt::NoButton);

    // Including the repaint that the step causes.
    send(win, QEvent::MouseButtonPress, QPointF(20, 15), Qt::LeftButton, Qt::LeftButton);
    send(win, QEvent::MouseMove, QPointF(20, 15), Qt::NoButton, Qt::LeftButton);
    bench::report("drag step + repaint of the window", 2000, [&](int i) {
        send(win, QEvent::MouseMove, QPointF(i % 2 ? 21 : 19, 15), Qt::NoButton, Qt::LeftButton);
        w.repaint();
    });
    send(win, QEvent::MouseButtonRelease, QPointF(20, 15), Qt::LeftButton, Qt::NoButton);

    programState().bChanged = false;
    return 0;
}
