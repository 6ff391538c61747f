// Undo and redo of layout edits, the Ctrl keys, the title and the element tips.
#define QTEST_QPA_MOUSE_HANDLING
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/session/editsession.h"
#include "extras/shared/title.h"
#include "extras/undo/layouthistory.h"

#include <QApplication>
#include <QDialog>
#include <QHelpEvent>
#include <QPointer>
#include <QTimer>
#include <QToolTip>
#include <QtTest>

using namespace fixture;

namespace {

// A key to the control with the focus, as the window system would deliver it.
void press(frmMain& w, QKeyCombination keys) {
    QWidget* target = w.focusWidget() ? w.focusWidget() : &w;
    QTest::keyClick(target, keys.key(), keys.keyboardModifiers());
}

// Runs a script of user actions, separated by blanks: e n s w a nudge (pad
// buttons), m the mode button, d a drag of "win", X:, Y:, W: or H: and a text
// typing into the box X, Y, CX or CY (focus moved there, old text replaced), t Ctrl+Tab,
// T Ctrl+Shift+Tab, z Ctrl+Z,
// r Ctrl+Shift+Z, y Ctrl+Y, S Ctrl+S.
void run(Editor& editor, const QString& script) {
    frmMain& w = editor.w();
    for (const QString& action : script.split(' ', Qt::SkipEmptyParts)) {
        const QChar c = action.front();
        if (c == 'e' || c == 'n' || c == 's' || c == 'w') {
            ui::CommandButton* buttons[] = {w.MoveO, w.MoveN, w.MoveS, w.MoveW};
            editor.click(buttons[QStringLiteral("enswX").indexOf(c)]);
        } else if (c == 'm') {
            editor.click(w.BTNpos);
        } else if (c == 'd') {
            editor.drag(24, QPoint(20, 18), QPoint(30, 28));
        } else if (action.size() > 1 && action[1] == ':') {
            ui::TextBox* boxes[] = {w.txtX, w.txtY, w.txtCX, w.txtCY};
            ui::TextBox* box = boxes[QStringLiteral("XYWH").indexOf(c)];
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, action.mid(2));
        } else if (c == 't') {
            press(w, Qt::ControlModifier | Qt::Key_Tab);
        } else if (c == 'T') {
            press(w, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Backtab);
        } else if (c == 'z') {
            press(w, Qt::ControlModifier | Qt::Key_Z);
        } else if (c == 'r') {
            press(w, Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Z);
        } else if (c == 'y') {
            press(w, Qt::ControlModifier | Qt::Key_Y);
        } else if (c == 'S') {
            press(w, Qt::ControlModifier | Qt::Key_S);
        }
    }
}

QRect boxes(frmMain& w) {
    return QRect(w.txtX->text().toInt(), w.txtY->text().toInt(), w.txtCX->text().toInt(),
                 w.txtCY->text().toInt());
}

} // namespace

class tst_Undo : public QObject {
    Q_OBJECT

private slots:
    void steps_data();
    void steps();
    void typedAwayAndBackLeavesNoStep();
    void fromAndItsDummyAreOneStep();
    void savedStateClearsTheMark();
    void undoKeepsTheMarkWhileTheCanvasDiffers();
    void loadStartsAFreshHistory();
    void otherProgramsValuesSurviveUndoAndRedo_data();
    void otherProgramsValuesSurviveUndoAndRedo();
    void ctrlTabCyclesTheShownElements_data();
    void ctrlTabCyclesTheShownElements();
    void ctrlKeysInOtherWindowsDoNothing_data();
    void ctrlKeysInOtherWindowsDoNothing();
    void titleNamesTheSkin();
    void titleOfAFolder_data();
    void titleOfAFolder();
    void tipShowsNameAndValues();
};

void tst_Undo::steps_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("steps");      // steps in the history at the end
    QTest::addColumn<QRect>("win");      // canvas rectangle of "win" at the end
    QTest::addColumn<QString>("active"); // the selection frame's tag at the end
    QTest::addColumn<bool>("changed");
    // win starts at 156,22 41x35 and is active after the load.
    const QRect start(156, 22, 41, 35);
    QTest::newRow("nudges merge") << "e e n z" << 1 << start << "24" << false;
    QTest::newRow("mode change splits") << "e m e z" << 2 << QRect(157, 22, 41, 35) << "24" << true;
    QTest::newRow("redo with Ctrl+Shift+Z")
        << "e e z r" << 1 << QRect(158, 22, 41, 35) << "24" << true;
    QTest::newRow("typing merges, undone in the box") << "X:100 z" << 1 << start << "24" << false;
    QTest::newRow("height alone undone in one step") << "H:50 z" << 1 << start << "24" << false;
    QTest::newRow("focus change splits typing")
        << "X:100 Y:50 z" << 2 << QRect(100, 22, 41, 35) << "24" << true;
    QTest::newRow("drag, undo, Ctrl+Y") << "d z y" << 1 << QRect(166, 32, 41, 35) << "24" << true;
    QTest::newRow("each drag is a step") << "d d z" << 2 << QRect(166, 32, 41, 35) << "24" << true;
    QTest::newRow("other element is its own step")
        << "e t e z" << 2 << QRect(157, 22, 41, 35) << "1" << true;
    QTest::newRow("undo selects the edited element") << "e t z" << 1 << start << "24" << false;
    QTest::newRow("nothing to undo") << "z z" << 0 << start << "24" << false;
    QTest::newRow("new step after undo drops the redo")
        << "e z w r" << 1 << QRect(155, 22, 41, 35) << "24" << true;
}

void tst_Undo::steps() {
    QFETCH(QString, script);
    QFETCH(int, steps);
    QFETCH(QRect, win);
    QFETCH(QString, active);
    QFETCH(bool, changed);
    Editor editor;
    editor.loadStandard();
    run(editor, script);
    QCOMPARE(editor.bench().editSession().history().stack().count(), steps);
    QCOMPARE(editor.canvasRect(24), win);
    QCOMPARE(editor.w().Selector->Tag(), active);
    QCOMPARE(boxes(editor.w()), editor.canvasRect(active.toInt()));
    QCOMPARE(editor.w().LBLiniName->text(),
             programState().ElementCatalogue[active.toUInt()].iniName);
    QCOMPARE(programState().bChanged, changed);
}

void tst_Undo::typedAwayAndBackLeavesNoStep() {
    Editor editor;
    editor.loadStandard();
    run(editor, "X:100 X:156"); // one box, the focus stays: one run of typing
    QCOMPARE(editor.bench().editSession().history().stack().count(), 0);
    QCOMPARE(editor.canvasRect(24), QRect(156, 22, 41, 35));
}

void tst_Undo::fromAndItsDummyAreOneStep() {
    Editor editor;
    editor.loadStandard();
    const QRect from = editor.canvasRect(3), dummy = editor.canvasRect(20);
    editor.drag(3, QPoint(20, 9), QPoint(30, 9));
    QCOMPARE(editor.canvasRect(20).left(), from.left() + 10);
    run(editor, "z");
    QCOMPARE(editor.canvasRect(3), from);
    QCOMPARE(editor.canvasRect(20), dummy);
    QCOMPARE(editor.w().Selector->Tag(), QStringLiteral("3"));
}

void tst_Undo::savedStateClearsTheMark() {
    Editor editor;
    const QString skin = editor.loadStandard();
    run(editor, "e S m e");
    QVERIFY(programState().bChanged);
    run(editor, "z");
    QVERIFY(!programState().bChanged); // back at the saved state
    QVERIFY(!editor.w().isWindowModified());
    run(editor, "z");
    QVERIFY(programState().bChanged); // before the save: differs from the file
    QVERIFY(editor.w().isWindowModified());
}

void tst_Undo::undoKeepsTheMarkWhileTheCanvasDiffers() {
    Editor editor;
    editor.loadStandard();
    const QRect dummy = editor.canvasRect(20);
    editor.click(editor.w().elementPicture(3));
    run(editor, "X:20");
    // Passing over "from" pulls its dummy along, which is no step of its own.
    QWidget* from = editor.w().elementPicture(3);
    const QPoint over = from->mapTo(&editor.w(), from->rect().center());
    QTest::mouseMove(&editor.w(), over);
    QTest::mouseMove(&editor.w(), over + QPoint(1, 0));
    QTRY_COMPARE(editor.canvasRect(20).left(), 20);
    run(editor, "z");
    QVERIFY(editor.canvasRect(20) != dummy);
    QVERIFY(programState().bChanged); // the dummy would be saved elsewhere than loaded
    QVERIFY(editor.w().isWindowModified());
}

void tst_Undo::loadStartsAFreshHistory() {
    Editor editor;
    editor.loadStandard();
    run(editor, "e e");
    {
        BoxAnswerer box("Nein");
        editor.w().ComboAnsicht->setCurrentIndex(2);
        editor.w().ComboAnsicht_Click();
        QCOMPARE(box.count, 1);
    }
    run(editor, "z");
    QCOMPARE(editor.bench().editSession().history().stack().count(), 0);
    QCOMPARE(editor.canvasRect(24), QRect(156, 22, 41, 35));
    QVERIFY(!programState().bChanged);
}

void tst_Undo::otherProgramsValuesSurviveUndoAndRedo_data() {
    QTest::addColumn<QString>("before"); // the user's actions before the other program writes
    QTest::addColumn<QString>("change"); // section, key and value it writes into defaultlt.ini
    QTest::addColumn<bool>("question");  // merged by "Nein" to the question, else by Ctrl+S
    QTest::addColumn<QString>("after");  // the user's actions after the merge
    QTest::addColumn<QRect>("win");      // canvas rectangle of "win" after them
    QTest::addColumn<bool>("changed");   // the unsaved mark after them
    QTest::addColumn<QString>("saved");  // x and y of "win" in the file after one more save
    // win starts at 156,22 41x35; "t e T" moves the info bar first, so that edits stay unsaved.
    QTest::newRow("undo after Nein")
        << "s"
        << "win x 100" << true << "z" << QRect(100, 22, 41, 35) << false << "100 22";
    QTest::newRow("undo after a save")
        << "s"
        << "win x 100" << false << "z" << QRect(100, 22, 41, 35) << true << "100 22";
    QTest::newRow("redo of a step undone before")
        << "t e T s z"
        << "win x 100" << true << "r" << QRect(100, 23, 41, 35) << true << "100 23";
    QTest::newRow("redo of a key taken since is skipped")
        << "t e T s z"
        << "win y 30" << true << "r" << QRect(156, 30, 41, 35) << true << "156 30";
    // z: "to" back; z: nothing left of win's step, so the info bar's is undone.
    QTest::newRow("a step with nothing left is passed over")
        << "t e T s S t t e"
        << "win y 30" << true << "z z" << QRect(156, 30, 41, 35) << true << "156 30";
    QTest::newRow("undo of a key taken since is skipped")
        << "s S t e"
        << "win y 30" << true << "z z" << QRect(156, 30, 41, 35) << false << "156 30";
}

void tst_Undo::otherProgramsValuesSurviveUndoAndRedo() {
    QFETCH(QString, before);
    QFETCH(QString, change);
    QFETCH(bool, question);
    QFETCH(QString, after);
    QFETCH(QRect, win);
    QFETCH(bool, changed);
    QFETCH(QString, saved);
    Editor editor;
    const QString skin = editor.loadStandard();
    const QString file = skin + "/defaultlt.ini";
    run(editor, before);
    const QStringList c = change.split(' ');
    QVERIFY(Global::WriteIniValue(file, c[0], c[1], c[2]));
    {
        BoxAnswerer no("Nein");
        BoxAnswerer note("OK"); // a save that overrides the other program's change says so
        if (question)
            QTRY_COMPARE(no.count, 1);
        else
            run(editor, "S");
    }
    run(editor, after);
    QCOMPARE(editor.canvasRect(24), win);
    QCOMPARE(programState().bChanged, changed);
    BoxAnswerer note("OK");
    run(editor, "S");
    QCOMPARE(note.count, 0); // no value of the user's replaced one of the other program's
    const QStringList xy = saved.split(' ');
    QCOMPARE(Global::ReadIniValue(file, "win", "x", 0), xy[0]);
    QCOMPARE(Global::ReadIniValue(file, "win", "y", 0), xy[1]);
}

void tst_Undo::ctrlTabCyclesTheShownElements_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<QStringList>("tags"); // after each key, starting at "win" (24)
    QTest::newRow("view 1 forward wraps") << 0 << true << QStringList{"1", "2", "3", "4"};
    QTest::newRow("view 1 backward") << 0 << false << QStringList{"23", "22", "21", "20", "18"};
    QTest::newRow("view 2 forward") << 1 << true << QStringList{"0", "9", "10"};
    QTest::newRow("view 3 forward skips hidden")
        << 2 << true << QStringList{"1", "3", "17", "18", "19", "21"};
}

void tst_Undo::ctrlTabCyclesTheShownElements() {
    QFETCH(int, view);
    QFETCH(bool, forward);
    QFETCH(QStringList, tags);
    Editor editor;
    editor.w().ComboAnsicht->setCurrentIndex(view);
    editor.loadStandard();
    editor.w().txtCY->setFocus();
    QList<QRect> before;
    for (int i = 0; i < kElementCount; ++i)
        before << editor.canvasRect(i);
    for (const QString& tag : tags) {
        press(editor.w(), forward ? Qt::ControlModifier | Qt::Key_Tab
                                  : Qt::ControlModifier | Qt::ShiftModifier | Qt::Key_Backtab);
        QCOMPARE(editor.w().Selector->Tag(), tag);
        QCOMPARE(boxes(editor.w()), editor.canvasRect(tag.toInt()));
        QCOMPARE(editor.w().Selector->geometry(),
                 editor.w().elementPicture(tag.toInt())->geometry());
    }
    for (int i = 0; i < kElementCount; ++i)
        QCOMPARE(editor.canvasRect(i), before[i]); // nothing moved
    QVERIFY(!programState().bChanged);
    QCOMPARE(editor.w().focusWidget(), editor.w().txtCY); // the focus stays
}

void tst_Undo::ctrlKeysInOtherWindowsDoNothing_data() {
    QTest::addColumn<bool>("folderDialog"); // else the question before a view change
    QTest::addColumn<int>("key");
    QTest::newRow("Ctrl+S in the folder dialog") << true << int(Qt::Key_S);
    QTest::newRow("Ctrl+O in the folder dialog") << true << int(Qt::Key_O);
    QTest::newRow("Ctrl+S in a message box") << false << int(Qt::Key_S);
    QTest::newRow("Ctrl+O in a message box") << false << int(Qt::Key_O);
}

void tst_Undo::ctrlKeysInOtherWindowsDoNothing() {
    QFETCH(bool, folderDialog);
    QFETCH(int, key);
    Editor editor;
    const QString skin = editor.loadStandard();
    run(editor, "e"); // unsaved
    const QByteArray before = readFile(skin + "/defaultlt.ini");

    // A modal window the key opened on top of the first one is closed and counted.
    QPointer<QWidget> first;
    int opened = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!first || !modal || modal == first)
            return;
        ++opened;
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->reject();
    });
    closer.start(10);
    const auto press = [&](QWidget* modal) {
        first = modal;
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : modal;
        QTest::keyClick(target, Qt::Key(key), Qt::ControlModifier);
    };

    if (folderDialog) {
        bool pressed = false;
        QTimer act;
        QObject::connect(&act, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (pressed || !dialog || !dialog->isVisible())
                return;
            pressed = true;
            press(dialog);
            dialog->reject();
        });
        act.start(10);
        editor.click(editor.w().BTNLoad);
        QVERIFY(pressed);
        QCOMPARE(editor.canvasRect(24), QRect(157, 22, 41, 35));
        QVERIFY(programState().bChanged);
    } else {
        BoxAnswerer box("Nein"); // drop the edit
        box.onShown = [&] { press(QApplication::activeModalWidget()); };
        editor.w().ComboAnsicht->setCurrentIndex(1);
        editor.w().ComboAnsicht_Click();
        QCOMPARE(box.count, 1);
    }
    QCOMPARE(opened, 0);
    QCOMPARE(readFile(skin + "/defaultlt.ini"), before);
}

void tst_Undo::titleNamesTheSkin() {
    Editor editor;
    QCOMPARE(editor.w().windowTitle(), QStringLiteral("Tessel"));
    editor.loadStandard("Nacht [*] 2");
    QCOMPARE(editor.w().windowTitle(), QStringLiteral("Tessel - Nacht [*][*] 2[*]"));
    QVERIFY(!editor.w().isWindowModified());
    run(editor, "e");
    QVERIFY(editor.w().isWindowModified());
    run(editor, "S");
    QVERIFY(!editor.w().isWindowModified());
}

void tst_Undo::titleOfAFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("expected"); // "[*]": where the modified mark shows
    QTest::newRow("root") << "/" << false << "Tessel - /[*]";
    QTest::newRow("root, changed") << "/" << true << "Tessel - /[*]";
    QTest::newRow("trailing separators") << "/srv/Nacht//" << true << "Tessel - Nacht[*]";
}

void tst_Undo::titleOfAFolder() {
    QFETCH(QString, folder);
    QFETCH(bool, changed);
    QFETCH(QString, expected);
    QWidget window;
    title::show(window, folder, true, changed);
    QCOMPARE(window.windowTitle(), expected);
    QCOMPARE(window.isWindowModified(), changed);
}

void tst_Undo::tipShowsNameAndValues() {
    Editor editor;
    QLocale::setDefault(QLocale(QLocale::German));
    editor.loadStandard();
    run(editor, "X:10,4");
    QWidget* picture = editor.w().elementPicture(24);
    QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), picture->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(picture, &tip);
    QCOMPARE(QToolTip::text(), QStringLiteral("win\nX 10,4   Y 22   CX 41   CY 35"));
    QLocale::setDefault(QLocale::c());
}

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
