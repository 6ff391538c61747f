// The canvas enlarged, on the real main window (offscreen): a full repaint at
// 800 %, the repaint of a large window's whole canvas area, and drag steps at
// 800 % and at 100 %, with and without the guides and gaps. The full repaints
// render the widgets into a picture of their size (the offscreen window paints
// only what its screen shows); the drag steps are painted by the event loop.

#include "app/frmMain.h"
#include "benchwindow.h"
#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/align/dragcoordinator.h"
#include "resources/canvasview.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <functional>
#include <vector>

namespace {

template <typename F> void measure(const char* name, int runs, F&& f) {
    bench::report(name, runs, std::forward<F>(f));
}

void send(QWidget* w, QEvent::Type type, QPointF pos, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// A drag of "win" to and fro, each step painted as the event loop paints it:
// only what the step changed. `reach` is the step in device pixels.
// `held` runs before the button is let go.
void dragSteps(frmMain& w, ui::CanvasView& view, const char* name, QPointF reach,
               const std::function<void()>& held = {}) {
    QWidget* win = w.elementPicture(24);
    view.ensureWidgetVisible(win, 200, 200);
    QApplication::processEvents();
    const int k = view.zoom();
    const QPointF at(20.0 * k, 15.0 * k);
    send(win, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton);
    send(win, QEvent::MouseMove, at, Qt::NoButton, Qt::LeftButton); // skipped
    measure(name, 1000, [&](int i) {
        send(win, QEvent::MouseMove, at + (i % 2 ? reach : -reach) * k, Qt::NoButton,
             Qt::LeftButton);
        QApplication::processEvents();
    });
    if (held)
        held();
    send(win, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::SampleWindow run;
    if (!run.ready())
        return 1;
    frmMain& w = run.window();
    run.open();
    auto* view = w.findChild<ui::CanvasView*>();
    if (!view)
        return 1;
    align::AlignSession& aids = run.bench().alignment();

    std::printf("Tessel benchmarks: the canvas enlarged (offscreen)\n");
    aids.setEnabled(false);
    dragSteps(w, *view, "drag step, 100 %", {1, 0});

    // The whole canvas at 800 %, its margin included, as one picture.
    view->setZoom(8);
    w.resize(1280, 1024);
    QApplication::processEvents();
    ui::CanvasSurface& surface = view->surface();
    QImage whole(surface.size(), QImage::Format_RGB32); // as a window's backing store
    std::printf("canvas at 800 %%: %d x %d pixels\n", whole.width(), whole.height());
    measure("full repaint of the canvas, 800 %", 100, [&](int) {
        QPainter painter(&whole);
        surface.render(&painter);
    });
    surface.setGridShown(false);
    measure("full repaint of the canvas, 800 %, no grid", 100, [&](int) {
        QPainter painter(&whole);
        surface.render(&painter);
    });
    surface.setGridShown(true);

    // The largest repaint a user causes: the whole canvas area of a large window,
    // as after a zoom step or a scroll by a page.
    w.resize(2560, 1440);
    QApplication::processEvents();
    std::printf("canvas area of a 2560 x 1440 window: %d x %d pixels\n", view->viewport()->width(),
                view->viewport()->height());
    QImage area(view->viewport()->size(), QImage::Format_RGB32);
    measure("canvas area of 2560 x 1440 repainted, 800 %", 200, [&](int) {
        QPainter painter(&area);
        view->viewport()->render(&painter);
    });
    QScrollBar* bar = view->verticalScrollBar();
    measure("scroll by a page and repaint, 800 %", 200, [&](int i) {
        bar->triggerAction(i % 2 ? QAbstractSlider::SliderPageStepSub
                                 : QAbstractSlider::SliderPageStepAdd);
        QApplication::processEvents();
    });
    bar->setValue(0);

    dragSteps(w, *view, "drag step, 800 %, grid", {1, 0});
    // Along the tops of "Menu": a guide across the screen and the gaps at every step.
    aids.setEnabled(true);
    dragSteps(w, *view, "drag step, 800 %, grid, guides and gaps", {-9, 0}, [&] {
        std::printf("%-44s guides %zu, gaps %zu\n", "",
                    aids.drag().xGuides().size() + aids.drag().yGuides().size(),
                    aids.drag().gaps().size());
    });

    programState().bChanged = false;
    return 0;
}
