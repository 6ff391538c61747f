// The enlarged canvas around the active element: it scrolls to the element that
// becomes active, a zoom keeps the window where the user put it and the pixel
// under the pointer, the selection lies outside the element with handles that
// resize it, and a press whose release another program took ends cleanly.
// Runs on a screen with room beside the window, so that positions can be read.
#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"
#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/align/dragcoordinator.h"
#include "extras/canvas/canvaszoom.h"
#include "resources/canvasview.h"
#include "resources/selectionframe.h"

#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace fixture;

namespace {

constexpr QSize kScreen(1600, 1000);

// The picture lies wholly inside the canvas viewport.
bool inView(frmMain& w, int index) {
    QWidget* viewport = canvasView(w).viewport();
    QWidget* picture = w.elementPicture(index);
    return viewport->rect().contains(
        QRect(picture->mapTo(viewport, QPoint(0, 0)), picture->size()));
}

// The device pixel (as a point of 1/8 device pixels) shown at a screen position.
QPointF deviceAtGlobal(frmMain& w, QPoint global) {
    ui::CanvasView& view = canvasView(w);
    return view.surface().toDevice(view.surface().mapFromGlobal(global));
}

// An element's rectangle in device pixels, as its picture holds it.
QRectF deviceRect(frmMain& w, int i) {
    const ui::ImageControl* p = w.elementPicture(i);
    return {(p->Left() - 480) / 15, (p->Top() - 120) / 15, p->Width() / 15, p->Height() / 15};
}

// Raw events to a picture, past the window system (as a window manager leaves them).
void send(QWidget* picture, QEvent::Type type, QPoint at, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers mods = {}) {
    const Qt::MouseButton button =
        type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButton(Qt::LeftButton);
    QMouseEvent event(type, at, at, picture->mapToGlobal(at), button, buttons, mods);
    QApplication::sendEvent(picture, &event);
}

} // namespace

class tst_CanvasFollow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void followsTheActiveElement_data();
    void followsTheActiveElement();
    void loadLeavesTheCanvasWhereItIs();
    void windowStaysWhereTheUserPutIt_data();
    void windowStaysWhereTheUserPutIt();
    void wheelKeepsThePixelWhileTheWindowGrows_data();
    void wheelKeepsThePixelWhileTheWindowGrows();
    void keysKeepTheActiveElementInView();
    void selectionFrame_data();
    void selectionFrame();
    void handlesResizeAsTheEdgeZones_data();
    void handlesResizeAsTheEdgeZones();
    void pressWhoseReleaseWentElsewhere_data();
    void pressWhoseReleaseWentElsewhere();

private:
    std::unique_ptr<Editor> editor;
    frmMain& w() { return editor->w(); }
};

void tst_CanvasFollow::init() {
    QLocale::setDefault(QLocale::c());
    editor = std::make_unique<Editor>();
    editor->loadStandard();
    QVERIFY(editor->activate());
}

void tst_CanvasFollow::cleanup() {
    editor.reset();
}

void tst_CanvasFollow::followsTheActiveElement_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("element");                          // the element that becomes active
    QTest::newRow("Ctrl+Tab") << "ctrl tab" << 24;             // from gps (23) to win
    QTest::newRow("Ctrl+Shift+Tab") << "ctrl shift tab" << 23; // back to gps
    QTest::newRow("element list") << "list" << 21;             // "lo": log
    QTest::newRow("click on a part of it") << "click" << 21;
}

void tst_CanvasFollow::followsTheActiveElement() {
    QFETCH(QString, how);
    QFETCH(int, element);
    if (how == "ctrl tab") {
        QTest::keyClick(&w(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCoreApplication::processEvents();
    }
    zoomTo(w(), 800);
    ui::CanvasView& view = canvasView(w());
    // The far corner: the element is out of view (for the click, all but a corner of it).
    view.horizontalScrollBar()->setValue(view.horizontalScrollBar()->maximum());
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum());
    QWidget* picture = w().elementPicture(element);
    if (how == "click") {
        const QRect r = view.surfaceRect(deviceRect(w(), element));
        view.horizontalScrollBar()->setValue(r.left() - view.viewport()->width() + 40);
        view.verticalScrollBar()->setValue(r.top() - view.viewport()->height() + 40);
    }
    QVERIFY(!inView(w(), element));
    const QPoint scrolled(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());

    if (how == "ctrl tab")
        QTest::keyClick(&w(), Qt::Key_Tab, Qt::ControlModifier);
    else if (how == "ctrl shift tab")
        QTest::keyClick(&w(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    else if (how == "list") {
        QTest::keyClick(&w(), Qt::Key_F6);
        QTest::keyClicks(QApplication::focusWidget(), "lo");
    } else {
        const QPoint at = picture->mapTo(&w(), QPoint(20, 20));
        QTest::mousePress(&w(), Qt::LeftButton, {}, at);
        QTest::mouseMove(&w(), at + QPoint(1, 0));
        QCoreApplication::processEvents();
        // Not while the button is held: the element would run away under the pointer.
        QCOMPARE(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()),
                 scrolled);
        QTest::mouseRelease(&w(), Qt::LeftButton, {}, at + QPoint(1, 0));
    }
    QCOMPARE(w().Selector->Tag(), QString::number(element));
    QTRY_VERIFY(inView(w(), element));
}

void tst_CanvasFollow::loadLeavesTheCanvasWhereItIs() {
    zoomTo(w(), 800);
    ui::CanvasView& view = canvasView(w());
    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    QVERIFY(!inView(w(), 24));
    // A load makes its last element active; the user did not choose it.
    editor->loadStandard("other");
    QCOMPARE(w().Selector->Tag(), QStringLiteral("24"));
    QCoreApplication::processEvents(); // the check that follows a change of the active element
    QCOMPARE(view.horizontalScrollBar()->value(), 0);
    QCOMPARE(view.verticalScrollBar()->value(), 0);
}

void tst_CanvasFollow::windowStaysWhereTheUserPutIt_data() {
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QString>("keys"); // + zoom in, - zoom out, 0 back to 100 %, m user moves it
    QTest::addColumn<QPoint>("grown"); // after the first key; -1: at the screen's far edge

    QTest::newRow("room on both sides") << QPoint(300, 150) << "+0" << QPoint(300, 150);
    QTest::newRow("taller than the room") << QPoint(300, 150) << "++0" << QPoint(300, 150);
    QTest::newRow("near the bottom right") << QPoint(900, 600) << "+-" << QPoint(-1, -1);
    QTest::newRow("to 800 and back") << QPoint(990, 40) << "+++++0" << QPoint(-1, 40);
    QTest::newRow("moved by the user meanwhile") << QPoint(900, 600) << "+m0" << QPoint(-1, -1);
}

void tst_CanvasFollow::windowStaysWhereTheUserPutIt() {
    QFETCH(QPoint, place);
    QFETCH(QString, keys);
    QFETCH(QPoint, grown);
    const QRect screen = w().screen()->availableGeometry();
    QCOMPARE(screen.size(), kScreen);
    w().move(place);
    QCoreApplication::processEvents();
    QCOMPARE(w().pos(), place);
    QPoint expected = place;
    for (int i = 0; i < keys.size(); ++i) {
        const QChar key = keys[i];
        if (key == 'm') {
            expected = QPoint(200, 100);
            w().move(expected);
        } else {
            QTest::keyClick(&w(),
                            key == '+'   ? Qt::Key_Plus
                            : key == '-' ? Qt::Key_Minus
                                         : Qt::Key_0,
                            Qt::ControlModifier);
        }
        QCoreApplication::processEvents();
        const QRect frame = w().frameGeometry();
        QVERIFY2(screen.contains(frame),
                 qPrintable(QStringLiteral("off the screen after %1").arg(keys.left(i + 1))));
        if (i == 0) {
            // Grown towards the room: from its place where that fits, else from the far edge.
            QCOMPARE(frame.left(), grown.x() < 0 ? screen.right() + 1 - frame.width() : grown.x());
            QCOMPARE(frame.top(), grown.y() < 0 ? screen.bottom() + 1 - frame.height() : grown.y());
        }
    }
    QCOMPARE(canvasView(w()).zoom(), 1);
    QCOMPARE(w().pos(), expected);
}

void tst_CanvasFollow::wheelKeepsThePixelWhileTheWindowGrows_data() {
    QTest::addColumn<QString>("start");  // Ctrl+Plus first
    QTest::addColumn<QPoint>("place");   // of the window
    QTest::addColumn<QPoint>("pointer"); // in the viewport, the canvas scrolled to its corner
    QTest::addColumn<int>("notches");

    // Rows where the screen leaves the window the room to keep the pixel.
    // 100 to 200 %: the whole canvas fits, the window moves under the pointer.
    QTest::newRow("100 to 200, middle") << "" << QPoint(500, 350) << QPoint(152, 168) << 1;
    QTest::newRow("100 to 200, top left") << "" << QPoint(500, 150) << QPoint(62, 48) << 1;
    // Taller than the room: the canvas scrolls down, the window moves sideways.
    QTest::newRow("200 to 300") << "+" << QPoint(500, 100) << QPoint(464, 364) << 1;
    QTest::newRow("300 to 200, shrinking") << "++" << QPoint(300, 0) << QPoint(400, 300) << -1;
}

void tst_CanvasFollow::wheelKeepsThePixelWhileTheWindowGrows() {
    QFETCH(QString, start);
    QFETCH(QPoint, place);
    QFETCH(QPoint, pointer);
    QFETCH(int, notches);
    for (int i = 0; i < start.size(); ++i)
        QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
    w().move(place);
    QCoreApplication::processEvents();
    ui::CanvasView& view = canvasView(w());
    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    const QPoint global = view.viewport()->mapToGlobal(pointer);
    const QPointF device = deviceAtGlobal(w(), global);
    const QSize before = w().size();
    QWheelEvent wheel(pointer, global, {}, QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    QCoreApplication::processEvents();
    QVERIFY(w().size() != before);
    const QPointF now = deviceAtGlobal(w(), global);
    QCOMPARE(QPoint(int(std::floor(now.x())), int(std::floor(now.y()))),
             QPoint(int(std::floor(device.x())), int(std::floor(device.y()))));
    QVERIFY(w().screen()->availableGeometry().contains(w().frameGeometry()));
}

void tst_CanvasFollow::keysKeepTheActiveElementInView() {
    // gps (23) active, low on the screen: every step of the keys keeps it shown.
    QTest::keyClick(&w(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w().Selector->Tag(), QStringLiteral("23"));
    for (int percent : {200, 300, 400, 600, 800}) {
        zoomTo(w(), percent);
        QCoreApplication::processEvents();
        QVERIFY2(inView(w(), 23), qPrintable(QString::number(percent)));
    }
}

void tst_CanvasFollow::selectionFrame_data() {
    zoomRows({100, 200, 400});
}

void tst_CanvasFollow::selectionFrame() {
    QFETCH(int, percent);
    QTest::keyClick(&w(), Qt::Key_Apostrophe, Qt::ControlModifier); // no pixel grid
    zoomTo(w(), percent);
    QCoreApplication::processEvents();
    ui::CanvasView& view = canvasView(w());
    QCOMPARE(w().Selector->Tag(), QStringLiteral("24")); // win, 156,22 41 x 35
    const QRect element = view.surfaceRect(deviceRect(w(), 24));
    const QImage shown = view.surface().grab().toImage();
    const QImage own = w().elementPicture(24)->grab().toImage();
    const QColor blue(0, 0, 255);
    // Across the left edge at a quarter of the height (no handle there): the blue
    // pixels and whether the picture's own pixels still show inside.
    const int y = element.top() + element.height() / 4;
    QList<int> bluePixels;
    for (int dx = -6; dx < 6; ++dx)
        if (QColor(shown.pixel(element.left() + dx, y)) == blue)
            bluePixels << dx;
    const QList<int> expected =
        percent == 100 ? QList<int>{0, 1, 2} : QList<int>{-3, -2, -1}; // inside at 1:1
    QCOMPARE(bluePixels, expected);
    if (percent > 100)
        for (int dx = 0; dx < 6; ++dx)
            QCOMPARE(shown.pixel(element.left() + dx, y), own.pixel(dx, y - element.top()));
    // The handles: only when enlarged.
    auto* frame = w().findChild<ui::SelectionFrame*>();
    QVERIFY(frame);
    for (int h = ui::SelectionFrame::TopLeft; h <= ui::SelectionFrame::Left; ++h)
        QCOMPARE(frame->handle(ui::SelectionFrame::Handle(h)).isVisible(), percent > 100);
}

void tst_CanvasFollow::handlesResizeAsTheEdgeZones_data() {
    QTest::addColumn<int>("handle");
    QTest::addColumn<QPoint>("delta"); // screen pixels at 400 %
    QTest::addColumn<QRectF>("result");

    // win: 156,22 41 x 35
    QTest::newRow("right, 5 pixels out")
        << int(ui::SelectionFrame::Right) << QPoint(20, 9) << QRectF(156, 22, 46, 35);
    QTest::newRow("top left, 2 up and left")
        << int(ui::SelectionFrame::TopLeft) << QPoint(-8, -8) << QRectF(154, 20, 43, 37);
    QTest::newRow("bottom, 3 in") << int(ui::SelectionFrame::Bottom) << QPoint(0, -12)
                                  << QRectF(156, 22, 41, 32);
    QTest::newRow("bottom right, no move")
        << int(ui::SelectionFrame::BottomRight) << QPoint(0, 0) << QRectF(156, 22, 41, 35);
    QTest::newRow("left, less than a pixel")
        << int(ui::SelectionFrame::Left) << QPoint(3, 0) << QRectF(156, 22, 41, 35);
}

void tst_CanvasFollow::handlesResizeAsTheEdgeZones() {
    QFETCH(int, handle);
    QFETCH(QPoint, delta);
    QFETCH(QRectF, result);
    zoomTo(w(), 400);
    auto* frame = w().findChild<ui::SelectionFrame*>();
    QWidget& h = frame->handle(ui::SelectionFrame::Handle(handle));
    canvasView(w()).ensureWidgetVisible(&h, 60, 60);
    QCoreApplication::processEvents();
    QVERIFY(h.isVisible());
    const QPoint start = h.mapTo(&w(), h.rect().center());
    QTest::mousePress(&w(), Qt::LeftButton, {}, start);
    for (int i = 1; i <= 4; ++i)
        QTest::mouseMove(&w(), start + delta * i / 4);
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, start + delta);
    QCOMPARE(deviceRect(w(), 24), result);
}

void tst_CanvasFollow::pressWhoseReleaseWentElsewhere_data() {
    QTest::addColumn<QString>("lost"); // what the window sees instead of the release
    QTest::newRow("a move without the button") << "move";
    QTest::newRow("the window is deactivated") << "deactivate";
    QTest::newRow("the next press") << "press";
}

void tst_CanvasFollow::pressWhoseReleaseWentElsewhere() {
    QFETCH(QString, lost);
    QWidget* win = w().elementPicture(24);
    // Alt held before a press on the left edge; the window manager takes the drag.
    send(win, QEvent::MouseButtonPress, QPoint(1, 10), Qt::LeftButton, Qt::AltModifier);
    send(win, QEvent::MouseMove, QPoint(2, 10), Qt::LeftButton, Qt::AltModifier);
    QVERIFY(editor->bench().alignment().drag().dragging());
    if (lost == "move") {
        send(win, QEvent::MouseMove, QPoint(20, 10), Qt::NoButton);
    } else if (lost == "deactivate") {
        QEvent deactivate(QEvent::WindowDeactivate);
        QApplication::sendEvent(&w(), &deactivate);
    }
    if (lost != "press")
        QVERIFY(!editor->bench().alignment().drag().dragging());
    // A drag from inside moves the element: no edge of the lost press is held.
    send(win, QEvent::MouseButtonPress, QPoint(20, 10), Qt::LeftButton);
    for (int x : {21, 25}) // the first move after a press counts for nothing
        send(win, QEvent::MouseMove, QPoint(x, 10), Qt::LeftButton);
    send(win, QEvent::MouseButtonRelease, QPoint(25, 10), Qt::NoButton);
    QCOMPARE(deviceRect(w(), 24), QRectF(161, 22, 41, 35));
    QVERIFY(!editor->bench().alignment().drag().dragging());
}

int main(int argc, char** argv) {
    // A screen with room around the window.
    QTemporaryDir dir;
    QFile config(dir.filePath(QStringLiteral("screen.json")));
    if (!config.open(QIODevice::WriteOnly))
        return 1;
    config.write(QStringLiteral("{\"screens\": [{\"name\": \"wide\", \"x\": 0, \"y\": 0, "
                                "\"width\": %1, \"height\": %2}]}")
                     .arg(kScreen.width())
                     .arg(kScreen.height())
                     .toUtf8());
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(config.fileName()));
    QApplication app(argc, argv);
    tst_CanvasFollow test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_canvasfollow.moc"
