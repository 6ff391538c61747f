// tessel --render draws exactly what the editor's canvas shows for the same skin, view
// and info bar state, without the selection frame.
#include "cli/render.h"
#include "editorfixture.h"

#include <QtTest>

using namespace fixture;

class tst_Render : public QObject {
    Q_OBJECT

private slots:
    void sameAsTheCanvas_data();
    void sameAsTheCanvas();
    void viewsDrawnAloneOrTogether();
    void fileNames();
};

void tst_Render::sameAsTheCanvas_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<bool>("infobar");
    QTest::addColumn<int>("scale");

    QTest::newRow("view 1, info bar on") << 1 << true << 1;
    QTest::newRow("view 1, info bar off, 3x") << 1 << false << 3;
    QTest::newRow("view 2") << 2 << true << 1;
    QTest::newRow("view 3, 2x") << 3 << true << 2;
    QTest::newRow("view 2, 4x") << 2 << true << 4;
}

void tst_Render::sameAsTheCanvas() {
    QFETCH(int, view);
    QFETCH(bool, infobar);
    QFETCH(int, scale);

    QImage rendered;
    Editor editor;
    // The skin has an element partly off the canvas and one under another.
    const QString skin = editor.standardSkin();
    {
        // The render uses a main window of its own; the editor's comes after it.
        const QString work = QDir::currentPath();
        rendered = cli::renderViews(skin, {view}, infobar, scale).at(0);
        QCOMPARE(QDir::currentPath(), work);
    }
    QCOMPARE(rendered.size(), QSize(240, 320) * scale);

    frmMain& w = editor.w();
    if (!infobar)
        editor.click(w.ChkInfobar);
    editor.load(skin);
    if (view != 1) {
        w.ComboAnsicht->setCurrentIndex(view - 1);
        w.ComboAnsicht_Click();
    }
    // The selection frame and the problem marks are the editor's, not the layout's.
    w.Selector->hide();
    for (QWidget* mark : w.findChildren<QWidget*>(QStringLiteral("ProblemMark")))
        mark->hide();
    const QImage shown = w.Shape1->parentWidget()
                             ->grab(w.Shape1->geometry())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.size(), QSize(240, 320));
    const QImage picture = rendered.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != shown.pixel(x / scale, y / scale))
                QFAIL(qPrintable(QStringLiteral("pixel %1,%2 differs").arg(x).arg(y)));

    // The canvas enlarged as many times shows the same pixels, once its pixel grid is off.
    if (scale == 1)
        return;
    while (w.Shape1->viewScale() < scale)
        QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
    const auto zoomed = [&w] {
        return w.Shape1->parentWidget()
            ->grab(w.Shape1->geometry())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    if (scale >= 4) {
        QVERIFY(zoomed() != picture); // the grid
        QTest::keyClick(&w, Qt::Key_Apostrophe, Qt::ControlModifier);
    }
    QCOMPARE(zoomed(), picture);
}

void tst_Render::viewsDrawnAloneOrTogether() {
    // "from" takes its x from the dummy of the view; with no number there it stays where
    // it was, which must not be where the view drawn before put it.
    QTemporaryDir dir;
    const QByteArray mapview = standardMapview();
    writeFile(dir.filePath("mapviewlt.ini"),
              QByteArray(mapview).replace("[largedummy]\r\nx=5", "[largedummy]\r\nx=abc"));
    writeFile(dir.filePath("defaultlt.ini"), standardDefaults());
    const std::vector<QImage> together = cli::renderViews(dir.path(), {1, 3}, true, 1);
    QCOMPARE(together.at(1), cli::renderViews(dir.path(), {3}, true, 1).at(0));
    QVERIFY(together.at(0) != together.at(1));
}

void tst_Render::fileNames() {
    using Names = std::vector<QByteArray>;
    QCOMPARE(cli::renderFiles("out.png", {2}), Names{"out.png"});
    QCOMPARE(cli::renderFiles("a/out.PNG", {1, 2, 3}),
             (Names{"a/out-1.PNG", "a/out-2.PNG", "a/out-3.PNG"}));
    QCOMPARE(cli::renderFiles("a.b/o\xFF.bmp", {1, 3}),
             (Names{"a.b/o\xFF-1.bmp", "a.b/o\xFF-3.bmp"}));
}

QTEST_MAIN(tst_Render)
#include "tst_render.moc"
