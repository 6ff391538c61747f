// The canvas enlarged, on the real main window (offscreen): a full repaint at
// 800 %, and a drag step with its repaint at 800 % and at 100 %.
#include "app/frmMain.h"
#include "benchwindow.h"
#include "elements/programstate.h"
#include "resources/canvasview.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <ctime>
#include <vector>

namespace {

// CPU time of this thread, in microseconds: on a busy machine the wall-clock
// figures of bench::report count the waits for a core as well.
double cpuMicros() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

template <typename F> void measure(const char* name, int runs, F&& f) {
    std::vector<double> cpu;
    bench::report(name, runs, [&](int i) {
        const double t0 = cpuMicros();
        f(i);
        cpu.push_back(cpuMicros() - t0);
    });
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-44s cpu median %10.1f us\n", "", cpu[cpu.size() / 2]);
}

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
    measure(name, 1000, [&](int i) {
        send(win, QEvent::MouseMove, at + QPointF(i % 2 ? k : -k, 0), Qt::NoButton, Qt::LeftButton);
        w.repaint();
    });
    send(win, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton);
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

    std::printf("Tessel benchmarks: the canvas enlarged (offscreen)\n");
    dragSteps(w, *view, "drag step + repaint, 100 %");

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
    measure("repaint of a 1280 x 1024 window, 800 %", 200, [&](int) { w.repaint(); });
    dragSteps(w, *view, "drag step + repaint, 800 %");

    programState().bChanged = false;
    return 0;
}
