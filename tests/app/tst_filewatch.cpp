// Layout files changed by another program while the skin is loaded.
#define QTEST_QPA_MOUSE_HANDLING
#include "assembly/workbench.h"
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/session/editsession.h"
#include "extras/sync/filewatch.h"

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

// Lets the changes the watch has seen take their course (a negative can only wait): until
// each has been reported or found to be nothing to report.
void settle(Editor& editor) {
    QTest::qWait(50); // the notifications of the last writes come in
    const LayoutFileWatch* watch = editor.bench().editSession().fileWatch();
    QVERIFY(watch);
    QTRY_VERIFY_WITH_TIMEOUT(!watch->settling(), 5000);
}

QList<QRect> placesOf(Editor& editor, const QList<int>& elements) {
    QList<QRect> places;
    for (int i : elements)
        places << editor.canvasRect(i);
    return places;
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
    void emptiedFileIsLeftAlone_data();
    void emptiedFileIsLeftAlone();
    void writerIsReportedOnceWhenDone_data();
    void writerIsReportedOnceWhenDone();
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
    QTest::addColumn<bool>("undo"); // the own edit afterwards
    QTest::newRow("Ja reloads") << "Ja" << false;
    QTest::newRow("Nein keeps the edits") << "Nein" << false;
    QTest::newRow("Nein, then the own edit undone: nothing to save") << "Nein" << true;
}

void tst_FileWatch::unsavedChangesAsk() {
    QFETCH(QString, answer);
    QFETCH(bool, undo);
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
    settle(editor);
    QCOMPARE(box.count, 1); // the same change is not asked about again
    if (undo) {
        QTest::keyClick(editor.w().txtX, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(placesOf(editor, {21, 24}), (QList<QRect>{{50, 84, 40, 36}, {156, 22, 41, 35}}));
        QVERIFY(!programState().bChanged);
        QVERIFY(editor.w().close());
        QCOMPARE(box.count, 1); // closing asked nothing
        return;
    }
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
    settle(editor);
    QCOMPARE(box.count, 1);
    // Something else in the folder changes: the files are as they were after "Nein".
    writeFile(skin + "/notes.txt", "x");
    settle(editor);
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
    QTest::qWait(1100); // past the time the change would have been asked about
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
    }
    settle(editor);
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
    settle(editor);
    QCOMPARE(editor.canvasRect(24), QRect(156, 22, 41, 35)); // no defaults loaded
    writeFile(skin + "/defaultlt.ini", defaultsWithWinAt(120));
    QTRY_COMPARE(editor.canvasRect(24).x(), 120);
}

void tst_FileWatch::emptiedFileIsLeftAlone_data() {
    QTest::addColumn<bool>("edited");
    QTest::newRow("no reload") << false;
    QTest::newRow("with an unsaved edit") << true;
}

// A file cut to nothing is no layout without elements: nothing of it is taken, when the
// watch sees it, nor when a save looks at the files. (A question about it may keep the
// own edits.)
void tst_FileWatch::emptiedFileIsLeftAlone() {
    QFETCH(bool, edited);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    const QString file = skin + "/defaultlt.ini";
    editor.load(skin);
    if (edited)
        editor.click(editor.w().MoveS); // win 156,23
    const QList<int> elements{21, 22, 23, 24};
    const QList<QRect> before = placesOf(editor, elements);
    BoxAnswerer question("Nein");
    BoxAnswerer note("OK"); // whatever the save may have to say
    writeFile(file, {});
    settle(editor);
    QCOMPARE(placesOf(editor, elements), before);
    QCOMPARE(programState().bChanged, edited);
    editor.click(editor.w().BTNSave);
    QCOMPARE(placesOf(editor, elements), before);
    const QByteArray saved = readFile(file); // left to its writer, or the canvas's values
    QVERIFY(saved.isEmpty() ||
            saved == layout({"log:2,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34",
                             edited ? "win:156,23,41,35" : "win:156,22,41,35"}));
}

void tst_FileWatch::writerIsReportedOnceWhenDone_data() {
    QTest::addColumn<QByteArrayList>("writes"); // one after the other, each over the last
    QTest::addColumn<int>("pause");             // ms between two writes
    const QByteArray next = defaultsWithWinAt(120);
    const QByteArray part = next.left(next.indexOf("[win]") + 3); // shorter than the old file
    const QByteArray head = "; " + QByteArray(400, 'x') + "\r\n"; // longer than the old file
    QTest::newRow("cut short, the rest within the quiet time") << QByteArrayList{part, next} << 300;
    QTest::newRow("cut short, the rest after the quiet time") << QByteArrayList{part, next} << 700;
    QTest::newRow("longer first part, the rest within the quiet time")
        << QByteArrayList{head + part, head + next} << 300;
    QTest::newRow("three whole files, each within the quiet time of the last")
        << QByteArrayList{defaultsWithWinAt(100), defaultsWithWinAt(110), next} << 300;
}

// Nothing half written is loaded, and the quiet time starts anew with every write: the
// reload comes once, with the last content.
void tst_FileWatch::writerIsReportedOnceWhenDone() {
    QFETCH(QByteArrayList, writes);
    QFETCH(int, pause);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), standardDefaults());
    editor.load(skin);
    QList<QRect> reloaded; // where "win" stood after each reload
    connect(&editor.w(), &frmMain::layoutLoaded, &editor.w(),
            [&] { reloaded << editor.canvasRect(24); });
    for (qsizetype k = 0; k < writes.size(); ++k) {
        if (k > 0)
            QTest::qWait(pause);
        writeFile(skin + "/defaultlt.ini", writes[k]);
    }
    QTRY_COMPARE(editor.canvasRect(24).x(), 120);
    QCOMPARE(reloaded, QList<QRect>{QRect(120, 22, 41, 35)});
}

QTEST_MAIN(tst_FileWatch)
#include "tst_filewatch.moc"
