// The element and problem lists: a load of the sample with both lists open (the check,
// the corner marks and the rows), filling the problem list with 10,000 findings, and
// loading Qt's German translation.
#include "app/frmMain.h"
#include "app/translations.h"
#include "assembly/workbench.h"
#include "benchsupport.h"
#include "extras/lists/listpanels.h"
#include "extras/lists/problemlist.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTranslator>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    if (!bench::prepareSampleRun(work.path()))
        return 1;

    std::printf("Tessel benchmarks: element and problem lists (offscreen)\n");
    // The first load is the one the program pays; later ones find the file cached.
    bool installed = false;
    bench::report("Qt's German translation, first load", 1,
                  [&](int) { installed = translations::installQtGerman(app); });
    if (!installed)
        std::printf("  (qtbase_de.qm not found: nothing was loaded)\n");
    bench::report("Qt's German translation, again", 50,
                  [&](int) { translations::installQtGerman(app); });

    Workbench bench;
    frmMain& w = bench.window();
    w.show();
    QApplication::processEvents();
    w.openSkinFolder(work.path(), false);
    bench.listPanels().setElementListOpen(true);
    bench.listPanels().setProblemListOpen(true);
    QApplication::processEvents();
    // The check runs beside the window; these wait for its findings to be shown.
    const auto settle = [&] {
        while (bench.listPanels().checking())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    };
    bench::report("lists after a load of the sample (check, rows)", 200, [&](int) {
        bench.listPanels().onLayoutLoaded();
        settle();
    });
    bench::report("the same, painted", 200, [&](int) {
        bench.listPanels().onLayoutLoaded();
        settle();
        w.repaint();
    });
    bench::report("whole reload of the sample, lists open, painted", 200, [&](int) {
        w.SetTheControls();
        settle();
        w.repaint();
    });

    std::vector<cli::Finding> many;
    for (int i = 0; i < 10000; ++i)
        many.push_back({work.path() + "/mapviewlt.ini", i + 1, i % 3 == 0,
                        QStringLiteral("[zoomwin] x=abc is not a number"),
                        QStringLiteral("[zoomwin] x=abc ist keine Zahl; der Editor lässt das "
                                       "Element, wo es war"),
                        i % 25});
    lists::ProblemPanel& problems = *bench.listPanels().problemPanel();
    bench::report("10,000 findings into the problem list, painted", 20, [&](int) {
        problems.setFindings(many);
        problems.repaint();
    });
    return 0;
}
