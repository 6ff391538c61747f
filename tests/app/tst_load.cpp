// Loading a skin folder into the three views.
#include "editorfixture.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "folderbrowser/cSHFolder.h"
#include "platform/profilefile.h"
#include "platform/shell.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QtTest>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fixture;

class tst_Load : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }
    void viewsShowTheirElements_data();
    void viewsShowTheirElements();
    void infoBarShift_data();
    void infoBarShift();
    void routeinfoKeepsItsBottom_data();
    void routeinfoKeepsItsBottom();
    void afterLoadWinIsSelected();
    void fromTakesTheDummysLeftEdge();
    void rootFolderGetsNoSecondSeparator();
    void sameFolderTwice();
    void valuesThatAreNoNumbers();
    void hugeAndBrokenFiles();
    void cancelledDialogLoadsNothing();
    void folderTooDeepForItsFiles();
    void unusableValueTakesTheStartingPlace_data();
    void unusableValueTakesTheStartingPlace();
    void layoutFileThatCannotBeRead_data();
    void layoutFileThatCannotBeRead();
};

void tst_Load::viewsShowTheirElements_data() {
    QTest::addColumn<int>("view");
    QTest::addColumn<QList<int>>("shown");
    QTest::newRow("Kartenansicht 1")
        << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 17, 18, 20, 21, 22, 23, 24};
    QTest::newRow("Kartenansicht 2")
        << 1 << QList<int>{0, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 21, 22, 23, 24};
    QTest::newRow("Kartenansicht 3") << 2 << QList<int>{1, 3, 17, 18, 19, 21, 22, 23, 24};
}

void tst_Load::viewsShowTheirElements() {
    QFETCH(int, view);
    QFETCH(QList<int>, shown);
    Editor editor;
    const QString skin = editor.standardSkin();
    editor.w().ComboAnsicht->setCurrentIndex(view);
    editor.load(skin);
    QCOMPARE(programState().CurrentView, view);
    for (int i = 0; i < 25; ++i)
        QVERIFY2(editor.w().elementPicture(i)->isVisible() == shown.contains(i),
                 qPrintable(QStringLiteral("element %1").arg(i)));
    QVERIFY(editor.w().Selector->isVisible());
}

void tst_Load::infoBarShift_data() {
    QTest::addColumn<QByteArray>("mapview");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<int>("toTop"); // canvas top of "to", file y 40

    QTest::newRow("checked, cy 30") << standardMapview(30) << true << 40 - 28;
    QTest::newRow("unchecked, cy 30") << standardMapview(30) << false << 40;
    QTest::newRow("checked, no cy: 2 lower")
        << layout({"infobar:0,283,240,-", "to:1,40,238,18"}) << true << 42;
    QTest::newRow("checked, cy not a number")
        << crlf({"[infobar]", "cy=abc", "[to]", "y=40"}) << true << 42;
    QTest::newRow("checked, cy empty") << crlf({"[infobar]", "cy=", "[to]", "y=40"}) << true << 42;
    QTest::newRow("checked, cy 30.5 rounds to even")
        << crlf({"[infobar]", "cy=30.5", "[to]", "y=40"}) << true << 40 - 28;
}

void tst_Load::infoBarShift() {
    QFETCH(QByteArray, mapview);
    QFETCH(bool, checked);
    QFETCH(int, toTop);
    Editor editor;
    const QString skin = editor.makeSkin(mapview, standardDefaults());
    editor.w().ChkInfobar->setValue(checked ? 1 : 0);
    editor.load(skin);
    QCOMPARE(editor.canvasRect(2).top(), toTop);
    QCOMPARE(editor.canvasRect(1).top(), mapview.contains("283") ? 283 : 0); // not dependent
    QVERIFY(!programState().bChanged);
    // The file keeps its value: loading changed nothing on disk.
    QCOMPARE(readFile(skin + "/mapviewlt.ini"), mapview);
}

void tst_Load::routeinfoKeepsItsBottom_data() {
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("cy");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QRect>("rect");
    QTest::newRow("y 100, cy 80") << "100"
                                  << "80" << false << QRect(0, 120, 58, 60);
    QTest::newRow("shifted as a dependent") << "100"
                                            << "80" << true << QRect(0, 92, 58, 60);
    QTest::newRow("fractions are floored") << "100.9"
                                           << "80.7" << false << QRect(0, 120, 58, 60);
    QTest::newRow("y not a number counts 0") << "oben"
                                             << "80" << false << QRect(0, 20, 58, 60);
    QTest::newRow("missing y and cy") << "-"
                                      << "-" << false << QRect(0, -40, 58, 60);
}

void tst_Load::routeinfoKeepsItsBottom() {
    QFETCH(QString, y);
    QFETCH(QString, cy);
    QFETCH(bool, checked);
    QFETCH(QRect, rect);
    Editor editor;
    const QString skin = editor.makeSkin(
        layout({"infobar:0,283,240,30", QStringLiteral("routeinfo:0,%1,58,%2").arg(y, cy),
                QStringLiteral("nextinfo:0,%1,58,%2").arg(y, cy)}),
        standardDefaults());
    editor.w().ChkInfobar->setValue(checked ? 1 : 0);
    editor.load(skin);
    QCOMPARE(editor.canvasRect(4), rect);
    QCOMPARE(editor.canvasRect(5), rect);
}

void tst_Load::afterLoadWinIsSelected() {
    Editor editor;
    editor.loadStandard();
    frmMain& w = editor.w();
    QCOMPARE(w.Selector->Tag(), QStringLiteral("24"));
    QCOMPARE(w.Selector->geometry(), w.elementPicture(24)->geometry());
    QCOMPARE(w.LBLiniName->text(), QStringLiteral("win"));
    QCOMPARE(QStringList({w.txtX->Text(), w.txtY->Text(), w.txtCX->Text(), w.txtCY->Text()}),
             QStringList({"156", "22", "41", "35"}));
    QCOMPARE(programState().Elements.size(), std::size_t(25));
    QVERIFY(w.loaded());
}

void tst_Load::fromTakesTheDummysLeftEdge() {
    Editor editor;
    const QString skin = editor.loadStandard();
    QCOMPARE(editor.canvasRect(3).left(), 62); // smalldummy's x in view 0
    editor.w().ComboAnsicht->setCurrentIndex(2);
    editor.w().ComboAnsicht_Click();
    QCOMPARE(editor.canvasRect(3).left(), 5); // largedummy's x in view 2
}

void tst_Load::rootFolderGetsNoSecondSeparator() {
    Editor editor;
    editor.load(QStringLiteral("/"));
    QCOMPARE(editor.w().skinFolder(), QStringLiteral("/"));
    // No layout files there (tests do not write into the root): all defaults.
    QCOMPARE(editor.canvasRect(24), QRect(0, 0, 20, 20));
    QCOMPARE(editor.canvasRect(4), QRect(0, -40 + 2, 20, 60)); // shift -2 without an info bar
}

void tst_Load::sameFolderTwice() {
    Editor editor;
    const QString skin = editor.loadStandard();
    std::vector<const clsImage*> first;
    std::vector<QRect> rects;
    for (int i = 0; i < 25; ++i) {
        first.push_back(programState().Elements[i].get());
        rects.push_back(editor.canvasRect(i));
    }
    editor.load(skin);
    for (int i = 0; i < 25; ++i) {
        QCOMPARE(programState().Elements[i].get(), first[i]);
        QCOMPARE(editor.canvasRect(i), rects[i]);
    }
    // Each picture still reports its events to exactly one object.
    QCOMPARE(editor.w().elementPicture(3)->MouseDown.size(), std::size_t(1));
    QCOMPARE(editor.w().txtX->KeyUp.size(), std::size_t(25));
}

void tst_Load::valuesThatAreNoNumbers() {
    Editor editor;
    const QString skin = editor.makeSkin(crlf({"[infobar]", "cy=\"30\"", "[zoomwin]", "x=abc",
                                               "y=", "cx=1e400", "cy=-5", "[Menu]", "x=12,5"}),
                                         standardDefaults());
    editor.w().ComboAnsicht->setCurrentIndex(1);
    editor.load(skin);
    // Quotes are dropped by the profile rules; values that are no number (or
    // out of range, or negative sizes) leave the picture's earlier value.
    QVERIFY(editor.w().loaded());
    const QRect zoomwin = editor.canvasRect(0);
    QCOMPARE(zoomwin.width(), 35);             // as the window was created
    QCOMPARE(zoomwin.height(), 134);           // -5 refused
    QCOMPARE(editor.canvasRect(2).top(), -28); // "to" missing: y 0 shifted by 28
    QVERIFY(editor.w().elementPicture(0)->isVisible());
}

void tst_Load::hugeAndBrokenFiles() {
    Editor editor;
    QByteArray garbage;
    garbage.reserve(5 << 20);
    quint32 seed = 12345;
    for (int i = 0; i < (5 << 20); ++i) {
        seed = seed * 1103515245u + 12345u;
        garbage.append(char(seed >> 24));
    }
    QByteArray longLine = "[win]\r\nx=" + QByteArray(100000, '7') + "\r\ny=3\r\n";
    const QString skin = editor.makeSkin(garbage, longLine);
    editor.load(skin);
    QVERIFY(editor.w().loaded());
    QCOMPARE(editor.canvasRect(24).top(), 3);
    QCOMPARE(readFile(skin + "/mapviewlt.ini"), garbage); // nothing written by a load
}

void tst_Load::cancelledDialogLoadsNothing() {
    Editor editor;
    QTimer::singleShot(50, [] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            QTest::keyClick(dialog, Qt::Key_Escape);
    });
    editor.click(editor.w().BTNLoad);
    QVERIFY(!editor.w().loaded());
    QVERIFY(!QFile::exists(editor.workPath() + "/Tessel.ini"));
    QVERIFY(editor.w().folderBrowser());
}

// A folder whose own path fits, but not with the names of its layout files: it cannot be
// chosen, and the status line says why (a load would find no files and show defaults).
void tst_Load::folderTooDeepForItsFiles() {
    Editor editor;
    QString folder = editor.workPath();
    while (folder.size() < 4089)
        folder += '/' + QString(qMin(200, 4089 - int(folder.size()) - 1), 'd');
    QVERIFY(QDir().mkpath(folder));
    const QByteArray path = QFile::encodeName(folder);
    bool checked = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        cSHFolder* browser = editor.w().folderBrowser();
        QWidget* dialog = QApplication::activeModalWidget();
        if (checked || !browser || !browser->hWnd() || !dialog)
            return;
        checked = true;
        const auto close = qScopeGuard([dialog] { QTest::keyClick(dialog, Qt::Key_Escape); });
        SendMessageA(browser->hWnd(), BFFM_SETSELECTIONA, TRUE, LPARAM(path.constData()));
        QVERIFY(!dialog->findChild<QPushButton*>("okButton")->isEnabled());
        QVERIFY(dialog->findChild<QLabel*>("statusText")->text().contains("zu lang"));
    });
    timer.start(10);
    editor.click(editor.w().BTNLoad);
    QVERIFY(checked);
    QVERIFY(!editor.w().loaded());
}

void tst_Load::unusableValueTakesTheStartingPlace_data() {
    QTest::addColumn<QString>("line"); // of "win" in the second skin
    QTest::newRow("x no number") << "x=abc";
    QTest::newRow("y out of range") << "y=1e400";
    QTest::newRow("negative width") << "cx=-5";
    QTest::newRow("empty height") << "cy=";
}

void tst_Load::unusableValueTakesTheStartingPlace() {
    QFETCH(QString, line);
    const QByteArray second = crlf({"[win]", line});
    QList<QRect> alone;
    {
        Editor editor;
        editor.load(editor.makeSkin(standardMapview(), second));
        for (int i = 0; i < kElementCount; ++i)
            alone << editor.canvasRect(i);
    }
    Editor editor;
    editor.loadStandard("first");
    editor.load(editor.makeSkin(standardMapview(), second));
    for (int i = 0; i < kElementCount; ++i)
        QCOMPARE(editor.canvasRect(i), alone[i]);
}

void tst_Load::layoutFileThatCannotBeRead_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("link to /dev/zero") << "zero";
    QTest::newRow("larger than any layout file") << "huge";
}

void tst_Load::layoutFileThatCannotBeRead() {
    QFETCH(QString, kind);
    Editor editor;
    const QString skin = editor.makeSkin(standardMapview(), {});
    const QByteArray file = QFile::encodeName(skin + "/defaultlt.ini");
    if (kind == "pipe") {
        QCOMPARE(::mkfifo(file.constData(), 0644), 0);
    } else if (kind == "zero") {
        QVERIFY(QFile::link("/dev/zero", file));
    } else {
        QFile huge(file);
        QVERIFY(huge.open(QIODevice::WriteOnly));
        QVERIFY(huge.resize(qint64(profile::kMaxFileBytes) * 16));
    }
    // A reader stuck on the pipe is let go after a while, so that the test ends.
    std::atomic<bool> done = false;
    std::thread release([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const int fd = ::open(file.constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    });
    QElapsedTimer timer;
    timer.start();
    editor.load(skin);
    QTest::qWait(700); // the change tracker's turn
    const qint64 took = timer.elapsed();
    done = true;
    release.join();
    QVERIFY2(took < 3000, qPrintable(QString::number(took)));
    QCOMPARE(editor.canvasRect(24), QRect(0, 0, 20, 20)); // read as missing
}

QTEST_MAIN(tst_Load)
#include "tst_load.moc"
