// Saves while another program is writing the layout files.
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QDir>
#include <QtTest>

using namespace fixture;

namespace {

QString value(const QString& file, const QString& section, const QString& key) {
    return Global::ReadIniValue(file, section, key, QStringLiteral("<none>"));
}

// What the other program writes into defaultlt.ini: gps moved, a section of its own.
QByteArray othersDefaults(int logX = 2) {
    return layout({QStringLiteral("log:%1,84,40,36").arg(logX), "tmc:2,124,40,36",
                   "gps:7,164,39,34", "win:156,22,41,35"}) +
           "[other]\r\nkept=yes\r\n";
}

QString refusal(const QString& file, const QString& why) {
    return QStringLiteral("Die Datei ") + QDir::toNativeSeparators(file) + why +
           QStringLiteral(" Ihre Änderungen sind nicht gespeichert; versuchen Sie es gleich noch "
                          "einmal.");
}

} // namespace

class tst_SaveWhileWritten : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void saveWaitsForTheRest_data();
    void saveWaitsForTheRest();
    void busyFileIsNotReplaced_data();
    void busyFileIsNotReplaced();
};

void tst_SaveWhileWritten::saveWaitsForTheRest_data() {
    QTest::addColumn<QByteArray>("head");  // before the sections
    QTest::addColumn<QByteArray>("cutAt"); // the first part ends `cutAfter` bytes into this text
    QTest::addColumn<int>("cutAfter");
    QTest::addColumn<int>("pauseMs");
    const QByteArray longHead = "; " + QByteArray(400, 'x') + "\r\n"; // longer than the old file
    QTest::newRow("comment header, then the sections")
        << longHead << QByteArray("[log]") << 0 << 700;
    QTest::newRow("file cut short, then the rest")
        << QByteArray() << QByteArray("[gps]") << 0 << 1200;
    QTest::newRow("every key there, the last line cut")
        << longHead << QByteArray("cy=35") << 4 << 700;
}

void tst_SaveWhileWritten::saveWaitsForTheRest() {
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, cutAt);
    QFETCH(int, cutAfter);
    QFETCH(int, pauseMs);
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    editor.click(editor.w().MoveS); // win 156,23
    const QByteArray next = head + othersDefaults();
    {
        SlowWriter writer(file, next, next.indexOf(cutAt) + cutAfter, pauseMs);
        QTRY_VERIFY(writer.partWritten());
        editor.click(editor.w().BTNSave);
        QVERIFY(writer.finished()); // the save waited for the rest
    }
    // Neither a missing section nor the writer's later bytes are lost.
    QCOMPARE(editor.canvasRect(24), QRect(156, 23, 41, 35));
    QCOMPARE(editor.canvasRect(23).left(), 7);
    QCOMPARE(value(file, "win", "x"), "156");
    QCOMPARE(value(file, "win", "y"), "23");
    QCOMPARE(value(file, "win", "cx"), "41");
    QCOMPARE(value(file, "win", "cy"), "35");
    QCOMPARE(value(file, "gps", "x"), "7");
    QCOMPARE(value(file, "other", "kept"), "yes");
    QVERIFY(!programState().bChanged);
}

void tst_SaveWhileWritten::busyFileIsNotReplaced_data() {
    QTest::addColumn<bool>("afterEachMerge"); // else it stops half way, longer than a save waits
    QTest::addColumn<QString>("why");
    QTest::newRow("still being written")
        << false << " wird gerade von einem anderen Programm geschrieben.";
    QTest::newRow("keeps changing") << true
                                    << " wurde während des Speicherns immer wieder von "
                                       "einem anderen Programm geändert.";
}

void tst_SaveWhileWritten::busyFileIsNotReplaced() {
    QFETCH(bool, afterEachMerge);
    QFETCH(QString, why);
    Editor editor;
    const QString skin = editor.standardSkin();
    const QString file = skin + "/defaultlt.ini";
    const QByteArray mapview = readFile(skin + "/mapviewlt.ini");
    editor.load(skin);
    if (!afterEachMerge)
        editor.click(editor.w().MoveS); // else no edits: the save only normalises
    const QByteArray done = othersDefaults(52);
    const QByteArray left = afterEachMerge ? done : done.left(done.indexOf("[win]"));
    int writes = 0;
    QMetaObject::Connection writer;
    if (afterEachMerge)
        writer = QObject::connect(&editor.w(), &frmMain::saveBegins, &editor.w(),
                                  [&] { writeFile(file, othersDefaults(50 + writes++)); });
    else
        writeFile(file, left);
    {
        BoxAnswerer box("OK");
        editor.click(editor.w().BTNSave);
        QCOMPARE(box.count, 1);
        QCOMPARE(box.title, QStringLiteral("Speichern fehlgeschlagen"));
        QCOMPARE(box.text, refusal(file, why));
    }
    QCOMPARE(writes, afterEachMerge ? 3 : 0);
    QCOMPARE(readFile(file), left);
    QCOMPARE(readFile(skin + "/mapviewlt.ini"), mapview); // nothing written
    QVERIFY(programState().bChanged);
    QVERIFY(editor.w().windowTitle().contains('*'));

    // Once the other program is done, the next save takes its values and keeps its lines.
    QObject::disconnect(writer);
    writeFile(file, done);
    editor.click(editor.w().BTNSave);
    QVERIFY(!programState().bChanged);
    QCOMPARE(value(file, "log", "x"), "52");
    QCOMPARE(value(file, "other", "kept"), "yes");
    QCOMPARE(value(file, "win", "y"), afterEachMerge ? "22" : "23");
    QCOMPARE(editor.canvasRect(21).left(), 52);
}

QTEST_MAIN(tst_SaveWhileWritten)
#include "tst_savewhilewritten.moc"
