// Undo and redo of one layout step on the real main window (offscreen): the
// restore of the placements, the selection frame, the name and the four boxes.
#include "app/frmMain.h"
#include "benchwindow.h"
#include "elements/programstate.h"
#include "extras/session/editsession.h"

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    bench::SampleWindow run;
    if (!run.ready())
        return 1;
    frmMain& w = run.window();
    run.open();

    std::printf("Tessel benchmarks: undo and redo (offscreen)\n");
    // Two nudge steps, of "win" and of "log": an undo restores one element's
    // placement and makes it the active element again.
    w.MoveO_Click();
    w.Selector->setTag(QStringLiteral("21"));
    w.MoveS_Click();
    EditSession& session = run.bench().editSession();
    if (!session.undo() || !session.redo())
        return 1; // nothing recorded: the figures would mean nothing
    const double undo = bench::report("undo + redo of one step", 20000, [&](int) {
        session.undo();
        session.redo();
    });
    bench::report("undo + redo + repaint of the window", 2000, [&](int) {
        session.undo();
        session.redo();
        w.repaint();
    });
    std::printf("one undo or redo: about %.1f us (goal: under 1000 us)\n", undo / 2);
    std::fflush(stdout);
    programState().bChanged = false;
    return 0;
}
