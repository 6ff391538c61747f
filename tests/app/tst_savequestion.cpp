// The question about unsaved changes and its three answers, for each of the four
// things that ask it: a view chosen, the info-bar check box, another folder with
// "Laden", and the window's closing.
#include "app/Global.h"
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QtTest>

using namespace fixture;

class tst_SaveQuestion : public QObject {
    Q_OBJECT

private slots:
    void threeAnswers_data();
    void threeAnswers();
};

void tst_SaveQuestion::threeAnswers_data() {
    QTest::addColumn<QString>("trigger"); // view, infobar, load, close
    QTest::addColumn<QString>("answer");  // a button, or "<Escape>" / "<close>"
    for (const char* trigger : {"view", "infobar", "load", "close"})
        for (const char* answer : {"Ja", "Nein", "Abbrechen", "<Escape>", "<close>"})
            QTest::addRow("%s, %s", trigger, answer) << trigger << answer;
}

void tst_SaveQuestion::threeAnswers() {
    QFETCH(QString, trigger);
    QFETCH(QString, answer);
    Editor editor;
    frmMain& w = editor.w();
    const QString first = editor.standardSkin("first");
    const QString second = editor.standardSkin("second");
    const QByteArray before = readFile(first + "/defaultlt.ini");
    editor.load(first);
    QTest::keyClick(w.txtX, Qt::Key_Right); // "win" one pixel right: unsaved

    BoxAnswerer box(answer);
    bool closed = false;
    if (trigger == "view") {
        w.ComboAnsicht->setCurrentIndex(1);
        emit w.ComboAnsicht->activated(1); // as a choice in the list
    } else if (trigger == "infobar") {
        editor.click(w.ChkInfobar);
    } else if (trigger == "load") {
        editor.load(second);
    } else {
        closed = w.close();
    }
    QCOMPARE(box.count, 1);
    QCOMPARE(box.title, QStringLiteral("Frage:"));
    QCOMPARE(box.text, QStringLiteral("Soll die Datei gespeichert werden?"));

    const bool cancelled = answer != "Ja" && answer != "Nein";
    // Written only after "Ja"; otherwise the file is as it was, byte for byte.
    if (answer == "Ja")
        QCOMPARE(Global::ReadIniValue(first + "/defaultlt.ini", "win", "x", 0), "157");
    else
        QCOMPARE(readFile(first + "/defaultlt.ini"), before);

    if (!cancelled) {
        // Saved, or reloaded over the changes (a closing window reloads nothing).
        QCOMPARE(programState().bChanged, trigger == "close" && answer == "Nein");
        QCOMPARE(closed, trigger == "close");
        if (trigger == "view")
            QCOMPARE(programState().CurrentView, 1);
        if (trigger == "infobar")
            QCOMPARE(w.ChkInfobar->Value(), 0);
        if (trigger == "load")
            QCOMPARE(w.skinFolder(), second + "/");
        return;
    }
    // Cancelled: the choice is undone, the window stays, and the edit is still there.
    QVERIFY(!closed);
    QVERIFY(w.isVisible());
    QVERIFY(programState().bChanged);
    QVERIFY(w.isWindowModified());
    QCOMPARE(editor.canvasRect(24).left(), 157);
    QCOMPARE(w.txtX->text(), QStringLiteral("157"));
    QCOMPARE(programState().CurrentView, 0);
    QCOMPARE(w.ComboAnsicht->Text(), QStringLiteral("Kartenansicht 1"));
    QCOMPARE(w.ChkInfobar->Value(), 1);
    QCOMPARE(w.skinFolder(), first + "/");
    QCOMPARE(Global::ReadIniPath(editor.workPath() + "/Tessel.ini", "Directory", "lastDir", ""),
             first);
    // Nothing was thrown away: the edit is still one step to undo.
    QTest::keyClick(w.txtX, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.canvasRect(24).left(), 156);
}

QTEST_MAIN(tst_SaveQuestion)
#include "tst_savequestion.moc"
