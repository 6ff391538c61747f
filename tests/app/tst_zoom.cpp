// The canvas enlarged: the zoom keys and the wheel, whole-pixel edits at every
// zoom, the clipping at the controls, the first look and the remembered zoom.
#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"
#include "elements/programstate.h"
#include "resources/canvasview.h"

#include <QScrollBar>
#include <QWindow>
#include <QtTest>

using namespace fixture;

namespace {

// Keys as letters: + Ctrl+Plus, = Ctrl+=, - Ctrl+Minus, 0 Ctrl+0, g Ctrl+'.
void pressKeys(QWidget* target, const QString& keys) {
    const Qt::Key key[] = {Qt::Key_Plus, Qt::Key_Equal, Qt::Key_Minus, Qt::Key_0,
                           Qt::Key_Apostrophe};
    for (QChar c : keys)
        QTest::keyClick(target, key[QStringLiteral("+=-0g").indexOf(c)], Qt::ControlModifier);
}

// The device pixel under a viewport position.
QPoint deviceAt(frmMain& w, QPoint viewport) {
    ui::CanvasView& view = canvasView(w);
    const QPoint scrolled(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    const QPointF device = view.surface().toDevice(QPointF(viewport + scrolled));
    return QPoint(int(std::floor(device.x())), int(std::floor(device.y())));
}

// At 100 % every control stands where the window puts it at 1:1 in its form (the
// window between the menu bar and the status bar), the form has its first size, and
// the canvas does not scroll.
void checkFirstLook(const Workbench& bench) {
    frmMain& w = bench.window();
    QTRY_COMPARE(bench.formArea().size(), QSize(601, 345));
    QCOMPARE(w.width(), 601);
    const QPoint origin = bench.formArea().topLeft();
    int checked = 0;
    for (QWidget* control : w.findChildren<QWidget*>())
        if (auto* geometry = dynamic_cast<ui::TwipsGeometry*>(control); geometry && ++checked)
            QCOMPARE(QRect(control->mapTo(&w, QPoint(0, 0)) - origin, control->size()),
                     QRect(int(geometry->Left()) / 15, int(geometry->Top()) / 15,
                           int(geometry->Width()) / 15, int(geometry->Height()) / 15));
    QCOMPARE(checked, 49);
    QVERIFY(!canvasView(w).horizontalScrollBar()->isVisible());
    QVERIFY(!canvasView(w).verticalScrollBar()->isVisible());
}

// A surface pixel with the grid's line over it.
QRgb underGrid(QRgb below) {
    const QRgb line = qPremultiply(qRgba(128, 128, 128, 80));
    const auto mul = [](uint x, uint a) {
        uint t = (x & 0xff00ff) * a;
        t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
        return t & 0xff00ff;
    };
    const uint rest = 255 - qAlpha(line);
    return line + (mul(below, rest) | (mul(below >> 8, rest) << 8));
}

} // namespace

class tst_Zoom : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keys_data();
    void keys();
    void wheelKeepsThePixelUnderThePointer_data();
    void wheelKeepsThePixelUnderThePointer();
    void wholePixelEdits_data();
    void wholePixelEdits();
    void noZoomDuringADrag();
    void edgeZoneOfThreeScreenPixels_data();
    void edgeZoneOfThreeScreenPixels();
    void nothingOverTheControls_data();
    void nothingOverTheControls();
    void remembered_data();
    void remembered();
    void gridLines_data();
    void gridLines();
    void exposedPartsAsTheWhole_data();
    void exposedPartsAsTheWhole();

private:
    std::unique_ptr<Editor> editor;
    frmMain& w() { return editor->w(); }
    // The canvas of the standard skin at this zoom.
    ui::CanvasSurface& loadedAt(int percent) {
        editor->loadStandard();
        zoomTo(w(), percent);
        return canvasView(w()).surface();
    }
};

void tst_Zoom::init() {
    QLocale::setDefault(QLocale::c());
    editor = std::make_unique<Editor>();
}

void tst_Zoom::cleanup() {
    editor.reset();
}

void tst_Zoom::keys_data() {
    QTest::addColumn<bool>("inBox");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<int>("percent");

    QTest::newRow("up") << false << "+" << 200;
    QTest::newRow("equals is up") << false << "=" << 200;
    QTest::newRow("held down") << false << "++++++++++" << 800;
    QTest::newRow("up and down") << false << "+++-" << 300;
    QTest::newRow("past 400") << false << "++++" << 600;
    QTest::newRow("not below 100") << false << "--" << 100;
    QTest::newRow("back to 100") << false << "+++0" << 100;
    QTest::newRow("in a coordinate box") << true << "++" << 300;
}

void tst_Zoom::keys() {
    QFETCH(bool, inBox);
    QFETCH(QString, keys);
    QFETCH(int, percent);

    editor->loadStandard("sample");
    w().MoveO_Click(); // unsaved
    const QString box = w().txtX->text();
    w().txtX->setFocus();
    pressKeys(inBox ? static_cast<QWidget*>(w().txtX) : &w(), keys);
    QCOMPARE(zoomPercent(w()), percent);
    QCOMPARE(w().txtX->text(), box); // the keys never reach the box
    const QString title = percent == 100 ? QStringLiteral("Tessel - sample*")
                                         : QStringLiteral("Tessel - sample* (%1 %)").arg(percent);
    QCOMPARE(w().windowHandle()->title(), title);
    if (percent == 100)
        checkFirstLook(editor->bench());
}

void tst_Zoom::wheelKeepsThePixelUnderThePointer_data() {
    QTest::addColumn<QString>("start"); // keys before the wheel
    QTest::addColumn<int>("notches");
    QTest::addColumn<QPoint>("pointer"); // in the canvas viewport
    QTest::addColumn<int>("percent");

    // From 300 % on the canvas scrolls both ways on the test screen: the pixel
    // can stay where it is.
    QTest::newRow("up from 300") << "++" << 1 << QPoint(150, 200) << 400;
    QTest::newRow("up twice") << "++" << 2 << QPoint(40, 300) << 600;
    QTest::newRow("down from 400") << "+++" << -1 << QPoint(120, 90) << 300;
    QTest::newRow("down from 800") << "+++++" << -1 << QPoint(300, 500) << 600;
    QTest::newRow("a flood up") << "++" << 40 << QPoint(100, 100) << 800;
}

void tst_Zoom::wheelKeepsThePixelUnderThePointer() {
    QFETCH(QString, start);
    QFETCH(int, notches);
    QFETCH(QPoint, pointer);
    QFETCH(int, percent);

    pressKeys(&w(), start);
    QCoreApplication::processEvents();
    QWidget* viewport = canvasView(w()).viewport();
    const QPoint before = deviceAt(w(), pointer);
    for (int i = 0; i < std::abs(notches); ++i) {
        QWheelEvent wheel(pointer, viewport->mapToGlobal(pointer), {},
                          QPoint(0, notches > 0 ? 120 : -120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport, &wheel);
    }
    QCOMPARE(zoomPercent(w()), percent);
    QCoreApplication::processEvents();
    QCOMPARE(deviceAt(w(), pointer), before);
}

void tst_Zoom::wholePixelEdits_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<QPoint>("press");   // device pixel of the element "log" (40 x 36)
    QTest::addColumn<QPoint>("within");  // screen pixels inside that device pixel, at the press
    QTest::addColumn<QPoint>("delta");   // device pixels
    QTest::addColumn<QPoint>("landing"); // screen pixels inside the device pixel at the end

    QTest::newRow("200 % move") << 200 << QPoint(20, 18) << QPoint(1, 1) << QPoint(7, -5)
                                << QPoint(0, 1);
    QTest::newRow("300 % move") << 300 << QPoint(20, 18) << QPoint(0, 2) << QPoint(-9, 4)
                                << QPoint(2, 2);
    QTest::newRow("400 % move") << 400 << QPoint(20, 18) << QPoint(3, 1) << QPoint(13, 6)
                                << QPoint(3, 0);
    QTest::newRow("400 % left edge")
        << 400 << QPoint(0, 18) << QPoint(2, 1) << QPoint(-5, 0) << QPoint(3, 3);
    QTest::newRow("300 % right edge")
        << 300 << QPoint(39, 18) << QPoint(2, 1) << QPoint(6, 0) << QPoint(0, 2);
    QTest::newRow("200 % bottom right")
        << 200 << QPoint(39, 35) << QPoint(1, 1) << QPoint(4, 3) << QPoint(1, 0);
    QTest::newRow("400 % top edge")
        << 400 << QPoint(20, 0) << QPoint(1, 2) << QPoint(0, -3) << QPoint(2, 3);
}

void tst_Zoom::wholePixelEdits() {
    QFETCH(int, percent);
    QFETCH(QPoint, press);
    QFETCH(QPoint, within);
    QFETCH(QPoint, delta);
    QFETCH(QPoint, landing);
    const int k = percent / 100;

    // The edit at 1:1 in device pixels, then the same at the zoom; the saved
    // files are the same to the byte.
    QByteArray files[2];
    for (int run = 0; run < 2; ++run) {
        editor.reset(); // one window at a time: they share the program's state
        editor = std::make_unique<Editor>();
        const QString skin = editor->loadStandard();
        const int zoom = run == 0 ? 1 : k;
        zoomTo(w(), zoom * 100);
        canvasView(w()).ensureWidgetVisible(w().elementPicture(21), 4 * k, 4 * k);
        const QPoint from = run == 0 ? press : press * k + within;
        const QPoint to = run == 0 ? press + delta : (press + delta) * k + landing;
        editor->drag(21, from, to);
        for (QLineEdit* box : {w().txtX, w().txtY, w().txtCX, w().txtCY}) {
            bool whole = false;
            box->text().toInt(&whole);
            QVERIFY2(whole, qPrintable(box->text()));
        }
        w().BTNSave_Click();
        files[run] = readFile(skin + "/mapviewlt.ini") + readFile(skin + "/defaultlt.ini");
    }
    QVERIFY(files[0] != standardMapview() + standardDefaults());
    QCOMPARE(files[1], files[0]);
}

void tst_Zoom::noZoomDuringADrag() {
    editor->loadStandard();
    const QPoint at = w().elementPicture(21)->mapTo(&w(), QPoint(20, 18));
    QTest::mousePress(&w(), Qt::LeftButton, {}, at);
    QTest::mouseMove(&w(), at + QPoint(1, 0)); // the first move after a press is skipped
    pressKeys(&w(), "+g");
    QTest::mouseMove(&w(), at + QPoint(5, 0));
    QTest::mouseRelease(&w(), Qt::LeftButton, {}, at + QPoint(5, 0));
    QCOMPARE(zoomPercent(w()), 100);
    QCOMPARE(w().txtX->text(), QStringLiteral("7"));
}

void tst_Zoom::edgeZoneOfThreeScreenPixels_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<int>("press"); // screen pixels in from the left edge, or (< 0) the right one
    QTest::addColumn<bool>("resizes");

    QTest::newRow("400 %, 3 in from the left") << 400 << 3 << true;
    QTest::newRow("400 %, 4 in from the left") << 400 << 4 << false;
    QTest::newRow("800 %, 4 in from the left") << 800 << 4 << false;
    QTest::newRow("800 %, 3 in from the right") << 800 << -3 << true;
    QTest::newRow("800 %, 4 in from the right") << 800 << -4 << false;
}

void tst_Zoom::edgeZoneOfThreeScreenPixels() {
    QFETCH(int, percent);
    QFETCH(int, press);
    QFETCH(bool, resizes);

    editor->loadStandard();
    zoomTo(w(), percent);
    QWidget* log = w().elementPicture(21);
    canvasView(w()).ensureWidgetVisible(log, 0, 0);
    const QPoint from(press >= 0 ? press : log->width() + press, log->height() / 2);
    editor->drag(21, from, from + QPoint(percent / 50, 0));
    QCOMPARE(w().txtCX->text() != QStringLiteral("40"), resizes);
}

void tst_Zoom::nothingOverTheControls_data() {
    QTest::addColumn<int>("percent");
    QTest::addColumn<QSize>("window");
    QTest::newRow("100 %") << 100 << QSize();
    QTest::newRow("400 %") << 400 << QSize();
    QTest::newRow("800 %") << 800 << QSize();
    QTest::newRow("800 %, tiny window") << 800 << QSize(100, 100);
    QTest::newRow("100 %, large window") << 100 << QSize(780, 580);
}

void tst_Zoom::nothingOverTheControls() {
    QFETCH(int, percent);
    QFETCH(QSize, window);

    // "log" reaches far to the right, "tmc" lies far outside.
    QByteArray defaults = standardDefaults();
    defaults.replace("[log]\r\nx=2\r\ny=84\r\ncx=40", "[log]\r\nx=2\r\ny=84\r\ncx=99999");
    defaults.replace("[tmc]\r\nx=2", "[tmc]\r\nx=5000");
    editor->load(editor->makeSkin(standardMapview(), defaults));
    zoomTo(w(), percent);
    if (window.isValid())
        w().resize(window);
    QCoreApplication::processEvents();

    ui::CanvasView& view = canvasView(w());
    // The canvas is as large as its margin makes it, not as the elements.
    QCOMPARE(view.surface().size(),
             view.naturalSize(view.zoom()).expandedTo(view.viewport()->size()));
    // The controls keep their arrangement, beside the canvas area.
    const QRect form = editor->bench().formArea();
    QCOMPARE(w().txtX->pos(), QPoint(view.width() + 480 - 288, 64) + form.topLeft());
    const QRect controls(view.geometry().right() + 1, form.top(), w().width() - view.width(),
                         form.height());
    const QImage shown = w().grab().toImage().copy(controls);
    // "log" shows as it is inside the frame (the middle of a device pixel, off
    // the grid), dimmed beyond it.
    const int k = view.zoom();
    const auto shownAt = [&](QPoint device) {
        const QPoint at = view.surface().frameRect().topLeft() + device * k + QPoint(k, k) / 2;
        return view.surface().grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0);
    };
    const auto ownAt = [&](QPoint device) {
        const QPoint at = (device - QPoint(2, 84)) * k + QPoint(k, k) / 2;
        return w().elementPicture(21)->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0);
    };
    QCOMPARE(shownAt({10, 100}), ownAt({10, 100}));
    QVERIFY(shownAt({245, 100}) != ownAt({245, 100}));

    for (int i : {21, 22})
        w().elementPicture(i)->hide();
    const QImage without = w().grab().toImage().copy(controls);
    QVERIFY(!shown.isNull());
    QCOMPARE(shown, without);
}

void tst_Zoom::remembered_data() {
    QTest::addColumn<QByteArray>("settings"); // written before the second window starts
    QTest::addColumn<QString>("keys");        // pressed in the first window
    QTest::addColumn<int>("percent");
    QTest::addColumn<bool>("grid");

    QTest::newRow("no settings file") << QByteArray() << "" << 100 << true;
    QTest::newRow("zoom and grid pressed") << QByteArray() << "+++g" << 400 << false;
    QTest::newRow("from the file")
        << QByteArray("[Ansicht]\r\nZoom=600\r\nRaster=1\r\n") << "" << 600 << true;
    QTest::newRow("no level") << QByteArray("[Ansicht]\r\nZoom=250\r\n") << "" << 100 << true;
}

void tst_Zoom::remembered() {
    QFETCH(QByteArray, settings);
    QFETCH(QString, keys);
    QFETCH(int, percent);
    QFETCH(bool, grid);

    pressKeys(&w(), keys);
    if (!settings.isEmpty())
        writeFile(QDir(editor->workPath()).filePath("Tessel.ini"), settings);
    const Workbench bench;
    frmMain& second = bench.window();
    second.show();
    QVERIFY(QTest::qWaitForWindowExposed(&second));
    QCOMPARE(zoomPercent(second), percent);
    QCOMPARE(canvasView(second).surface().gridShown(), grid);
    if (percent == 100)
        checkFirstLook(bench);
    QCOMPARE(second.windowHandle()->title(), percent == 100
                                                 ? QStringLiteral("Tessel")
                                                 : QStringLiteral("Tessel (%1 %)").arg(percent));
}

QTEST_MAIN(tst_Zoom)
#include "tst_zoom.moc"

// The grid at every zoom that draws it: a line at the start of every device
// pixel inside the frame, none on its outer device pixels or beyond; each
// exposed rectangle painted on its own shows what the whole repaint shows.
void tst_Zoom::gridLines_data() {
    zoomRows({400, 600, 800});
}

void tst_Zoom::gridLines() {
    QFETCH(int, percent);
    ui::CanvasSurface& surface = loadedAt(percent);
    const int k = surface.zoom();
    const QRect frame = surface.frameRect();
    // The corners of the frame with a device pixel and more around them.
    for (const QPoint corner : {frame.topLeft(), frame.bottomRight() + QPoint(1, 1)}) {
        const QRect area(corner - QPoint(3 * k + 1, 3 * k + 1), QSize(7 * k + 3, 7 * k + 3));
        surface.setGridShown(false);
        const QImage plain = surface.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        surface.setGridShown(true);
        const QImage grid = surface.grab(area).toImage().convertToFormat(QImage::Format_RGB32);
        const QRect inside = frame.adjusted(k, k, -k, -k);
        for (int y = 0; y < area.height(); ++y)
            for (int x = 0; x < area.width(); ++x) {
                const QPoint at = area.topLeft() + QPoint(x, y);
                const bool line = inside.contains(at) &&
                                  ((at.x() - frame.x()) % k == 0 || (at.y() - frame.y()) % k == 0);
                const QRgb below = plain.pixel(x, y);
                if (grid.pixel(x, y) != (line ? underGrid(below) : below))
                    QFAIL(qPrintable(QStringLiteral("surface pixel %1, %2: %3 (grid line: %4)")
                                         .arg(at.x())
                                         .arg(at.y())
                                         .arg(grid.pixel(x, y), 8, 16)
                                         .arg(line)));
            }
    }
}

void tst_Zoom::exposedPartsAsTheWhole_data() {
    zoomRows({100, 400, 800});
}

void tst_Zoom::exposedPartsAsTheWhole() {
    QFETCH(int, percent);
    ui::CanvasSurface& surface = loadedAt(percent);
    const QRect frame = surface.frameRect();
    QImage whole(surface.size(), QImage::Format_RGB32);
    surface.render(&whole);
    // Rectangles that start and end inside device pixels and across the
    // frame's edges, several at once and one by one.
    const QPoint c = frame.center();
    const QRect parts[] = {QRect(frame.topLeft() - QPoint(5, 7), QSize(61, 37)),
                           QRect(c - QPoint(33, 3), QSize(47, 101)),
                           QRect(c + QPoint(29, 13), QSize(13, 9)),
                           QRect(frame.bottomRight() - QPoint(41, 21), QSize(59, 31))};
    QRegion several;
    for (const QRect& r : parts)
        several += r;
    for (const QRegion& exposed : {several, QRegion(parts[1]), QRegion(parts[3])}) {
        QImage shown(surface.size(), QImage::Format_RGB32);
        shown.fill(Qt::red);
        surface.render(&shown, exposed.boundingRect().topLeft(), exposed);
        for (const QRect& r : exposed)
            QCOMPARE(shown.copy(r), whole.copy(r));
    }
}
