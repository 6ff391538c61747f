// Element objects on the real main window: the two applies, the selection frame,
// the coordinate boxes and typing into them.
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "resources/errors.h"
#include "resources/mainform.h"

#include <QLocale>
#include <QtTest>
#include <memory>

class tst_clsImage : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void applies_data();
    void applies();
    void applySkipsWhatItCannotUse_data();
    void applySkipsWhatItCannotUse();
    void inactiveElementIgnoresBoxes();
    void readsRoundHalfToEven_data();
    void readsRoundHalfToEven();
    void indexAndSelectorMoveTheFrame();
    void geometryWritesLeaveFrameAndBoxes();
    void typingKeyByKey_data();
    void typingKeyByKey();
    void keyReleaseMarksOnlyRealChanges();
    void keyReleaseDoesNotShiftDependentElement();
    void rebindingDeliversOnce();

private:
    // Binds element i to the window's controls as the loader does and applies
    // the given box texts with the load apply.
    clsImage& bindElement(int index, bool depend = false, int infoBarHeight = 0);
    void setBoxes(const QString& x, const QString& y, const QString& cx, const QString& cy);
    QStringList boxes() const;

    std::unique_ptr<ui::MainForm> form;
};

void tst_clsImage::init() {
    programState().reset();
    QLocale::setDefault(QLocale::c());
    form = std::make_unique<ui::MainForm>();
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void tst_clsImage::cleanup() {
    programState().Elements.clear();
    form.reset();
    QLocale::setDefault(QLocale::c());
}

clsImage& tst_clsImage::bindElement(int index, bool depend, int infoBarHeight) {
    clsImage& e = elementAt(index);
    e.SetImage(form->elementPicture(index));
    e.SetX(form->txtX);
    e.SetY(form->txtY);
    e.SetCX(form->txtCX);
    e.SetCY(form->txtCY);
    e.SetNameLabel(form->LBLiniName);
    e.SetName(QStringLiteral("element%1").arg(index));
    e.SetCoSystem(form->Shape1);
    form->Selector->setTag(QString::number(index));
    e.SetSelector(form->Selector);
    e.setIndex(std::int16_t(index));
    e.SetInfoBarHeight(infoBarHeight);
    e.SetDepend(depend);
    return e;
}

void tst_clsImage::setBoxes(const QString& x, const QString& y, const QString& cx,
                            const QString& cy) {
    form->txtX->setText(x);
    form->txtY->setText(y);
    form->txtCX->setText(cx);
    form->txtCY->setText(cy);
}

QStringList tst_clsImage::boxes() const {
    return {form->txtX->Text(), form->txtY->Text(), form->txtCX->Text(), form->txtCY->Text()};
}

void tst_clsImage::applies_data() {
    QTest::addColumn<bool>("stretch");
    QTest::addColumn<bool>("depend");
    QTest::addColumn<int>("infoBar");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("yBox");
    QTest::addColumn<bool>("changed");

    QTest::newRow("load, plain") << false << false << 20 << 870 << "50" << false;
    QTest::newRow("load, shifted by 18") << false << true << 20 << 600 << "32" << false;
    QTest::newRow("load, no info bar: 2 lower") << false << true << 0 << 900 << "52" << false;
    QTest::newRow("edit, plain") << true << false << 20 << 870 << "50" << true;
    QTest::newRow("edit ignores the shift") << true << true << 20 << 870 << "50" << true;
}

void tst_clsImage::applies() {
    QFETCH(bool, stretch);
    QFETCH(bool, depend);
    QFETCH(int, infoBar);
    QFETCH(int, top);
    QFETCH(QString, yBox);
    QFETCH(bool, changed);

    clsImage& e = bindElement(4, depend, infoBar);
    setBoxes("10", "50", "20", "30");
    programState().bChanged = false;
    stretch ? e.stretchImage() : e.paintImage();

    QCOMPARE(e.Left(), 630);
    QCOMPARE(e.Top(), top);
    QCOMPARE(e.width(), 300);
    QCOMPARE(e.height(), 450);
    QCOMPARE(boxes(), QStringList({"10", yBox, "20", "30"}));
    QCOMPARE(programState().bChanged, changed);
    // The frame covers the picture; the picture widget sits on whole pixels.
    QCOMPARE(form->Selector->geometry(), form->elementPicture(4)->geometry());
    QCOMPARE(form->elementPicture(4)->geometry(), QRect(42, top / 15, 20, 30));
    QCOMPARE(form->LBLiniName->text(), QStringLiteral("element4"));
}

void tst_clsImage::applySkipsWhatItCannotUse_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QRect>("pixels"); // canvas-relative pixel rect

    QTest::newRow("letters in X") << QStringList{"abc", "50", "20", "30"}
                                  << QStringList{"1", "50", "20", "30"} << QRect(1, 50, 20, 30);
    QTest::newRow("empty Y") << QStringList{"10", "", "20", "30"}
                             << QStringList{"10", "2", "20", "30"} << QRect(10, 2, 20, 30);
    QTest::newRow("negative width") << QStringList{"10", "50", "-5", "30"}
                                    << QStringList{"10", "50", "3", "30"} << QRect(10, 50, 3, 30);
    QTest::newRow("negative height") << QStringList{"10", "50", "20", "-1"}
                                     << QStringList{"10", "50", "20", "4"} << QRect(10, 50, 20, 4);
    QTest::newRow("canonical form") << QStringList{"007", " 8 ", "20.50", "1e1"}
                                    << QStringList{"7", "8", "20.5", "10"} << QRect(7, 8, 21, 10);
    QTest::newRow("fractions") << QStringList{"6.666667", "0.1", "10", "10"}
                               << QStringList{"6.666667", "0.1", "10", "10"} << QRect(7, 0, 10, 10);
    // The save computes the keys from twips in 32-bit integers: values beyond them
    // are refused (x: 143165545 px is 2147483655 twips with the canvas' 480).
    QTest::newRow("beyond 32 bits") << QStringList{"200000000", "-1e39", "1e39", "200000000"}
                                    << QStringList{"1", "2", "3", "4"} << QRect(1, 2, 3, 4);
    QTest::newRow("x beyond with the canvas")
        << QStringList{"143165545", "inf", "nan", "-inf"} << QStringList{"1", "2", "3", "4"}
        << QRect(1, 2, 3, 4);
}

void tst_clsImage::applySkipsWhatItCannotUse() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, shown);
    QFETCH(QRect, pixels);

    clsImage& e = bindElement(9);
    setBoxes("1", "2", "3", "4");
    e.paintImage();
    setBoxes(typed[0], typed[1], typed[2], typed[3]);
    e.stretchImage();
    QCOMPARE(boxes(), shown);
    const QRect r = form->elementPicture(9)->geometry();
    QCOMPARE(r.translated(-32, -8), pixels);
    QVERIFY(programState().bChanged);
}

void tst_clsImage::inactiveElementIgnoresBoxes() {
    clsImage& e = bindElement(2);
    setBoxes("1", "2", "3", "4");
    e.paintImage();
    const QRect before = form->elementPicture(2)->geometry();

    form->Selector->setTag(QStringLiteral("-1"));
    setBoxes("100", "100", "100", "100");
    programState().bChanged = false;
    e.paintImage();
    e.stretchImage();
    QCOMPARE(form->elementPicture(2)->geometry(), before);
    QCOMPARE(boxes(), QStringList({"100", "100", "100", "100"}));
    QVERIFY(!programState().bChanged);

    form->Selector->setTag(QStringLiteral("kein Index"));
    e.stretchImage();
    QCOMPARE(form->elementPicture(2)->geometry(), before);
}

void tst_clsImage::readsRoundHalfToEven_data() {
    QTest::addColumn<double>("twips");
    QTest::addColumn<int>("read");
    QTest::newRow("1234.5") << 1234.5 << 1234;
    QTest::newRow("1235.5") << 1235.5 << 1236;
    QTest::newRow("-0.5") << -0.5 << 0;
    QTest::newRow("-1.5") << -1.5 << -2;
    QTest::newRow("1234.49") << 1234.49 << 1234;
}

void tst_clsImage::readsRoundHalfToEven() {
    QFETCH(double, twips);
    QFETCH(int, read);
    clsImage& e = bindElement(0);
    form->elementPicture(0)->setTop(twips);
    form->elementPicture(0)->setLeft(twips);
    QCOMPARE(e.Top(), read);
    QCOMPARE(e.Left(), read);
    QCOMPARE(form->elementPicture(0)->Top(), twips); // exact read-back below
}

void tst_clsImage::indexAndSelectorMoveTheFrame() {
    clsImage& a = bindElement(5);
    setBoxes("10", "20", "30", "40");
    a.paintImage();
    clsImage& b = bindElement(6);
    setBoxes("100", "110", "50", "60");
    b.paintImage();
    QCOMPARE(form->LBLiniName->text(), QStringLiteral("element6"));

    // Another element is active; writing Index pulls frame, label and boxes over.
    a.setIndex(5);
    QCOMPARE(form->Selector->geometry(), form->elementPicture(5)->geometry());
    QCOMPARE(form->LBLiniName->text(), QStringLiteral("element5"));
    QCOMPARE(boxes(), QStringList({"10", "20", "30", "40"}));
    b.SetSelector(form->Selector);
    QCOMPARE(form->Selector->geometry(), form->elementPicture(6)->geometry());
    QCOMPARE(boxes(), QStringList({"100", "110", "50", "60"}));
}

void tst_clsImage::geometryWritesLeaveFrameAndBoxes() {
    clsImage& e = bindElement(7);
    setBoxes("10", "20", "30", "40");
    e.paintImage();
    const QRect frame = form->Selector->geometry();
    e.setLeft(3000);
    e.setTop(3000);
    e.setWidth(150);
    e.setHeight(150);
    QCOMPARE(form->Selector->geometry(), frame);
    QCOMPARE(boxes(), QStringList({"10", "20", "30", "40"}));
    QCOMPARE(form->elementPicture(7)->geometry(), QRect(200, 200, 10, 10));
    QVERIFY_THROWS_EXCEPTION(ui::RuntimeError, e.setWidth(-15));
    QCOMPARE(e.width(), 150);
}

void tst_clsImage::typingKeyByKey_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("leftTwips");
    QTest::addColumn<QString>("shownAfterLoad");

    QTest::newRow("C, -5") << "C"
                           << "-5" << 480 - 75 << "-5";
    QTest::newRow("C, 12.4") << "C"
                             << "12.4" << 480 + 186 << "12.4";
    QTest::newRow("German, 12,4") << "de_DE"
                                  << "12,4" << 480 + 186 << "12,4";
    QTest::newRow("German, -5") << "de_DE"
                                << "-5" << 480 - 75 << "-5";
}

void tst_clsImage::typingKeyByKey() {
    QFETCH(QString, locale);
    QFETCH(QString, typed);
    QFETCH(int, leftTwips);
    QFETCH(QString, shownAfterLoad);
    QLocale::setDefault(QLocale(locale));

    clsImage& e = bindElement(12);
    setBoxes("1", "2", "3", "4");
    e.paintImage();
    form->activateWindow();
    form->txtX->setFocus();
    form->txtX->clear();
    form->txtCY->setText(QStringLiteral("0004")); // another box is rewritten on every key
    QTest::keyClicks(form->txtX, typed);

    QCOMPARE(form->txtX->text(), typed); // the user's text stays, caret at its end
    QCOMPARE(form->txtX->cursorPosition(), typed.size());
    QCOMPARE(form->txtCY->text(), QStringLiteral("4"));
    QCOMPARE(e.Left(), leftTwips);
    QVERIFY(programState().bChanged);

    // Another path (a load apply of the same boxes) rewrites all four boxes.
    e.paintImage();
    QCOMPARE(form->txtX->text(), shownAfterLoad);
}

void tst_clsImage::keyReleaseMarksOnlyRealChanges() {
    clsImage& e = bindElement(11);
    setBoxes("1", "2", "3", "4");
    e.paintImage();
    form->activateWindow();
    form->txtY->setFocus();
    programState().bChanged = false;

    QTest::keyClick(form->txtY, Qt::Key_Tab);
    QTest::keyClick(form->txtY, Qt::Key_Right);
    QTest::keyClick(form->txtY, Qt::Key_Shift);
    QVERIFY(!programState().bChanged);

    QTest::keyClick(form->txtY, Qt::Key_End);
    QTest::keyClick(form->txtY, Qt::Key_0); // "20"
    QVERIFY(programState().bChanged);
    QCOMPARE(e.Top(), 120 + 300);
}

void tst_clsImage::keyReleaseDoesNotShiftDependentElement() {
    clsImage& e = bindElement(3, true, 30);
    setBoxes("0", "100", "50", "20");
    e.paintImage();
    const int top = e.Top();
    QCOMPARE(top, 120 + (100 - 28) * 15);
    QCOMPARE(form->txtY->text(), QStringLiteral("72"));
    programState().bChanged = false;
    form->activateWindow();
    form->txtX->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(form->txtX, Qt::Key_End);
    QCOMPARE(e.Top(), top);
    QVERIFY(!programState().bChanged);
}

void tst_clsImage::rebindingDeliversOnce() {
    // Binding the same boxes again (every load does) must not deliver twice,
    // and an element bound to other boxes no longer hears the old ones.
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < kElementCount; ++i)
            bindElement(i);
    QCOMPARE(form->txtX->KeyUp.size(), std::size_t(kElementCount));
    QCOMPARE(form->elementPicture(0)->MouseDown.size(), std::size_t(1));

    clsImage& e = elementAt(0);
    e.SetX(form->txtY);
    QCOMPARE(form->txtX->KeyUp.size(), std::size_t(kElementCount - 1));
    programState().Elements.clear();
    QCOMPARE(form->txtX->KeyUp.size(), std::size_t(0));
    QCOMPARE(form->elementPicture(0)->MouseDown.size(), std::size_t(0));
}

QTEST_MAIN(tst_clsImage)
#include "tst_clsimage.moc"
