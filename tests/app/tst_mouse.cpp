// Selecting, dragging and resizing elements with real mouse events.
#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"
#include "elements/programstate.h"
#include "resources/screen.h"

#include <QLocale>
#include <QMouseEvent>
#include <QtTest>

using namespace fixture;

namespace {

// Elements used here (view 0 unless said otherwise, check box off: no shift).
// win (24): 156,22 41x35; log (21): 2,84 40x36; info (17): 198,182 41x35.
QByteArray mouseLayout() {
    return layout({"infobar:0,283,240,30", "from:0,300,100,19", "largedummy:5,283,238,19",
                   "smalldummy:62,302,176,19", "info:198,182,41,35", "Menu:200,22,39,36",
                   "to:100,100,5,40"});
}

} // namespace

class tst_Mouse : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pressSelects();
    void dragMoves();
    void firstMoveAfterPressIsSkipped();
    void edgeZones_data();
    void edgeZones();
    void pressOnTheZoneBoundary();
    void narrowElementBothEdges();
    void resizeNeverGoesNegative();
    void rightButtonOnlyChangesThePointer();
    void dragWithoutMovementMarksTheLayout();
    void dragOffTheCanvas();
    void fromPullsItsDummy_data();
    void fromPullsItsDummy();
    void foremostPictureTakesThePress();
    void pointerResetOverTheBackground();

private:
    std::unique_ptr<Editor> editor;
    frmMain& w() { return editor->w(); }
    QWidget* pic(int i) { return w().elementPicture(i); }
};

void tst_Mouse::init() {
    QLocale::setDefault(QLocale::c());
    editor = std::make_unique<Editor>();
    w().ChkInfobar->setValue(0);
    editor->load(editor->makeSkin(mouseLayout(), standardDefaults()));
    ui::Screen::setMousePointer(0);
}

void tst_Mouse::cleanup() {
    editor.reset();
    ui::Screen::setMousePointer(0);
}

void tst_Mouse::pressSelects() {
    QTest::mousePress(pic(21), Qt::LeftButton, {}, QPoint(20, 18));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21"));
    QCOMPARE(w().LBLiniName->text(), QStringLiteral("log"));
    QCOMPARE(w().Selector->geometry(), pic(21)->geometry());
    QCOMPARE(w().txtX->text(), QStringLiteral("2"));
    QTest::mouseRelease(pic(21), Qt::LeftButton, {}, QPoint(20, 18));
    // The element stays active after the release; nothing moved.
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21"));
    QVERIFY(!programState().bChanged);
}

void tst_Mouse::dragMoves() {
    editor->drag(21, QPoint(20, 18), QPoint(50, 8));
    QCOMPARE(editor->canvasRect(21), QRect(32, 74, 40, 36));
    QCOMPARE(w().txtX->text(), QStringLiteral("32"));
    QCOMPARE(w().txtY->text(), QStringLiteral("74"));
    QCOMPARE(w().Selector->geometry(), pic(21)->geometry());
    QVERIFY(programState().bChanged);
}

void tst_Mouse::firstMoveAfterPressIsSkipped() {
    const QPoint start = pic(21)->mapTo(&w(), QPoint(20, 18));
    QTest::mousePress(&w(), Qt::LeftButton, {}, start);
    QTest::mouseMove(&w(), start + QPoint(10, 0));
    QCOMPARE(editor->canvasRect(21).topLeft(), QPoint(2, 84));
    QVERIFY(!programState().bChanged);
    QTest::mouseMove(&w(), start + QPoint(12, 0));
    QCOMPARE(editor->canvasRect(21).topLeft(), QPoint(14, 84));
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, start + QPoint(12, 0));
}

void tst_Mouse::edgeZones_data() {
    QTest::addColumn<QPoint>("press");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("result");
    QTest::addColumn<int>("pointer");

    // log: 2,84 40x36; the zones are 3 pixels wide.
    QTest::newRow("left") << QPoint(1, 18) << QPoint(-5, 0) << QRect(-2, 84, 44, 36) << 9;
    QTest::newRow("right") << QPoint(39, 18) << QPoint(6, 0) << QRect(2, 84, 45, 36) << 9;
    QTest::newRow("top") << QPoint(20, 0) << QPoint(0, 2) << QRect(2, 86, 40, 34) << 7;
    QTest::newRow("bottom") << QPoint(20, 35) << QPoint(0, 6) << QRect(2, 84, 40, 41) << 7;
    QTest::newRow("top left") << QPoint(1, 1) << QPoint(-4, -4) << QRect(-1, 81, 43, 39) << 8;
    QTest::newRow("bottom right") << QPoint(38, 34) << QPoint(4, 4) << QRect(2, 84, 42, 38) << 8;
    QTest::newRow("top right") << QPoint(39, 1) << QPoint(2, -2) << QRect(2, 83, 41, 37) << 6;
    QTest::newRow("bottom left") << QPoint(2, 35) << QPoint(-2, 2) << QRect(2, 84, 40, 37) << 6;
    QTest::newRow("interior") << QPoint(4, 4) << QPoint(5, 5) << QRect(7, 89, 40, 36) << 0;
}

void tst_Mouse::edgeZones() {
    QFETCH(QPoint, press);
    QFETCH(QPoint, delta);
    QFETCH(QRect, result);
    QFETCH(int, pointer);
    editor->drag(21, press, press + delta, Qt::LeftButton, 2);
    QCOMPARE(editor->canvasRect(21), result);
    QCOMPARE(w().Selector->geometry(), pic(21)->geometry());
    QCOMPARE(ui::Screen::mousePointer(), pointer);
    QVERIFY(programState().bChanged);
}

void tst_Mouse::pressOnTheZoneBoundary() {
    // The zone reaches 45 twips (3 pixels) in: a press there grabs the edge,
    // one twip further in is an interior press.
    const auto pressAt = [this](double x) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, 18.0),
                          pic(21)->mapToGlobal(QPointF(x, 18.0)), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(pic(21), &press);
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, 18.0),
                            pic(21)->mapToGlobal(QPointF(x, 18.0)), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QApplication::sendEvent(pic(21), &release);
    };
    const auto moveBy = [this](double x, double dx) {
        for (double px : {x, x + dx}) { // the first move is skipped
            QMouseEvent move(QEvent::MouseMove, QPointF(px, 18.0),
                             pic(21)->mapToGlobal(QPointF(px, 18.0)), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QApplication::sendEvent(pic(21), &move);
        }
    };

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3.0, 18.0), QPointF(), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic(21), &press);
    moveBy(3.0, -5.0); // left edge: follows the pointer 2 pixels left of the old edge
    QCOMPARE(editor->canvasRect(21), QRect(0, 84, 42, 36));
    pressAt(0); // clears the flags

    const double inside = 3.0 + 1.0 / 15.0;
    QMouseEvent press2(QEvent::MouseButtonPress, QPointF(inside, 18.0), QPointF(), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pic(21), &press2);
    moveBy(inside, 4.0); // interior: the whole element moves
    QCOMPARE(editor->canvasRect(21), QRect(4, 84, 42, 36));
}

void tst_Mouse::narrowElementBothEdges() {
    // "to" is 5 pixels wide: a press at 2 px lies in both side zones. The left
    // step runs first, then the right one sets the width to the pointer's X.
    QCOMPARE(editor->canvasRect(2), QRect(100, 100, 5, 40));
    editor->drag(2, QPoint(2, 20), QPoint(4, 20), Qt::LeftButton, 2);
    QCOMPARE(editor->canvasRect(2).left(), 104);
    QCOMPARE(editor->canvasRect(2).width(), 4);
}

void tst_Mouse::resizeNeverGoesNegative() {
    // Dragging the left edge far beyond the right one: that step is refused,
    // the element keeps a size of zero or more and stays where it was.
    editor->drag(21, QPoint(1, 18), QPoint(80, 18), Qt::LeftButton, 2);
    const QRect r = editor->canvasRect(21);
    QVERIFY(r.width() >= 0);
    QCOMPARE(r.left() + r.width(), 42); // the right edge did not move
    editor->drag(21, QPoint(20, 35), QPoint(20, -60), Qt::LeftButton, 2);
    QVERIFY(editor->canvasRect(21).height() >= 0);
    QCOMPARE(editor->canvasRect(21).top(), 84);
}

void tst_Mouse::rightButtonOnlyChangesThePointer() {
    editor->drag(21, QPoint(1, 18), QPoint(10, 18), Qt::RightButton, 2);
    QCOMPARE(editor->canvasRect(21), QRect(2, 84, 40, 36));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21")); // selected all the same
    QCOMPARE(ui::Screen::mousePointer(), 0);             // the last move left the zone
    const QPoint edge = pic(21)->mapTo(&w(), QPoint(1, 18));
    QTest::mousePress(&w(), Qt::RightButton, {}, edge);
    QTest::mouseMove(&w(), edge);
    QTest::mouseMove(&w(), edge + QPoint(0, 1));
    QCOMPARE(ui::Screen::mousePointer(), 9);
    QTest::mouseRelease(&w(), Qt::RightButton, {}, edge + QPoint(0, 1));
    QVERIFY(!programState().bChanged);
}

void tst_Mouse::dragWithoutMovementMarksTheLayout() {
    const QPoint p = pic(21)->mapTo(&w(), QPoint(20, 18));
    QTest::mousePress(&w(), Qt::LeftButton, {}, p);
    QTest::mouseMove(&w(), p + QPoint(1, 0)); // skipped
    QTest::mouseMove(&w(), p);                // back on the grab point
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, p);
    QCOMPARE(editor->canvasRect(21), QRect(2, 84, 40, 36));
    QVERIFY(programState().bChanged);
}

void tst_Mouse::dragOffTheCanvas() {
    editor->drag(21, QPoint(20, 18), QPoint(-30, -100));
    QCOMPARE(editor->canvasRect(21).topLeft(), QPoint(-48, -34));
    QCOMPARE(w().txtX->text(), QStringLiteral("-48"));
}

void tst_Mouse::fromPullsItsDummy_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("mover");
    QTest::addColumn<int>("follower");
    QTest::newRow("view 0: from pulls smalldummy") << 0 << 3 << 20;
    QTest::newRow("view 0: smalldummy pulls from") << 0 << 20 << 3;
    QTest::newRow("view 2: from pulls largedummy") << 2 << 3 << 19;
    QTest::newRow("view 2: largedummy pulls from") << 2 << 19 << 3;
}

void tst_Mouse::fromPullsItsDummy() {
    QFETCH(int, view);
    QFETCH(int, mover);
    QFETCH(int, follower);
    w().ComboAnsicht->setCurrentIndex(view);
    w().ComboAnsicht_Click();
    w().elementPicture(mover)->raise(); // make sure the pointer reaches it
    const int before = editor->canvasRect(follower).left();
    editor->drag(mover, QPoint(20, 8), QPoint(27, 8));
    QCOMPARE(editor->canvasRect(follower).left(), editor->canvasRect(mover).left());
    QVERIFY(editor->canvasRect(follower).left() != before);
    // Only the follower's picture moved: the frame stays on the mover.
    QCOMPARE(w().Selector->geometry(), pic(mover)->geometry());

    // Merely passing over the mover pulls the follower too.
    pic(follower)->move(pic(follower)->pos() + QPoint(9, 0));
    const QPoint over = pic(mover)->mapTo(&w(), QPoint(30, 9));
    QTest::mouseMove(&w(), over);
    QTest::mouseMove(&w(), over + QPoint(1, 0));
    QTRY_COMPARE(editor->canvasRect(follower).left(), editor->canvasRect(mover).left());
}

void tst_Mouse::foremostPictureTakesThePress() {
    // Menu (18) and win (24) overlap after win is moved onto Menu; win lies in front.
    QCOMPARE(w().Selector->Tag(), QStringLiteral("24"));
    w().elementPicture(24)->setGeometry(w().elementPicture(18)->geometry());
    QTest::mouseClick(&w(), Qt::LeftButton, {}, pic(18)->mapTo(&w(), pic(18)->rect().center()));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("24"));
    // A press on the blue frame reaches the picture under it.
    QTest::mouseClick(&w(), Qt::LeftButton, {}, pic(21)->mapTo(&w(), QPoint(1, 10)));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21"));
    QTest::mouseClick(&w(), Qt::LeftButton, {}, pic(21)->mapTo(&w(), QPoint(1, 10)));
    QCOMPARE(w().Selector->Tag(), QStringLiteral("21"));
}

void tst_Mouse::pointerResetOverTheBackground() {
    // Only the active element shows the sizing arrows.
    QTest::mouseClick(&w(), Qt::LeftButton, {}, pic(21)->mapTo(&w(), pic(21)->rect().center()));
    const QPoint edge = pic(21)->mapTo(&w(), QPoint(1, 18));
    QTest::mouseMove(&w(), edge);
    QTest::mouseMove(&w(), edge + QPoint(0, 1));
    QTRY_COMPARE(ui::Screen::mousePointer(), 9);
    QTest::mouseMove(&w(), QPoint(150, 150)); // the map
    QTRY_COMPARE(ui::Screen::mousePointer(), 0);
    QTest::mouseMove(&w(), edge);
    QTest::mouseMove(&w(), edge + QPoint(0, 1));
    QTRY_COMPARE(ui::Screen::mousePointer(), 9);
    QTest::mouseMove(&w(), QPoint(400, 330)); // the window's bare surface
    QTRY_COMPARE(ui::Screen::mousePointer(), 0);
}

QTEST_MAIN(tst_Mouse)
#include "tst_mouse.moc"
