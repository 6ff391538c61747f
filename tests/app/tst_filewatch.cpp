// Layout files changed by another program while the skin is loaded.
#define QTEST_QPA_MOUSE_HANDLING
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QDir>
#include <QSaveFile>
#include <QtTest>

using namespace fixture;

namespace {

// Saves the way most editors do: a new file replaces the old one.
void replaceFile(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(data);
    QVERIFY(file.commit());
}

QByteArray defaultsWith(int logX, int winX) {
    return layout({QStringLiteral("log:%1,84,40,36").arg(logX), "tmc:2,124,40,36",
                   "gps:2,164,39,34", QStringLiteral("win:%1,22,41,35").arg(winX)}) +
           "[other]\r\nkept=yes\r\n";
}

QByteArray defaultsWithWinAt(int x) {
    return defaultsWith(2, x);
}

// Lets notifications that should not come have their chance (a negative can only wait):
// longer than the time a change needs to settle before it is acted on.
void settle() {
    QTest::qWait(1100);
}

} // namespace

class tst_FileWatch : public QObject {
    Q_OBJECT

private slots:
    void quietReloadKeepsTheActiveElement_data();
    void quietReloadKeepsTheActiveElement();
    void unsavedChangesAsk_data();
    void unsavedChangesAsk();
    void bothFilesAskOnce();
    void heldButtonPutsTheQuestionOff();
    void ownSaveTriggersNothing();
    void vanishedFileIsWatchedWhenItReturns();
    void halfWrittenFileIsNeverLoaded_data();
    void halfWrittenFileIsNeverLoaded();
    void missingKeyIsNoMoveToItsDefault();
    void fileCutToNothing();
};

void tst_FileWatch::quietReloadKeepsTheActiveElement_data() {
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("replaced") << false;
    QTest::newRow("rewritten in place") << true; // the same file, no rename
}

void tst_FileWatch::quietReloadKeepsTheActiveElement() {
    QFETCH(bool, inPlace);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    QTest::mouseClick(editor.w().elementPicture(21), Qt::LeftButton, {}, QPoint(20, 18));
    BoxAnswerer box("Ja");
    (inPlace ? writeFile : replaceFile)(skin + "/defaultlt.ini", defaultsWithWinAt(100));
    QTRY_COMPARE(editor.canvasRect(24).x(), 100);
    QCOMPARE(editor.w().Selector->Tag(), QStringLiteral("21"));
    QCOMPARE(editor.w().txtX->text(), QStringLiteral("2"));
    QCOMPARE(box.count, 0);
    QVERIFY(!programState().bChanged);
}

void tst_FileWatch::unsavedChangesAsk_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja reloads") << "Ja";
    QTest::newRow("Nein keeps the edits") << "Nein";
}

void tst_FileWatch::unsavedChangesAsk() {
    QFETCH(QString, answer);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    editor.click(editor.w().MoveS); // win 156,23: unsaved
    BoxAnswerer box(answer);
    const QString file = skin + "/defaultlt.ini";
    replaceFile(file, defaultsWith(50, 156)); // log moved
    QTRY_COMPARE(box.count, 1);
    QCOMPARE(box.title, QStringLiteral("Frage:"));
    QCOMPARE(box.text, "Die Datei " + QDir::toNativeSeparators(file) +
                           " wurde außerhalb von Tessel geändert. Neu laden und die eigenen "
                           "Änderungen verwerfen?");
    QCOMPARE(editor.canvasRect(21).left(), 50);
    if (answer == "Ja") {
        QTRY_COMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 22));
        QVERIFY(!programState().bChanged);
        return;
    }
    // The own edit stays, the other program's change comes in, and a save keeps both.
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 23));
    QVERIFY(programState().bChanged);
    settle();
    QCOMPARE(box.count, 1); // the same change is not asked about again
    editor.click(editor.w().BTNSave);
    QCOMPARE(box.count, 1); // no element was changed by both
    const QByteArray saved = readFile(file);
    QVERIFY(saved.startsWith("[log]\r\nx=50\r\n"));
    QVERIFY(saved.contains("x=156\r\ny=23\r\n"));
    QVERIFY(saved.contains("[other]\r\nkept=yes\r\n")); // the other program's lines survive
}

void tst_FileWatch::bothFilesAskOnce() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    editor.click(editor.w().MoveS);
    BoxAnswerer box("Nein");
    replaceFile(skin + "/mapviewlt.ini", standardMapview(40));
    replaceFile(skin + "/defaultlt.ini", defaultsWithWinAt(100));
    QTRY_COMPARE(box.count, 1);
    settle();
    QCOMPARE(box.count, 1);
    // Something else in the folder changes: the files are as they were after "Nein".
    writeFile(skin + "/notes.txt", "x");
    settle();
    QCOMPARE(box.count, 1);
}

void tst_FileWatch::heldButtonPutsTheQuestionOff() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    editor.click(editor.w().MoveS);
    BoxAnswerer box("Nein");
    const QPoint free(4, 4); // no picture there
    QTest::mousePress(&editor.w(), Qt::LeftButton, {}, free);
    replaceFile(skin + "/defaultlt.ini", defaultsWithWinAt(100));
    settle();
    QCOMPARE(box.count, 0);
    QTest::mouseRelease(&editor.w(), Qt::LeftButton, {}, free);
    QTRY_COMPARE_WITH_TIMEOUT(box.count, 1, 10000);
}

void tst_FileWatch::ownSaveTriggersNothing() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    BoxAnswerer box("Ja");
    for (int i = 0; i < 3; ++i) {
        editor.click(editor.w().MoveS);
        editor.click(editor.w().BTNSave);
        editor.click(editor.w().MoveS); // unsaved again: a reaction would ask
        settle();
    }
    QCOMPARE(box.count, 0);
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 28));
    // Still watched after the own saves replaced the files.
    editor.click(editor.w().BTNSave);
    replaceFile(skin + "/defaultlt.ini", defaultsWithWinAt(90));
    QTRY_COMPARE(editor.canvasRect(24).x(), 90);
}

void tst_FileWatch::vanishedFileIsWatchedWhenItReturns() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    QVERIFY(QFile::remove(skin + "/defaultlt.ini"));
    settle();
    QCOMPARE(editor.canvasRect(24), QRect(156, 22, 41, 35)); // no defaults loaded
    writeFile(skin + "/defaultlt.ini", defaultsWithWinAt(120));
    QTRY_COMPARE(editor.canvasRect(24).x(), 120);
}

void tst_FileWatch::halfWrittenFileIsNeverLoaded_data() {
    QTest::addColumn<QByteArray>("head"); // before the sections
    QTest::addColumn<int>("pauseMs");
    const QByteArray longHead = "; " + QByteArray(400, 'x') + "\r\n";
    QTest::newRow("first part shorter than the old file") << QByteArray() << 500;
    QTest::newRow("first part longer") << longHead << 500;
    QTest::newRow("shorter, long pause") << QByteArray() << 1200;
    QTest::newRow("longer, long pause") << longHead << 700;
}

void tst_FileWatch::halfWrittenFileIsNeverLoaded() {
    QFETCH(QByteArray, head);
    QFETCH(int, pauseMs);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    bool jumped = false; // "win" at the place of a missing section
    QTimer look;
    connect(&look, &QTimer::timeout,
            [&] { jumped |= editor.canvasRect(24) == QRect(0, 0, 20, 20); });
    look.start(5);
    const QByteArray next = head + defaultsWithWinAt(120);
    SlowWriter writer(skin + "/defaultlt.ini", next, next.indexOf("[win]") + 3, pauseMs);
    QTRY_COMPARE(editor.canvasRect(24).x(), 120);
    QVERIFY(!jumped);
}

void tst_FileWatch::missingKeyIsNoMoveToItsDefault() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    const QString file = skin + "/defaultlt.ini";
    editor.load(skin);
    replaceFile(file, defaultsWith(40, 156)); // a first change, reloaded quietly
    QTRY_COMPARE(editor.canvasRect(21).left(), 40);
    editor.click(editor.w().MoveS); // win 156,23: unsaved
    BoxAnswerer box("Nein");
    // Another program moves log and leaves win without its width for longer than a save
    // would wait: the question waits as long, and the width is not taken as 20.
    replaceFile(
        file, layout({"log:50,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:156,22,-,35"}));
    settle();
    QCOMPARE(box.count, 0);
    QTRY_COMPARE_WITH_TIMEOUT(box.count, 1, 5000);
    QCOMPARE(editor.canvasRect(21).left(), 50);
    QCOMPARE(editor.canvasRect(24), QRect(156, 23, 41, 35));
    editor.click(editor.w().BTNSave);
    QCOMPARE(Global::ReadIniValue(file, "win", "cx", "<none>"), QStringLiteral("41"));
    QCOMPARE(Global::ReadIniValue(file, "log", "x", "<none>"), QStringLiteral("50"));
}

void tst_FileWatch::fileCutToNothing() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    const QString file = skin + "/defaultlt.ini";
    editor.load(skin);
    editor.click(editor.w().MoveS);
    BoxAnswerer box("Nein");
    writeFile(file, QByteArray()); // and nothing follows
    QTRY_COMPARE_WITH_TIMEOUT(box.count, 1, 5000);
    QCOMPARE(editor.canvasRect(21), QRect(2, 84, 40, 36)); // nothing to take from it
    // The save writes the file anew, without waiting for a rest that does not come.
    editor.click(editor.w().BTNSave);
    QCOMPARE(Global::ReadIniValue(file, "log", "x", "<none>"), QStringLiteral("2"));
    QCOMPARE(Global::ReadIniValue(file, "win", "y", "<none>"), QStringLiteral("23"));
}

QTEST_MAIN(tst_FileWatch)
#include "tst_filewatch.moc"
