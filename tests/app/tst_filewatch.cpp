// Layout files changed by another program while the skin is loaded.
#define QTEST_QPA_MOUSE_HANDLING
#include "app/Global.h"
#include "assembly/workbench.h"
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/session/editsession.h"
#include "extras/sync/filewatch.h"
#include "extras/undo/layouthistory.h"

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

void undoKey(frmMain& w) {
    QTest::keyClick(w.focusWidget() ? w.focusWidget() : &w, Qt::Key_Z, Qt::ControlModifier);
}

// The canvas rectangles of all elements.
QList<QRect> allRects(Editor& editor) {
    QList<QRect> rects;
    for (int i = 0; i < kElementCount; ++i)
        rects << editor.canvasRect(i);
    return rects;
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
    void mergedInfobarHeightShiftsTheElementsBelow_data();
    void mergedInfobarHeightShiftsTheElementsBelow();
    void changeThatMovesNothingIsTakenQuietly_data();
    void changeThatMovesNothingIsTakenQuietly();
    void missingKeyIsNoMoveToItsDefault();
};

void tst_FileWatch::quietReloadKeepsTheActiveElement_data() {
    QTest::addColumn<bool>("inPlace");
    QTest::newRow("replaced") << false;
    QTest::newRow("rewritten in place") << true; // the same file, no rename
}

void tst_FileWatch::quietReloadKeepsTheActiveElement() {
    QFETCH(bool, inPlace);
    Editor editor;
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
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
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
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
    QTest::newRow("cut short, the rest after a long pause") << QByteArrayList{part, next} << 1200;
    QTest::newRow("longer first part, the rest after the quiet time")
        << QByteArrayList{head + part, head + next} << 700;
    QTest::newRow("three whole files, each within the quiet time of the last")
        << QByteArrayList{defaultsWithWinAt(100), defaultsWithWinAt(110), next} << 300;
}

// Nothing half written is loaded, and the quiet time starts anew with every write: the
// reload comes once, with the last content.
void tst_FileWatch::writerIsReportedOnceWhenDone() {
    QFETCH(QByteArrayList, writes);
    QFETCH(int, pause);
    Editor editor;
    const QString skin = editor.loadStandard();
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

void tst_FileWatch::mergedInfobarHeightShiftsTheElementsBelow_data() {
    QTest::addColumn<bool>("question"); // merged by "Nein" to the question, else by a save
    QTest::addColumn<int>("edited");    // the element the user nudged down by one before
    QTest::newRow("Nein, win edited") << true << 24;
    QTest::newRow("save, win edited") << false << 24;
    QTest::newRow("Nein, to edited") << true << 2;
    QTest::newRow("save, to edited") << false << 2;
}

void tst_FileWatch::mergedInfobarHeightShiftsTheElementsBelow() {
    QFETCH(bool, question);
    QFETCH(int, edited);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(30), standardDefaults());
    editor.load(skin);
    frmMain& w = editor.w();
    QCOMPARE(editor.canvasRect(2).top(), 40 - 28); // "to", shifted by the info bar
    QTest::mouseClick(w.elementPicture(edited), Qt::LeftButton, {}, QPoint(10, 9));
    editor.click(w.MoveS);
    {
        BoxAnswerer no("Nein");
        BoxAnswerer note("OK");
        replaceFile(skin + "/mapviewlt.ini", standardMapview(40));
        if (question)
            QTRY_COMPARE(no.count, 1);
        else
            editor.click(w.BTNSave);
        QCOMPARE(note.count, 0); // the info bar was changed by the other program alone
    }
    // Every element keeps its file value and shows with the new shift.
    QCOMPARE(editor.canvasRect(2).top(), edited == 2 ? 40 - 38 + 1 : 40 - 38);
    QCOMPARE(editor.canvasRect(1).height(), 40);
    if (edited == 2) {
        undoKey(w);
        QCOMPARE(editor.canvasRect(2).top(), 40 - 38);
        QCOMPARE(programState().bChanged, !question); // a save wrote the nudge
    }
    editor.click(w.BTNSave);
    // What a load of the saved files draws.
    const QList<QRect> drawn = allRects(editor);
    w.SetTheControls();
    QCOMPARE(allRects(editor), drawn);
}

void tst_FileWatch::changeThatMovesNothingIsTakenQuietly_data() {
    QTest::addColumn<bool>("unsaved"); // the user's nudge is not saved yet
    QTest::addColumn<QString>("file"); // the file the other program rewrites
    QTest::addColumn<QString>("how");  // what it changes, every element's values kept
    QTest::addColumn<bool>("infobar"); // the user saved another info bar height first
    QTest::newRow("comment, unsaved") << true << "defaultlt.ini"
                                      << "comment" << false;
    QTest::newRow("comment, saved") << false << "defaultlt.ini"
                                    << "comment" << false;
    QTest::newRow("line endings, unsaved") << true << "mapviewlt.ini"
                                           << "line endings" << false;
    QTest::newRow("line endings, saved") << false << "mapviewlt.ini"
                                         << "line endings" << false;
    QTest::newRow("same value spelt otherwise") << true << "defaultlt.ini"
                                                << "spelling" << false;
    // The canvas keeps the shift of the load; the file's values did not change.
    QTest::newRow("comment after a new info bar height") << false << "mapviewlt.ini"
                                                         << "comment" << true;
}

void tst_FileWatch::changeThatMovesNothingIsTakenQuietly() {
    QFETCH(bool, unsaved);
    QFETCH(QString, file);
    QFETCH(QString, how);
    QFETCH(bool, infobar);
    Editor editor;
    const QString skin = editor.loadStandard();
    frmMain& w = editor.w();
    if (infobar) {
        QTest::mouseClick(w.elementPicture(1), Qt::LeftButton, {}, QPoint(100, 9));
        w.txtCY->setFocus();
        w.txtCY->selectAll();
        QTest::keyClicks(w.txtCY, "50");
        editor.click(w.BTNSave);
        QTest::mouseClick(w.elementPicture(24), Qt::LeftButton, {}, QPoint(20, 18));
    }
    editor.click(w.MoveS); // win 156,23
    if (!unsaved)
        editor.click(w.BTNSave);
    int loads = 0;
    connect(&w, &frmMain::layoutLoaded, &w, [&] { ++loads; });
    BoxAnswerer box("Ja");
    QByteArray content = readFile(skin + "/" + file);
    if (how == "comment")
        content = "; written by another program\r\n" + content + "[other]\r\nk=1\r\n";
    else if (how == "line endings")
        content.replace("\r\n", "\n");
    else
        content.replace("x=156", "x = 156.0");
    replaceFile(skin + "/" + file, content);
    settle(editor);
    QCOMPARE(box.count, 0);
    QCOMPARE(loads, 0);
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 23));
    QCOMPARE(programState().bChanged, unsaved);
    QCOMPARE(editor.bench().editSession().history().stack().count(), infobar ? 2 : 1);
    undoKey(w);
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 22));
    QCOMPARE(programState().bChanged, !unsaved);
    // The other program's text is the new base: a change after it is still noticed.
    replaceFile(skin + "/defaultlt.ini", defaultsWith(50, 156));
    QTRY_COMPARE(editor.canvasRect(21).left(), 50);
}

void tst_FileWatch::missingKeyIsNoMoveToItsDefault() {
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    replaceFile(file, defaultsWith(40, 156)); // a first change, reloaded quietly
    QTRY_COMPARE(editor.canvasRect(21).left(), 40);
    editor.click(editor.w().MoveS); // win 156,23: unsaved
    BoxAnswerer box("Nein");
    // Another program moves log and leaves win without its width for longer than a save
    // would wait: the question waits as long, and the width is not taken as 20.
    replaceFile(
        file, layout({"log:50,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:156,22,-,35"}));
    QTest::qWait(1100); // twice the quiet time
    QCOMPARE(box.count, 0);
    QTRY_COMPARE_WITH_TIMEOUT(box.count, 1, 5000);
    QCOMPARE(editor.canvasRect(21).left(), 50);
    QCOMPARE(editor.canvasRect(24), QRect(156, 23, 41, 35));
    editor.click(editor.w().BTNSave);
    QCOMPARE(Global::ReadIniValue(file, "win", "cx", "<none>"), QStringLiteral("41"));
    QCOMPARE(Global::ReadIniValue(file, "log", "x", "<none>"), QStringLiteral("50"));
}

QTEST_MAIN(tst_FileWatch)
#include "tst_filewatch.moc"
