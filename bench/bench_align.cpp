// Lining up by eye: the snap search of one pointer move over 25 elements, and a
// drag step on the real main window (offscreen) with and without the guides,
// the gaps and the dashed frames, repaint included, measured in one run.
#include "app/frmMain.h"
#include "benchwindow.h"
#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/align/dragcoordinator.h"
#include "extras/align/selection.h"
#include "extras/align/snapmath.h"
#include "extras/session/editsession.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

namespace {

// Counts the paint events of a widget.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

void send(QWidget& picture, QEvent::Type type, QPoint inWindow, const QWidget& window) {
    const QPointF local = picture.mapFrom(&window, inWindow);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, picture.mapToGlobal(local), button, held, Qt::NoModifier);
    QApplication::sendEvent(&picture, &e);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("Tessel benchmarks: lining up by eye (offscreen)\n");

    // 25 elements spread over the screen, one of them moving.
    std::vector<QRectF> rects;
    for (int i = 0; i < 24; ++i)
        rects.emplace_back((i * 37) % 220, (i * 53) % 300, 20 + i % 7, 15 + i % 5);
    double sink = 0;
    const double snapUs = bench::report("snap search, 25 elements, per move", 20000, [&](int i) {
        const QRectF moving(i % 200, (i * 3) % 280, 41, 35);
        const align::SnapTargets targets = align::snapTargets(rects);
        const align::SnapResult r = align::snap(moving, align::NoEdge, targets, 4);
        const std::vector<align::Gap> g = align::gaps(moving.translated(r.dx, r.dy), rects);
        sink += r.dx + double(g.size());
    });

    bench::SampleWindow run;
    if (!run.ready())
        return 1;
    frmMain& w = run.window();
    run.open();
    align::AlignSession& session = run.bench().alignment();
    PaintCounter paints;
    w.Image1->installEventFilter(&paints);

    // "win" (24) is dragged to and fro along the tops of "Menu": a guide, the
    // gaps and a repaint at every step.
    QWidget& win = *w.elementPicture(24);
    QPoint grab;
    const auto dragStep = [&](int i) {
        send(win, QEvent::MouseMove, grab + QPoint(i % 2 ? -18 : -9, 0), w);
        QApplication::processEvents();
    };
    const auto measure = [&](const char* name) {
        grab = win.mapTo(&w, QPoint(20, 17));
        send(win, QEvent::MouseButtonPress, grab, w);
        send(win, QEvent::MouseMove, grab, w); // the first move after a press does nothing
        paints.count = 0;
        const double us = bench::report(name, 3000, dragStep);
        const bool guides = !session.drag().yGuides().empty() && !session.drag().gaps().empty();
        send(win, QEvent::MouseButtonRelease, grab, w);
        QApplication::processEvents();
        std::printf("    map repaints %d, guides and gaps shown: %s\n", paints.count,
                    guides ? "yes" : "no");
        return us;
    };
    // Alternating the two, so that both see the same machine load.
    double today = 0, guided = 0;
    for (int round = 0; round < 2; ++round) {
        session.setEnabled(false);
        today += measure("drag step + repaint, without the align tools");
        session.setEnabled(true);
        guided += measure("drag step + repaint, guides and gaps");
    }
    // The part of the cost that is no painting.
    session.overlay().hide();
    measure("drag step + repaint, guides and gaps not drawn");
    session.overlay().show();
    // A group of three moving together, for comparison.
    session.selection().add(21);
    session.selection().add(18);
    measure("drag step + repaint, three selected");

    std::printf("snap search: %.2f us per move (goal: under 50 us)\n", snapUs);
    std::printf("drag step with guides: %.2f times the step without (goal: at most 1.2)\n",
                guided / today);
    std::fflush(stdout);
    programState().bChanged = false;
    return sink == 0.123 ? 2 : 0;
}
