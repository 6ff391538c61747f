// Saving the layout and the question before a reload or the end.
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QFile>
#include <QLocale>
#include <QtTest>

using namespace fixture;

namespace {

QString value(const QString& file, const QString& section, const QString& key) {
    return Global::ReadIniValue(file, section, key, QStringLiteral("<none>"));
}

// Dates the file's last change back: another program wrote it a while ago, and a save has
// nothing to wait for.
void writtenAWhileAgo(const QString& path) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-2),
                             QFileDevice::FileModificationTime));
}

// Types a value into a box as a user does (the key release applies the boxes).
void type(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

} // namespace

class tst_Save : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void saveWithoutChangesNormalises();
    void savesEveryElementInEveryView_data();
    void savesEveryElementInEveryView();
    void twoViewsSavedOneAfterTheOther();
    void shiftIsAddedBack();
    void negativePositionsAfterDraggingOff();
    void fractionsInTheUsersNumberFormat();
    void questionOnViewChange_data();
    void questionOnViewChange();
    void noQuestionWithoutChanges();
    void checkBoxAsksAndReloads();
    void typedValuesCountAsChanges();
    void closingAsksWhileTheWindowIsShown_data();
    void closingAsksWhileTheWindowIsShown();
    void failedSaveIsReported();
    void failedSaveOnCloseKeepsTheWindow();
    void keyThatCannotBeComputedFailsTheSave();
    void fileCreatedFromNothing();
    void loadWithUnsavedChangesAsks_data();
    void loadWithUnsavedChangesAsks();
    void saveTakesOutsideChanges_data();
    void saveTakesOutsideChanges();
    void saveWaitsForAFileStillBeingWritten_data();
    void saveWaitsForAFileStillBeingWritten();
    void writeBetweenMergeAndSaveStartsOver();
    void halfFailedSaveKeepsTheMarkOfEachFile();
    void typedValueIsTakenOnlyWhenHeldExactly_data();
    void typedValueIsTakenOnlyWhenHeldExactly();
    void boxShowingTheElementIsNotTakenAgain();
};

void tst_Save::saveWithoutChangesNormalises() {
    Editor editor;
    const QByteArray mapview = crlf({"; comment before the first section",
                                     "",
                                     "[infobar]",
                                     "x = 0 ",
                                     "y=283",
                                     "cx=240",
                                     "cy=30",
                                     "bkcolor=0x000000",
                                     "",
                                     "[from]",
                                     "x=99",
                                     "y=300",
                                     "cx=176",
                                     "cy=19",
                                     "font=Tahoma,11",
                                     "[routeinfo]",
                                     "x=0",
                                     "y=222",
                                     "cx=58",
                                     "cy=80",
                                     "[nextinfo]",
                                     "y=abc",
                                     "[smalldummy]",
                                     "x=62",
                                     "y=302",
                                     "cx=176",
                                     "cy=19",
                                     "; trailing comment"}) +
                               QByteArray("[labels]\r\nto=N\xe4"
                                          "chste Stra\xdf"
                                          "e\r\n");
    const QString skin = editor.makeSkin(mapview, standardDefaults());
    const QString file = skin + "/mapviewlt.ini";
    editor.load(skin);
    editor.click(editor.w().BTNSave);
    QVERIFY(!programState().bChanged);

    const QByteArray saved = readFile(file);
    // Untouched lines keep every byte, also those >= 0x80 and the comments.
    QVERIFY(saved.startsWith("; comment before the first section\r\n\r\n[infobar]\r\nx=0\r\n"));
    QVERIFY(saved.contains("bkcolor=0x000000\r\n\r\n[from]\r\nx=0\r\n"));
    QVERIFY(saved.contains("font=Tahoma,11\r\n"));
    QVERIFY(saved.contains("; trailing comment\r\n"));
    QVERIFY(saved.contains("to=N\xe4"
                           "chste Stra\xdf"
                           "e"));
    QVERIFY(!saved.contains('\n' + QByteArray("\n")));

    QCOMPARE(value(file, "from", "x"), "0");
    QCOMPARE(value(file, "from", "y"), "300");
    QCOMPARE(value(file, "routeinfo", "y"), "242"); // old y + old cy - 60
    QCOMPARE(value(file, "routeinfo", "cy"), "60");
    QCOMPARE(value(file, "nextinfo", "y"), "-40"); // "abc" counts 0: 0 + 20 - 60
    QCOMPARE(value(file, "nextinfo", "cy"), "60");
    QCOMPARE(value(file, "infobar", "cy"), "30");
    QCOMPARE(value(file, "smalldummy", "x"), "62");

    // A second load and save gives the same files.
    editor.load(skin);
    editor.click(editor.w().BTNSave);
    QCOMPARE(readFile(file), saved);
}

void tst_Save::savesEveryElementInEveryView_data() {
    QTest::addColumn<int>("view");
    QTest::newRow("Kartenansicht 1") << 0;
    QTest::newRow("Kartenansicht 2") << 1;
    QTest::newRow("Kartenansicht 3") << 2;
}

void tst_Save::savesEveryElementInEveryView() {
    QFETCH(int, view);
    Editor editor;
    const QString skin = editor.makeSkin(layout({"infobar:0,283,240,30"}), QByteArray());
    editor.w().ComboAnsicht->setCurrentIndex(view);
    editor.load(skin);
    editor.click(editor.w().BTNSave);
    for (int i = 0; i < 25; ++i) {
        const ElementCatalogueEntry& e = programState().ElementCatalogue[i];
        const QString file = skin + "/" + e.iniFile;
        for (const char* key : {"x", "y", "cx", "cy"})
            QVERIFY2(value(file, e.iniName, key) != "<none>", qPrintable(e.iniName + "." + key));
    }
    // Defaults come back as written values; a shifted element keeps its file y.
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "cx"), "20");
    QCOMPARE(value(skin + "/mapviewlt.ini", "to", "y"), "0");
    QCOMPARE(value(skin + "/mapviewlt.ini", "routeinfo", "y"), "-40");
}

void tst_Save::twoViewsSavedOneAfterTheOther() {
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/mapviewlt.ini";
    type(editor.w().txtX, "100"); // win, a key release applies and marks it
    editor.click(editor.w().BTNSave);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "100");

    editor.w().ComboAnsicht->setCurrentIndex(1);
    editor.w().ComboAnsicht_Click(); // no question: saved
    type(editor.w().txtX, "120");
    editor.click(editor.w().BTNSave);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "120");
    QCOMPARE(value(file, "from", "x"), "0");
    QCOMPARE(value(file, "smalldummy", "x"), "62");
}

void tst_Save::shiftIsAddedBack() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(30), standardDefaults());
    editor.load(skin);
    frmMain& w = editor.w();
    QTest::mouseClick(w.elementPicture(2), Qt::LeftButton, {}, QPoint(100, 9)); // "to"
    QCOMPARE(w.Selector->Tag(), QStringLiteral("2"));
    type(w.txtY, "10"); // canvas top 10
    QCOMPARE(editor.canvasRect(2).top(), 10);
    editor.click(w.BTNSave);
    QCOMPARE(value(skin + "/mapviewlt.ini", "to", "y"), "38");
}

void tst_Save::negativePositionsAfterDraggingOff() {
    Editor editor;
    const QString skin = editor.loadStandard();
    editor.drag(21, QPoint(20, 18), QPoint(-30, -100));
    editor.click(editor.w().BTNSave);
    QCOMPARE(value(skin + "/defaultlt.ini", "log", "x"), "-48");
    QCOMPARE(value(skin + "/defaultlt.ini", "log", "y"), "-34");
}

void tst_Save::fractionsInTheUsersNumberFormat() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    Editor editor;
    const QString skin = editor.loadStandard();
    type(editor.w().txtX, "12,4"); // 186 twips: a whole number of twips
    type(editor.w().txtCX, "1000");
    editor.click(editor.w().BTNSave);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "12,4");
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "cx"), "1000");
}

void tst_Save::questionOnViewChange_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja") << "Ja";
    QTest::newRow("Nein") << "Nein";
}

void tst_Save::questionOnViewChange() {
    QFETCH(QString, answer);
    Editor editor;
    const QString skin = editor.standardSkin();
    const QByteArray before = readFile(skin + "/defaultlt.ini");
    editor.load(skin);
    editor.drag(24, QPoint(20, 18), QPoint(30, 28));

    BoxAnswerer box(answer);
    editor.w().ComboAnsicht->setCurrentIndex(1);
    editor.w().ComboAnsicht_Click();
    QCOMPARE(box.count, 1);
    QCOMPARE(box.title, QStringLiteral("Frage:"));
    QCOMPARE(box.text, QStringLiteral("Soll die Datei gespeichert werden?"));
    QCOMPARE(programState().CurrentView, 1); // reloaded in the new view
    QVERIFY(!programState().bChanged);
    if (answer == "Ja") {
        QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "166");
        QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(166, 32));
    } else {
        QCOMPARE(readFile(skin + "/defaultlt.ini"), before); // byte for byte
        QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(156, 22));
    }
}

void tst_Save::noQuestionWithoutChanges() {
    Editor editor;
    const QString skin = editor.loadStandard();
    BoxAnswerer box("Ja");
    editor.w().ComboAnsicht->setCurrentIndex(2);
    editor.w().ComboAnsicht_Click();
    editor.w().close();
    QCOMPARE(box.count, 0);
    QCOMPARE(programState().CurrentView, 2);
}

void tst_Save::checkBoxAsksAndReloads() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(30), standardDefaults());
    editor.load(skin);
    QCOMPARE(editor.canvasRect(2).top(), 40 - 28);
    QTest::keyClick(editor.w().txtX, Qt::Key_Right); // a nudge of win
    BoxAnswerer box("Nein");
    editor.click(editor.w().ChkInfobar);
    QCOMPARE(box.count, 1);
    QCOMPARE(editor.canvasRect(2).top(), 40); // reloaded without the shift
    QCOMPARE(editor.canvasRect(24).left(), 156);
}

void tst_Save::typedValuesCountAsChanges() {
    Editor editor;
    const QString skin = editor.loadStandard();
    type(editor.w().txtCY, "50");
    QVERIFY(programState().bChanged);
    BoxAnswerer box("Ja");
    editor.w().ComboAnsicht->setCurrentIndex(1);
    editor.w().ComboAnsicht_Click();
    QCOMPARE(box.count, 1);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "cy"), "50");
}

void tst_Save::closingAsksWhileTheWindowIsShown_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja") << "Ja";
    QTest::newRow("Nein") << "Nein";
}

void tst_Save::closingAsksWhileTheWindowIsShown() {
    QFETCH(QString, answer);
    Editor editor;
    const QString skin = editor.standardSkin();
    const QByteArray before = readFile(skin + "/defaultlt.ini");
    editor.load(skin);
    QTest::keyClick(editor.w().txtX, Qt::Key_Down);
    bool shownDuringQuestion = false;
    BoxAnswerer box(answer);
    box.onShown = [&] { shownDuringQuestion = editor.w().isVisible(); };
    QVERIFY(editor.w().close());
    QCOMPARE(box.count, 1);
    QVERIFY(shownDuringQuestion);
    QVERIFY(!editor.w().isVisible());
    if (answer == "Ja")
        QCOMPARE(value(skin + "/defaultlt.ini", "win", "y"), "23");
    else
        QCOMPARE(readFile(skin + "/defaultlt.ini"), before);
}

void tst_Save::failedSaveIsReported() {
    Editor editor;
    const QString skin = editor.loadStandard();
    QTest::keyClick(editor.w().txtX, Qt::Key_Left);
    QVERIFY(QDir(skin).removeRecursively()); // the folder is gone

    BoxAnswerer warning("OK");
    editor.click(editor.w().BTNSave);
    QCOMPARE(warning.count, 1);
    QCOMPARE(warning.title, QStringLiteral("Speichern fehlgeschlagen"));
    QCOMPARE(warning.text, QStringLiteral("Die Datei ") + skin +
                               QStringLiteral("/mapviewlt.ini konnte nicht gespeichert werden."));
    QVERIFY(programState().bChanged);

    // The next view change asks again; a failing save there keeps the canvas.
    BoxAnswerer question("Ja");
    editor.w().ComboAnsicht->setCurrentIndex(1);
    editor.w().ComboAnsicht_Click();
    QCOMPARE(question.count, 1);
    QCOMPARE(warning.count, 2);
    QVERIFY(programState().bChanged);
    QCOMPARE(programState().CurrentView, 0);
    QCOMPARE(editor.w().ComboAnsicht->Text(), QStringLiteral("Kartenansicht 1"));
    QCOMPARE(editor.canvasRect(24).left(), 155);
    // So does a click on the check box: it shows the loaded state again.
    editor.click(editor.w().ChkInfobar);
    QCOMPARE(question.count, 2);
    QCOMPARE(warning.count, 3);
    QCOMPARE(editor.w().ChkInfobar->Value(), 1); // checked at the load
    QVERIFY(programState().bChanged);

    // With the folder back, the save succeeds and clears the mark.
    QDir().mkpath(skin);
    editor.click(editor.w().BTNSave);
    QCOMPARE(warning.count, 3);
    QVERIFY(!programState().bChanged);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "155");
}

void tst_Save::failedSaveOnCloseKeepsTheWindow() {
    Editor editor;
    const QString skin = editor.loadStandard();
    QTest::keyClick(editor.w().txtX, Qt::Key_Left);
    QVERIFY(QDir(skin).removeRecursively());
    {
        BoxAnswerer question("Ja");
        BoxAnswerer warning("OK");
        QVERIFY(!editor.w().close());
        QVERIFY(editor.w().isVisible());
        QCOMPARE(question.count, 1);
        QCOMPARE(warning.count, 1);
    }
    BoxAnswerer drop("Nein");
    QVERIFY(editor.w().close());
}

void tst_Save::keyThatCannotBeComputedFailsTheSave() {
    Editor editor;
    // The shift of the elements under the info bar, cy - 2, leaves the 32-bit range.
    const QString skin = editor.standardSkin();
    const QString file = skin + "/mapviewlt.ini";
    writeFile(file, layout({"infobar:0,283,240,-2147483648", "to:1,40,238,18"}));
    editor.w().ChkInfobar->setValue(1);
    editor.load(skin);
    QTest::keyClick(editor.w().txtX, Qt::Key_Left);

    BoxAnswerer warning("OK");
    editor.click(editor.w().BTNSave);
    QCOMPARE(warning.count, 1);
    QCOMPARE(warning.text, QStringLiteral("Die Datei ") + QDir::toNativeSeparators(file) +
                               QStringLiteral(" konnte nicht gespeichert werden."));
    QVERIFY(programState().bChanged);
}

void tst_Save::fileCreatedFromNothing() {
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), {});
    editor.load(skin);
    type(editor.w().txtX, "1"); // "win", the last element loaded
    type(editor.w().txtY, "2");
    type(editor.w().txtCX, "3");
    type(editor.w().txtCY, "4");
    editor.click(editor.w().BTNSave);
    // Sections in index order, keys in the order x, y, cx, cy.
    QByteArray expected;
    for (const char* section : {"log", "tmc", "gps"})
        expected += "[" + QByteArray(section) + "]\r\nx=0\r\ny=0\r\ncx=20\r\ncy=20\r\n";
    expected += "[win]\r\nx=1\r\ny=2\r\ncx=3\r\ncy=4\r\n";
    QCOMPARE(readFile(skin + "/defaultlt.ini"), expected);
}

void tst_Save::loadWithUnsavedChangesAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja saves into the old folder") << "Ja";
    QTest::newRow("Nein drops the changes") << "Nein";
}

void tst_Save::loadWithUnsavedChangesAsks() {
    QFETCH(QString, answer);
    Editor editor;
    const QString first = editor.standardSkin("first");
    const QString second = editor.standardSkin("second");
    const QByteArray before = readFile(first + "/defaultlt.ini");
    editor.load(first);
    QTest::keyClick(editor.w().txtX, Qt::Key_Right);
    BoxAnswerer box(answer);
    editor.load(second);
    QCOMPARE(box.count, 1);
    QCOMPARE(editor.w().skinFolder(), second + "/");
    QCOMPARE(editor.canvasRect(24).left(), 156);
    if (answer == "Ja")
        QCOMPARE(value(first + "/defaultlt.ini", "win", "x"), "157");
    else
        QCOMPARE(readFile(first + "/defaultlt.ini"), before);
    QCOMPARE(readFile(second + "/defaultlt.ini"), standardDefaults());
}

void tst_Save::saveTakesOutsideChanges_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("change");    // section, key and value another program writes
    QTest::addColumn<QStringList>("saved"); // section, key and value in that file after the save
    QTest::addColumn<int>("element");
    QTest::addColumn<QRect>("canvas"); // where the element stands after the save
    QTest::addColumn<QString>("hint"); // the elements the "Hinweis" box names
    // The user has nudged win down to 156,23 before; "to" is shifted up by 28.
    const QString defaults = "defaultlt.ini", mapview = "mapviewlt.ini";
    QTest::newRow("other element")
        << defaults << "log x 50" << QStringList{"log x 50"} << 21 << QRect(50, 84, 40, 36) << "";
    QTest::newRow("height of a plain element")
        << defaults << "log cy 50" << QStringList{"log cy 50"} << 21 << QRect(2, 84, 40, 50) << "";
    QTest::newRow("same element, other key") << defaults << "win x 100" << QStringList{"win x 100"}
                                             << 24 << QRect(100, 23, 41, 35) << "win";
    QTest::newRow("same key: the own value wins")
        << defaults << "win y 30" << QStringList{} << 24 << QRect(156, 23, 41, 35) << "win";
    QTest::newRow("same key, same value")
        << defaults << "win y 23" << QStringList{} << 24 << QRect(156, 23, 41, 35) << "";
    QTest::newRow("shifted element")
        << mapview << "to y 50" << QStringList{"to y 50"} << 2 << QRect(1, 22, 238, 18) << "";
    QTest::newRow("routeinfo keeps its bottom")
        << mapview << "routeinfo cy 90" << QStringList{"routeinfo y 252", "routeinfo cy 60"} << 4
        << QRect(0, 224, 58, 60) << "";
    QTest::newRow("x of from comes from its dummy")
        << mapview << "smalldummy x 40" << QStringList{"smalldummy x 40", "from x 0"} << 3
        << QRect(40, 272, 176, 19) << "";
}

void tst_Save::saveTakesOutsideChanges() {
    QFETCH(QString, file);
    QFETCH(QString, change);
    QFETCH(QStringList, saved);
    QFETCH(int, element);
    QFETCH(QRect, canvas);
    QFETCH(QString, hint);
    Editor editor;
    const QString skin = editor.loadStandard();
    editor.click(editor.w().MoveS);
    const QStringList c = change.split(' ');
    QVERIFY(Global::WriteIniValue(skin + "/" + file, c[0], c[1], c[2]));
    writtenAWhileAgo(skin + "/" + file);
    BoxAnswerer box("OK");
    editor.click(editor.w().BTNSave); // at once, before the change is reported
    for (const QString& line : saved) {
        const QStringList v = line.split(' ');
        QCOMPARE(value(skin + "/" + file, v[0], v[1]), v[2]);
    }
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "y"), "23");
    QCOMPARE(editor.canvasRect(element), canvas);
    QCOMPARE(box.count, hint.isEmpty() ? 0 : 1);
    if (!hint.isEmpty()) {
        QCOMPARE(box.title, QStringLiteral("Hinweis"));
        QCOMPARE(box.text, "Diese Elemente wurden auch außerhalb von Tessel geändert; Ihre Werte "
                           "wurden gespeichert: " +
                               hint);
    }
    QVERIFY(!programState().bChanged);
}

void tst_Save::saveWaitsForAFileStillBeingWritten_data() {
    QTest::addColumn<int>("pause"); // ms between the two parts the other program writes
    QTest::newRow("the rest within the quiet time") << 300;
    QTest::newRow("the rest after the quiet time") << 700;
}

void tst_Save::saveWaitsForAFileStillBeingWritten() {
    QFETCH(int, pause);
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    editor.click(editor.w().MoveS);
    const QByteArray next =
        layout({"log:50,84,40,36", "tmc:2,124,40,36", "gps:7,164,39,34", "win:156,22,41,35"});
    {
        SlowWriter writer(file, next, next.indexOf("[gps]"), pause);
        QTRY_VERIFY(writer.partWritten());
        QTest::qWait(100);
        editor.click(editor.w().BTNSave);
        QVERIFY(writer.finished()); // the save waited for the rest
    }
    QCOMPARE(value(file, "log", "x"), "50");
    QCOMPARE(value(file, "gps", "x"), "7");
    QCOMPARE(value(file, "win", "y"), "23");
    QCOMPARE(editor.canvasRect(23).left(), 7);
}

void tst_Save::writeBetweenMergeAndSaveStartsOver() {
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    editor.click(editor.w().MoveS);
    // Another program writes right after the save has merged the files.
    int writes = 0;
    QObject::connect(&editor.w(), &frmMain::saveBegins, &editor.w(), [&] {
        if (writes++ == 0) {
            writeFile(file, layout({"log:50,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34",
                                    "win:156,22,41,35"}));
            writtenAWhileAgo(file);
        }
    });
    editor.click(editor.w().BTNSave);
    QCOMPARE(writes, 2); // the save started over once
    QCOMPARE(value(file, "log", "x"), "50");
    QCOMPARE(value(file, "win", "y"), "23");
    QCOMPARE(editor.canvasRect(21).left(), 50);
}

void tst_Save::halfFailedSaveKeepsTheMarkOfEachFile() {
    Editor editor;
    const QString skin = editor.standardSkin();
    QVERIFY(QFile::setPermissions(skin + "/defaultlt.ini", QFile::ReadOwner));
    editor.load(skin);
    QTest::mouseClick(editor.w().elementPicture(17), Qt::LeftButton, {}, QPoint(20, 17)); // info
    editor.click(editor.w().MoveS);
    {
        BoxAnswerer warning("OK");
        editor.click(editor.w().BTNSave);
        QCOMPARE(warning.count, 1);
    }
    QCOMPARE(value(skin + "/mapviewlt.ini", "info", "y"), "183");
    QWidget* focus = editor.w().focusWidget() ? editor.w().focusWidget() : &editor.w();
    QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.canvasRect(17).top(), 182);
    QVERIFY(programState().bChanged); // mapviewlt.ini holds the step just undone
    BoxAnswerer question("Nein");
    QVERIFY(editor.w().close());
    QCOMPARE(question.count, 1);
}

void tst_Save::typedValueIsTakenOnlyWhenHeldExactly_data() {
    QTest::addColumn<int>("box"); // 0 to 3: X, Y, CX, CY
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("saved"); // the key's value in the file after the save
    QTest::addColumn<bool>("inexact");  // a number the element itself marks as not taken
    // win stands at 156,22 41x35; the keys typed on the way are taken when they can be.
    QTest::newRow("whole pixels") << 0 << "120"
                                  << "120" << false;
    QTest::newRow("whole twips") << 0 << "12.4"
                                 << "12.4" << false;
    QTest::newRow("half a pixel: 7.5 twips") << 0 << "10.5"
                                             << "10" << true;
    QTest::newRow("box would show 1E+08") << 0 << "99999999"
                                          << "9999999" << true;
    QTest::newRow("beyond the element's range") << 1 << "3e9"
                                                << "3" << false;
    QTest::newRow("no number") << 2 << "abc"
                               << "41" << false;
    QTest::newRow("negative size") << 3 << "-5"
                                   << "35" << false;
}

void tst_Save::typedValueIsTakenOnlyWhenHeldExactly() {
    QFETCH(int, box);
    QFETCH(QString, text);
    QFETCH(QString, saved);
    QFETCH(bool, inexact);
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    frmMain& w = editor.w();
    QLineEdit* boxes[] = {w.txtX, w.txtY, w.txtCX, w.txtCY};
    const char* keys[] = {"x", "y", "cx", "cy"};
    type(boxes[box], text);
    QCOMPARE(boxes[box]->text(), text); // the box keeps what was typed
    QCOMPARE(boxes[box]->property("notTaken").toString().isEmpty(), !inexact);
    // Saved with Ctrl+S from the box, twice: its key releases take nothing more.
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(boxes[box], Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(value(file, "win", keys[box]), saved);
        QVERIFY(!programState().bChanged);
    }
    // Typing in another box shows the element's value again, without the mark.
    type(boxes[(box + 1) % 4], "7");
    QVERIFY(!boxes[box]->property("notTaken").isValid());
    QCOMPARE(boxes[box]->text(), QStringLiteral("%1").arg(saved));
}

void tst_Save::boxShowingTheElementIsNotTakenAgain() {
    Editor editor;
    // win at x 99999999: the box shows 1E+08, which is not the element's value.
    const QString skin = editor.makeSkin(
        standardMapview(),
        layout({"log:2,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:99999999,22,41,35"}));
    editor.load(skin);
    QCOMPARE(editor.w().txtX->text(), QStringLiteral("1E+08"));
    type(editor.w().txtY, "30");
    editor.click(editor.w().BTNSave);
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "x"), "99999999");
    QCOMPARE(value(skin + "/defaultlt.ini", "win", "y"), "30");
}

QTEST_MAIN(tst_Save)
#include "tst_save.moc"
