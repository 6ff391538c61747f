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
    const QString source = QStringLiteral(TESSEL_SOURCE_DIR "/skins/sample");
    // Next to the build, on the disk the user's files would be on (not tmpfs).
    QTemporaryDir work(QDir::currentPath() + "/bench-save-XXXXXX");
    for (const char* f : {"mapviewlt.ini", "defaultlt.ini"})
        QFile::copy(source + "/" + f, work.filePath(QString::fromLatin1(f)));
    QFile settings(work.filePath("Tessel.ini"));
    if (!settings.open(QIODevice::WriteOnly))
        return 1;
    settings.write(("[Directory]\r\nlastDir=" + work.path() + "/\r\n").toUtf8());
    settings.close();
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());

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
