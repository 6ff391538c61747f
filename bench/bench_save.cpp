// Saving all 25 elements into the layout files (crash-safe writes).
#include "app/Global.h"
#include "app/frmMain.h"
#include "assembly/workbench.h"
#include "benchsupport.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/session/editsession.h"
#include "platform/profilebatch.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Another program moves and resizes all 25 elements by d pixels, long enough ago that
// nothing waits for the files to settle.
void changeEveryElementElsewhere(const QString& folder, int d) {
    {
        ProfileWriteBatch batch;
        const auto& catalogue = programState().ElementCatalogue;
        for (int i = 0; i < kElementCount; ++i) {
            const QString file = folder + catalogue[std::size_t(i)].iniFile;
            const QString section = i == 3 ? QStringLiteral("smalldummy") : catalogue[i].iniName;
            int k = 0;
            for (const char* key : {"x", "y", "cx", "cy"})
                Global::WriteIniValue(file, section, QString::fromLatin1(key),
                                      QString::number(10 + i + d + k++));
        }
    }
    for (const char* name : {"mapviewlt.ini", "defaultlt.ini"}) {
        QFile f(folder + QString::fromLatin1(name));
        if (f.open(QIODevice::ReadWrite))
            f.setFileTime(QDateTime::currentDateTime().addSecs(-10),
                          QFileDevice::FileModificationTime);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Next to the build, on the disk the user's files would be on (not tmpfs).
    const QString previous = QDir::currentPath();
    QTemporaryDir work(previous + "/bench-save-XXXXXX");
    if (!bench::prepareSampleRun(work.path()))
        return 1;

    Workbench bench;
    frmMain& w = bench.window();
    w.show();
    QApplication::processEvents();
    w.SetTheControls();
    w.BTNSave_Click(); // the first save writes the normalised values

    std::printf("Tessel benchmarks: saving (files in %s)\n", qPrintable(work.path()));
    const double looking =
        bench::report("save, nothing changed (100 writes)", 200, [&](int) { w.BTNSave_Click(); });
    // The same save without comparing the files with what was last read or written.
    EditSession& session = bench.editSession();
    QObject::disconnect(&w, &frmMain::saveBegins, &session, nullptr);
    const double blind = bench::report("  the same, without looking at the files first", 200,
                                       [&](int) { w.BTNSave_Click(); });
    QObject::connect(&w, &frmMain::saveBegins, &session, &EditSession::onSaveBegins);
    std::printf("  looking first costs %.2fx (goal: at most 1.5x)\n", looking / blind);

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

    // Another program changed every element: the save takes all 25 from the files.
    const QString folder = w.skinFolder();
    std::vector<double> merges;
    for (int i = 0; i < 20; ++i) {
        changeEveryElementElsewhere(folder, i % 2);
        const auto t0 = std::chrono::steady_clock::now();
        session.onSaveBegins(); // what a save does before it writes
        const auto t1 = std::chrono::steady_clock::now();
        merges.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        if (elementAt(24).Left() != 480 + 15 * (10 + 24 + i % 2))
            return 1; // nothing merged: the figure would mean nothing
    }
    std::sort(merges.begin(), merges.end());
    std::printf("%-44s runs %6zu  median %10.1f us  (goal: under 5000 us)\n",
                "merge of all 25 elements changed elsewhere", merges.size(),
                merges[merges.size() / 2]);
    QDir::setCurrent(previous);
    return 0;
}
