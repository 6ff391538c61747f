// Times the folder dialog's tree on a folder of 5000 subfolders: the listing itself (done on a
// thread of its own), and how long the window's thread is held when the folder is expanded:
// the expand call, and the longest single turn of the event loop until all items are there.
//
// Usage: bench_folderlisting [folder]   (default: /dev/shm, else the temporary folder)
#include "benchsupport.h"
#include "platform/folderlisting.h"
#include "platform/foldertree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1])
                         : QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                             ? QStringLiteral("/dev/shm")
                             : QDir::tempPath();
    QTemporaryDir temp(base + QStringLiteral("/bench-listing-XXXXXX"));
    const QString large = QDir::cleanPath(temp.path());
    for (int i = 0; i < 5000; ++i)
        QDir(large).mkdir(QString::number(i));
    const QByteArray raw = QFile::encodeName(large);

    bench::report("listFolder, 5000 folders", 20,
                  [&](int) { (void)platform::listFolder(raw, false); });

    bench::report("expand and fill the tree, 5000 folders", 10, [&](int) {
        platform::FolderTree tree(false);
        tree.setDesktopRoot({{large, QStringLiteral("Gross")}});
        QTreeWidgetItem* item = tree.topLevelItem(0)->child(2);
        QElapsedTimer clock;
        clock.start();
        item->setExpanded(true);
        const qint64 expand = clock.elapsed();
        qint64 longest = 0;
        while (item->childCount() < 5000) {
            clock.restart();
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            longest = std::max(longest, clock.elapsed());
        }
        std::printf("  expand call %lld ms, longest event-loop turn after it %lld ms\n",
                    static_cast<long long>(expand), static_cast<long long>(longest));
    });
    return 0;
}
