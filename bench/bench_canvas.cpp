// The canvas enlarged, on the real main window (offscreen): a full repaint at
// 800 %, and a drag step with its repaint at 800 % and at 100 %.
#include "app/frmMain.h"
#include "benchsupport.h"
#include "elements/programstate.h"
#include "resources/canvasview.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

namespace {

void send(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A drag of "win" by one device pixel back and forth, each step repainted.
void dragSteps(frmMain& w, ui::CanvasView& view, const char* name) {
    QWidget* win = w.elementPicture(24);
    view.ensureWidgetVisible(win);
    QApplication::processEvents();
    const int k = view.zoom();
    const QPointF at(20.0 * k, 15.0 * k);
    send(win, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(win, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); // skipped
    bench::report(name, 1000, [&](int i) {
        send(win, QEvent::MouseMove, at + QPointF(i % 2 ? k : -k, 0), Qt::NoButton, Qt::LeftButton);
        w.repaint();
    });
    send(win, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!bench::prepareSampleRun(work.path()))
        return 1;

    frmMain w;
    w.show();
    QApplication::processEvents();
    w.openSkinFolder(work.path(), false);
    auto* view = w.findChild<ui::CanvasView*>();
    if (!view)
        return 1;

    std::printf("Tessel benchmarks: the canvas enlarged (offscreen)\n");
    dragSteps(w, *view, "drag step + repaint, 100 %");

    // The whole canvas at 800 %, its margin included, as one picture.
    view->setZoom(8);
    w.resize(1280, 1024);
    QApplication::processEvents();
    ui::CanvasSurface& surface = view->surface();
    QImage whole(surface.size(), QImage::Format_ARGB32_Premultiplied);
    std::printf("canvas at 800 %%: %d x %d pixels\n", whole.width(), whole.height());
    bench::report("full repaint of the canvas, 800 %", 100, [&](int) {
        QPainter painter(&whole);
        surface.render(&painter);
    });
    surface.setGridShown(false);
    bench::report("full repaint of the canvas, 800 %, no grid", 100, [&](int) {
        QPainter painter(&whole);
        surface.render(&painter);
    });
    surface.setGridShown(true);
    bench::report("repaint of a 1280 x 1024 window, 800 %", 200, [&](int) { w.repaint(); });
    dragSteps(w, *view, "drag step + repaint, 800 %");

    programState().bChanged = false;
    return 0;
}
