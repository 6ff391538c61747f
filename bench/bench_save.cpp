// Saving all 25 elements into the layout files (crash-safe writes).
#include "app/frmMain.h"
#include "benchsupport.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Next to the build, on the disk the user's files would be on (not tmpfs).
    const QString previous = QDir::currentPath();
    QTemporaryDir work(previous + "/bench-save-XXXXXX");
    if (!bench::prepareSampleRun(work.path()))
        return 1;

    frmMain w;
    w.show();
    QApplication::processEvents();
    w.SetTheControls();
    w.BTNSave_Click(); // the first save writes the normalised values

    std::printf("Tessel benchmarks: saving (files in %s)\n", qPrintable(work.path()));
    bench::report("save, nothing changed (100 writes)", 50, [&](int) { w.BTNSave_Click(); });

    bench::report("save, one element moved (2 values change)", 30, [&](int i) {
        clsImage& e = elementAt(24);
        e.setLeft(e.Left() + (i % 2 ? 15 : -15));
        e.setTop(e.Top() + (i % 2 ? 15 : -15));
        w.BTNSave_Click();
    });

    bench::report("save, every value changed (100 writes)", 10, [&](int i) {
        const int d = i % 2 ? 15 : -15;
        for (int k = 0; k < kElementCount; ++k) {
            clsImage& e = elementAt(k);
            e.setLeft(e.Left() + d);
            e.setTop(e.Top() + d);
            e.setWidth(e.width() + 15);
            e.setHeight(e.height() + 15);
        }
        w.BTNSave_Click();
    });
    QDir::setCurrent(previous);
    return 0;
}
