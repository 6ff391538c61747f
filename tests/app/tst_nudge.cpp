// The nudge pad, the arrow keys and the nudge modes.
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QLocale>
#include <QtTest>

using namespace fixture;

namespace {

QStringList boxes(frmMain& w) {
    return {w.txtX->Text(), w.txtY->Text(), w.txtCX->Text(), w.txtCY->Text()};
}

} // namespace

class tst_Nudge : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void modeCycle();
    void nudgeTable_data();
    void nudgeTable();
    void arrowKeysActLikeTheButtons_data();
    void arrowKeysActLikeTheButtons();
    void arrowKeyInABoxStepsOnce();
    void fractionsStepByOne_data();
    void fractionsStepByOne();
    void nothingBeforeTheFirstLoad();
    void boxWithoutNumberIsSkipped();
    void shrinkingBelowZeroIsRefused();
    void tagWithoutNumberDoesNothing();
};

void tst_Nudge::modeCycle() {
    Editor editor;
    const QStringList expected{"scale+", "scale-", "pos.", "scale+"};
    for (int i = 0; i < expected.size(); ++i) {
        editor.click(editor.w().BTNpos);
        QCOMPARE(editor.w().BTNpos->Caption(), expected[i]);
        QCOMPARE(editor.w().nudgeMode(), (i + 1) % 3);
    }
}

void tst_Nudge::nudgeTable_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("after"); // win starts at 156,22 41x35

    const struct {
        int mode;
        const char* button;
        QStringList after;
    } rows[] = {
        {0, "MoveN", {"156", "21", "41", "35"}}, {0, "MoveO", {"157", "22", "41", "35"}},
        {0, "MoveS", {"156", "23", "41", "35"}}, {0, "MoveW", {"155", "22", "41", "35"}},
        {1, "MoveN", {"156", "21", "41", "36"}}, {1, "MoveO", {"156", "22", "42", "35"}},
        {1, "MoveS", {"156", "22", "41", "36"}}, {1, "MoveW", {"155", "22", "42", "35"}},
        {2, "MoveN", {"156", "22", "41", "34"}}, {2, "MoveO", {"157", "22", "40", "35"}},
        {2, "MoveS", {"156", "23", "41", "34"}}, {2, "MoveW", {"156", "22", "40", "35"}},
    };
    for (const auto& r : rows)
        QTest::addRow("%s %s",
                      r.mode == 0   ? "pos."
                      : r.mode == 1 ? "scale+"
                                    : "scale-",
                      r.button)
            << r.mode << r.button << r.after;
}

void tst_Nudge::nudgeTable() {
    QFETCH(int, mode);
    QFETCH(QString, button);
    QFETCH(QStringList, after);
    Editor editor;
    editor.loadStandard();
    for (int i = 0; i < mode; ++i)
        editor.click(editor.w().BTNpos);
    editor.click(editor.w().findChild<QWidget*>(button));
    QCOMPARE(boxes(editor.w()), after);
    QCOMPARE(editor.canvasRect(24),
             QRect(after[0].toInt(), after[1].toInt(), after[2].toInt(), after[3].toInt()));
    QVERIFY(programState().bChanged);
}

void tst_Nudge::arrowKeysActLikeTheButtons_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("topLeft");
    QTest::newRow("Up") << int(Qt::Key_Up) << 0 << QPoint(156, 21);
    QTest::newRow("Ctrl+Up") << int(Qt::Key_Up) << int(Qt::ControlModifier) << QPoint(156, 21);
    QTest::newRow("Shift+Right") << int(Qt::Key_Right) << int(Qt::ShiftModifier) << QPoint(157, 22);
    QTest::newRow("Down") << int(Qt::Key_Down) << 0 << QPoint(156, 23);
    QTest::newRow("Left") << int(Qt::Key_Left) << 0 << QPoint(155, 22);
    QTest::newRow("other keys do nothing") << int(Qt::Key_PageUp) << 0 << QPoint(156, 22);
}

void tst_Nudge::arrowKeysActLikeTheButtons() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, topLeft);
    Editor editor;
    editor.loadStandard();
    // From a button with the focus: the key reaches the window's preview.
    editor.w().BTNSave->setFocus();
    QTest::keyClick(editor.w().BTNSave, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(editor.canvasRect(24).topLeft(), topLeft);
}

void tst_Nudge::arrowKeyInABoxStepsOnce() {
    Editor editor;
    editor.loadStandard();
    frmMain& w = editor.w();
    w.txtCX->setFocus();
    QTest::keyClick(w.txtCX, Qt::Key_Left);
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(155, 22)); // one step, not two
    QCOMPARE(w.txtX->Text(), QStringLiteral("155"));
    // The step rewrites "41" with the caret at its end; the box then takes the key.
    QCOMPARE(w.txtCX->cursorPosition(), 1);
    programState().bChanged = false;
    QTest::keyClick(w.txtCX, Qt::Key_Shift); // a release alone moves nothing again
    QCOMPARE(editor.canvasRect(24).topLeft(), QPoint(155, 22));
    QVERIFY(!programState().bChanged);
}

void tst_Nudge::fractionsStepByOne_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    QTest::newRow("C") << "C"
                       << "12.5"
                       << "13.5";
    QTest::newRow("German") << "de_DE"
                            << "12,5"
                            << "13,5";
}

void tst_Nudge::fractionsStepByOne() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QLocale::setDefault(QLocale(locale));
    Editor editor;
    editor.loadStandard();
    editor.w().txtX->setText(typed);
    editor.click(editor.w().MoveO);
    QCOMPARE(editor.w().txtX->Text(), after);
}

void tst_Nudge::nothingBeforeTheFirstLoad() {
    Editor editor;
    editor.click(editor.w().MoveN);
    QTest::keyClick(editor.w().txtX, Qt::Key_Up);
    QCOMPARE(boxes(editor.w()), QStringList({"", "", "", ""}));
    QVERIFY(!programState().bChanged);
    QVERIFY(programState().Elements.empty());
}

void tst_Nudge::boxWithoutNumberIsSkipped() {
    Editor editor;
    editor.loadStandard();
    for (int i = 0; i < 2; ++i)
        editor.click(editor.w().BTNpos); // "scale-": Right changes x and cx
    editor.w().txtX->setText(QStringLiteral("links"));
    editor.click(editor.w().MoveO);
    // x keeps its place and shows it again; cx still shrinks.
    QCOMPARE(boxes(editor.w()), QStringList({"156", "22", "40", "35"}));
    editor.w().txtCX->clear();
    editor.click(editor.w().MoveO);
    QCOMPARE(boxes(editor.w()), QStringList({"157", "22", "40", "35"}));
}

void tst_Nudge::shrinkingBelowZeroIsRefused() {
    Editor editor;
    editor.load(editor.makeSkin(standardMapview(), layout({"win:10,10,0,5"})));
    for (int i = 0; i < 2; ++i)
        editor.click(editor.w().BTNpos);
    editor.click(editor.w().MoveW); // cx - 1 = -1: refused
    QCOMPARE(boxes(editor.w()), QStringList({"10", "10", "0", "5"}));
    QVERIFY(programState().bChanged);
}

void tst_Nudge::tagWithoutNumberDoesNothing() {
    Editor editor;
    editor.loadStandard();
    editor.w().Selector->setTag(QStringLiteral("x"));
    editor.click(editor.w().MoveN);
    QCOMPARE(boxes(editor.w()), QStringList({"156", "22", "41", "35"}));
    editor.w().Selector->setTag(QStringLiteral("99"));
    editor.click(editor.w().MoveN);
    QCOMPARE(editor.canvasRect(24).top(), 22);
    QVERIFY(!programState().bChanged);
}

QTEST_MAIN(tst_Nudge)
#include "tst_nudge.moc"
