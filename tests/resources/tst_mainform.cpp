// The main window as it is created: its controls with their names, kinds,
// geometry, captions, tab and stacking order, the canvas frame and the window's
// own settings.

// Mouse input goes through the window system, so that Qt picks the widget under
// the pointer, as with a real mouse.
#define QTEST_QPA_MOUSE_HANDLING

#include "resources/mainform.h"
#include "resources/picturefile.h"

#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLineEdit>
#include <QtTest>

#include <algorithm>
#include <array>
#include <vector>

namespace {

// One row of the window's table, front to back.
struct Row {
    const char* name;
    const char* kind;
    int left, top, width, height; // twips
    const char* caption;          // nullptr: any text (the credit label)
    int tabIndex;                 // -1: none
};

constexpr Row kRows[] = {
    {"BTNpos", "button", 7560, 2640, 615, 615, "pos.", 20},
    {"MoveO", "picture button", 8160, 2640, 615, 615, "", 19},
    {"MoveW", "picture button", 6960, 2640, 615, 615, "", 18},
    {"MoveS", "picture button", 7560, 3240, 615, 615, "", 17},
    {"MoveN", "picture button", 7560, 2040, 615, 615, "", 16},
    {"BTNLoad", "button", 6960, 3960, 1815, 495, "Laden", 11},
    {"BTNSave", "button", 6960, 4560, 1815, 495, "Speichern", 10},
    {"ChkInfobar", "check box", 4680, 960, 1935, 375, "Infobar eingeschaltet", 9},
    {"ComboAnsicht", "combo box", 4680, 1440, 1695, 315, "Kartenansicht 1", 8},
    {"txtCY", "text box", 8400, 1440, 495, 375, "", 3},
    {"txtCX", "text box", 8400, 960, 495, 375, "", 2},
    {"txtY", "text box", 7200, 1440, 495, 375, "", 1},
    {"txtX", "text box", 7200, 960, 495, 375, "", 0},
    {"Label4", "label", 4320, 480, 975, 255, nullptr, 15},
    {"Label3", "label", 4320, 120, 855, 255, "Tessel v1.1", 14},
    {"Label2", "label", 5400, 120, 3495, 255, "aktives Element:", 13},
    {"LBLiniName", "label", 5400, 480, 3495, 255, "nothing selected", 12},
    {"Selector", "shape", 480, 3480, 2415, 735, "", -1},
    {"myImage25", "image", 2400, 2160, 675, 495, "", -1},
    {"myImage24", "image", 480, 2400, 675, 495, "", -1},
    {"myImage23", "image", 480, 3000, 675, 495, "", -1},
    {"myImage22", "image", 480, 3600, 675, 495, "", -1},
    {"myImage21", "image", 2040, 480, 1845, 690, "", -1},
    {"myImage20", "image", 2040, 960, 1845, 690, "", -1},
    {"myImage19", "image", 1200, 2760, 885, 570, "", -1},
    {"myImage18", "image", 1200, 4440, 765, 435, "", -1},
    {"myImage17", "image", 1200, 1560, 885, 570, "", -1},
    {"myImage16", "image", 3240, 2040, 885, 570, "", -1},
    {"myImage15", "image", 1200, 2160, 885, 570, "", -1},
    {"myImage14", "image", 1200, 3360, 885, 570, "", -1},
    {"myImage10", "image", 1200, 3960, 855, 615, "", -1},
    {"myImage9", "image", 480, 3480, 855, 975, "", -1},
    {"myImage8", "image", 3240, 3480, 855, 975, "", -1},
    {"myImage7", "image", 1320, 3840, 1095, 615, "", -1},
    {"myImage6", "image", 480, 2640, 855, 855, "", -1},
    {"myImage4", "image", 1320, 3480, 2760, 360, "", -1},
    {"myImage13", "image", 2280, 4440, 885, 570, "", -1},
    {"myImage5", "image", 480, 3480, 855, 975, "", -1},
    {"Label1(3)", "label", 7920, 1560, 375, 255, "CY", 7},
    {"Label1(2)", "label", 7920, 1080, 375, 255, "CX", 6},
    {"Label1(1)", "label", 6840, 1560, 255, 255, "Y", 5},
    {"Label1(0)", "label", 6840, 1080, 255, 255, "X", 4},
    {"myImage12", "image", 960, 1560, 885, 690, "", -1},
    {"myImage11", "image", 960, 4320, 885, 690, "", -1},
    {"myImage3", "image", 480, 120, 3600, 360, "", -1},
    {"myImage2", "image", 480, 3840, 3600, 600, "", -1},
    {"myImage1", "image", 1320, 2280, 525, 2010, "", -1},
    {"Shape1", "shape", 480, 120, 3600, 4800, "", -1},
    {"Image1", "image", 480, 120, 3600, 4785, "", -1},
};

// The element pictures from front to back.
constexpr int kPictureStack[] = {25, 24, 23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 10,
                                 9,  8,  7,  6,  4,  13, 5,  12, 11, 3,  2,  1};

bool isWindowed(const QString& kind) {
    return kind != QLatin1String("label") && kind != QLatin1String("shape") &&
           kind != QLatin1String("image");
}

// The controls that take the focus, in ascending tab index.
QStringList tabOrderOfTheTable() {
    std::vector<const Row*> rows;
    for (const Row& r : kRows)
        if (isWindowed(QString::fromLatin1(r.kind)))
            rows.push_back(&r);
    std::sort(rows.begin(), rows.end(),
              [](const Row* a, const Row* b) { return a->tabIndex < b->tabIndex; });
    QStringList names;
    for (const Row* r : rows)
        names << QString::fromLatin1(r->name);
    return names;
}

QString pictureName(int number) {
    return QStringLiteral("myImage") + QString::number(number);
}

// The window's own control that holds the focus (a combo box's text field
// counts as the combo box).
QWidget* focusedControl(const QWidget& window) {
    QWidget* w = QApplication::focusWidget();
    while (w && w->parentWidget() != &window)
        w = w->parentWidget();
    return w;
}

// The named controls, in the window's sibling order (back to front).
QStringList siblingOrder(const QWidget& window) {
    QStringList names;
    for (QObject* child : window.children())
        if (child->isWidgetType())
            names << child->objectName();
    return names;
}

QPixmap solid(const QColor& color) {
    QPixmap pixmap(8, 8);
    pixmap.fill(color);
    return pixmap;
}

bool isDark(QRgb pixel) {
    return qGray(pixel) < 64;
}

ui::ImageControl* picture(const ui::MainForm& form, int number) {
    return form.control<ui::ImageControl>(pictureName(number));
}

void showAndWait(QWidget& window) {
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
}

void hidePicturesAndSelector(ui::MainForm& form) {
    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        form.elementPicture(i)->setVisibleProp(false);
    form.Selector->setVisibleProp(false);
}

struct Presses {
    int down = 0;
    int up = 0;
    void attach(ui::ImageControl& image) {
        image.MouseDown.bind(this, [this](int, int, float, float) { ++down; });
        image.MouseUp.bind(this, [this](int, int, float, float) { ++up; });
    }
};

} // namespace

class TstMainForm : public QObject {
    Q_OBJECT

private slots:
    void controls_data();
    void controls();
    void noOtherControls();
    void fonts_data();
    void fonts();
    void windowItself();
    void initialState();
    void elementPictureByIndex();
    void tabOrder();
    void siblingOrderIsTheStackingOrder();
    void picturesStackFrontToBack();
    void selectorInFrontOfPictures();
    void canvasLayers();
    void canvasFrame();
    void windowedControlsInFront_data();
    void windowedControlsInFront();
    void resizingMovesNoControl_data();
    void resizingMovesNoControl();
    void icons();
    void pictures_data();
    void pictures();
    void pictureFormatComesFromTheName();
};

void TstMainForm::controls_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("tabIndex");
    for (const Row& r : kRows)
        QTest::newRow(r.name) << QString::fromLatin1(r.name) << QString::fromLatin1(r.kind)
                              << QRect(r.left, r.top, r.width, r.height)
                              << (r.caption ? QString::fromUtf8(r.caption) : QString())
                              << r.tabIndex;
}

void TstMainForm::controls() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QRect, twips);
    QFETCH(QString, caption);
    QFETCH(int, tabIndex);

    ui::MainForm form;
    QWidget* w = form.Controls(name);
    QVERIFY2(w, qPrintable(name));
    QCOMPARE(w->objectName(), name);
    QCOMPARE(w->parentWidget(), &form);

    // Kind and caption.
    QString text;
    if (kind == QLatin1String("button") || kind == QLatin1String("picture button")) {
        auto* button = dynamic_cast<ui::CommandButton*>(w);
        QVERIFY(button);
        text = button->Caption();
    } else if (kind == QLatin1String("check box")) {
        auto* check = dynamic_cast<ui::CheckBox*>(w);
        QVERIFY(check);
        text = check->text();
    } else if (kind == QLatin1String("combo box")) {
        auto* combo = dynamic_cast<ui::ComboBox*>(w);
        QVERIFY(combo);
        text = combo->Text();
    } else if (kind == QLatin1String("text box")) {
        auto* box = dynamic_cast<ui::TextBox*>(w);
        QVERIFY(box);
        text = box->Text();
    } else if (kind == QLatin1String("label")) {
        auto* label = dynamic_cast<ui::Label*>(w);
        QVERIFY(label);
        text = label->Caption();
    } else if (kind == QLatin1String("shape")) {
        QVERIFY(dynamic_cast<ui::ShapeControl*>(w));
    } else {
        QVERIFY(dynamic_cast<ui::ImageControl*>(w));
    }
    if (!caption.isNull())
        QCOMPARE(text, caption);
    else
        QVERIFY(!text.isEmpty());

    // Geometry in twips, and the widget at those pixels.
    auto* geometry = dynamic_cast<ui::TwipsGeometry*>(w);
    QVERIFY(geometry);
    QCOMPARE(geometry->Left(), double(twips.left()));
    QCOMPARE(geometry->Top(), double(twips.top()));
    QCOMPARE(geometry->Width(), double(twips.width()));
    QCOMPARE(geometry->Height(), double(twips.height()));
    QCOMPARE(w->geometry(),
             QRect(twips.left() / 15, twips.top() / 15, twips.width() / 15, twips.height() / 15));
    QVERIFY(geometry->Visible());

    // Windowed controls take the focus; the windowless ones never take focus
    // nor the mouse, whatever their tab index.
    if (isWindowed(kind)) {
        QVERIFY(tabIndex >= 0);
        QVERIFY(w->focusPolicy() & Qt::TabFocus);
        QVERIFY(!w->testAttribute(Qt::WA_TransparentForMouseEvents));
    } else {
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
        if (kind != QLatin1String("image"))
            QVERIFY(w->testAttribute(Qt::WA_TransparentForMouseEvents));
        else
            QVERIFY(!w->testAttribute(Qt::WA_TransparentForMouseEvents));
    }
}

void TstMainForm::noOtherControls() {
    ui::MainForm form;
    QStringList names = siblingOrder(form);
    QCOMPARE(names.size(), int(std::size(kRows)));
    names.sort();
    QStringList expected;
    for (const Row& r : kRows)
        expected << QString::fromLatin1(r.name);
    expected.sort();
    QCOMPARE(names, expected);
}

void TstMainForm::fonts_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("centred");
    QTest::newRow("Label2") << "Label2" << true << true;
    QTest::newRow("LBLiniName") << "LBLiniName" << true << true;
    QTest::newRow("Label3") << "Label3" << false << false;
    QTest::newRow("Label4") << "Label4" << false << false;
    QTest::newRow("Label1(0)") << "Label1(0)" << false << false;
    QTest::newRow("Label1(3)") << "Label1(3)" << false << false;
    QTest::newRow("BTNLoad") << "BTNLoad" << false << false;
    QTest::newRow("ChkInfobar") << "ChkInfobar" << false << false;
    QTest::newRow("txtX") << "txtX" << false << false;
}

void TstMainForm::fonts() {
    QFETCH(QString, name);
    QFETCH(bool, bold);
    QFETCH(bool, centred);

    ui::MainForm form;
    QWidget* w = form.Controls(name);
    QVERIFY(w);
    QCOMPARE(w->font().bold(), bold);
    // 8.25 points at 96 dots per inch.
    QVERIFY(w->font().pixelSize() == 11 || qFuzzyCompare(w->font().pointSizeF(), 8.25));
    if (auto* label = qobject_cast<QLabel*>(w))
        QCOMPARE(label->alignment(), (centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
}

void TstMainForm::windowItself() {
    const QString displayName = QGuiApplication::applicationDisplayName();
    ui::MainForm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Tessel"));
    QVERIFY(form.KeyPreview());
    showAndWait(form);
    // The client area, and the title exactly as given (no program name added).
    QCOMPARE(form.size(), QSize(601, 345));
    QCOMPARE(form.windowHandle()->title(), QStringLiteral("Tessel"));
    QCOMPARE(QGuiApplication::applicationDisplayName(), displayName);
    QCOMPARE(displayName, QCoreApplication::applicationName());
    // An ordinary resizable window with minimise and maximise buttons.
    QVERIFY(!form.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint));
    QVERIFY(form.minimumSize() != form.maximumSize());
}

void TstMainForm::initialState() {
    ui::MainForm form;

    QCOMPARE(form.ComboAnsicht->count(), 3);
    QCOMPARE(form.ComboAnsicht->itemText(0), QStringLiteral("Kartenansicht 1"));
    QCOMPARE(form.ComboAnsicht->itemText(1), QStringLiteral("Kartenansicht 2"));
    QCOMPARE(form.ComboAnsicht->itemText(2), QStringLiteral("Kartenansicht 3"));
    QCOMPARE(form.ComboAnsicht->Text(), form.ComboAnsicht->itemText(0));
    QVERIFY(form.ComboAnsicht->isEditable());

    QCOMPARE(form.ChkInfobar->Value(), 1);

    QCOMPARE(form.Selector->Tag(), QStringLiteral("-1"));
    QCOMPARE(form.Selector->BorderColor(), QColor(0, 0, 255));
    QCOMPARE(int(form.Selector->BorderWidth()), 3);
    QCOMPARE(int(form.Shape1->BorderWidth()), 1);
    QCOMPARE(form.Shape1->BorderColor(), form.palette().color(QPalette::WindowText));

    QCOMPARE(form.LBLiniName->Caption(), QStringLiteral("nothing selected"));
    for (ui::TextBox* box : {form.txtX, form.txtY, form.txtCX, form.txtCY})
        QVERIFY(box->Text().isEmpty());
    QCOMPARE(form.BTNpos->Caption(), QStringLiteral("pos."));

    // The members name the controls of the same name.
    const std::pair<QWidget*, const char*> members[] = {
        {form.BTNpos, "BTNpos"},
        {form.MoveO, "MoveO"},
        {form.MoveW, "MoveW"},
        {form.MoveS, "MoveS"},
        {form.MoveN, "MoveN"},
        {form.BTNLoad, "BTNLoad"},
        {form.BTNSave, "BTNSave"},
        {form.ChkInfobar, "ChkInfobar"},
        {form.ComboAnsicht, "ComboAnsicht"},
        {form.txtCY, "txtCY"},
        {form.txtCX, "txtCX"},
        {form.txtY, "txtY"},
        {form.txtX, "txtX"},
        {form.Label4, "Label4"},
        {form.Label3, "Label3"},
        {form.Label2, "Label2"},
        {form.LBLiniName, "LBLiniName"},
        {form.Selector, "Selector"},
        {form.Label1[0], "Label1(0)"},
        {form.Label1[1], "Label1(1)"},
        {form.Label1[2], "Label1(2)"},
        {form.Label1[3], "Label1(3)"},
        {form.Shape1, "Shape1"},
        {form.Image1, "Image1"},
    };
    for (const auto& [member, name] : members)
        QCOMPARE(member, form.Controls(QString::fromLatin1(name)));
}

void TstMainForm::elementPictureByIndex() {
    ui::MainForm form;
    for (int i = 0; i < ui::MainForm::kElementCount; ++i) {
        QWidget* byName = form.Controls(pictureName(i + 1));
        QVERIFY(byName);
        QCOMPARE(static_cast<QWidget*>(form.elementPicture(i)), byName);
    }
    QVERIFY(!form.Controls(QStringLiteral("myImage0")));
    QVERIFY(!form.Controls(QStringLiteral("myImage26")));
}

void TstMainForm::tabOrder() {
    ui::MainForm form;
    showAndWait(form);
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // The focus starts in txtX.
    QTRY_COMPARE(focusedControl(form), form.txtX);

    const QStringList order = tabOrderOfTheTable();
    QCOMPARE(order,
             (QStringList{"txtX", "txtY", "txtCX", "txtCY", "ComboAnsicht", "ChkInfobar", "BTNSave",
                          "BTNLoad", "MoveN", "MoveS", "MoveW", "MoveO", "BTNpos"}));
    for (qsizetype i = 1; i <= order.size(); ++i) {
        const QString& expected = order[i % order.size()];
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = focusedControl(form);
        QVERIFY2(now, qPrintable(expected));
        QCOMPARE(now->objectName(), expected);
    }
    // Backwards from txtX to the end of the round.
    QCOMPARE(focusedControl(form), form.txtX);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusedControl(form), form.BTNpos);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(focusedControl(form), form.MoveO);
}

void TstMainForm::siblingOrderIsTheStackingOrder() {
    ui::MainForm form;
    // Qt paints and hit-tests later siblings in front of earlier ones.
    QStringList backToFront;
    for (const Row& r : kRows)
        if (!isWindowed(QString::fromLatin1(r.kind)))
            backToFront.prepend(QString::fromLatin1(r.name));
    QStringList windowed;
    for (const Row& r : kRows)
        if (isWindowed(QString::fromLatin1(r.kind)))
            windowed.prepend(QString::fromLatin1(r.name));
    backToFront += windowed; // all in front of the windowless ones

    QCOMPARE(siblingOrder(form), backToFront);
}

void TstMainForm::picturesStackFrontToBack() {
    ui::MainForm form;
    std::array<Presses, ui::MainForm::kElementCount + 1> presses; // [n] for myImage n, [0] Image1
    presses[0].attach(*form.Image1);
    for (int n = 1; n <= ui::MainForm::kElementCount; ++n) {
        auto* picture = form.control<ui::ImageControl>(pictureName(n));
        presses[std::size_t(n)].attach(*picture);
        picture->Move(900, 900, 900, 900); // all on one spot: 60..120 px
    }
    showAndWait(form);
    const QPoint spot(90, 90);

    for (int n : kPictureStack) {
        auto* picture = form.control<ui::ImageControl>(pictureName(n));
        QCOMPARE(form.childAt(spot), static_cast<QWidget*>(picture));
        QTest::mouseClick(&form, Qt::LeftButton, {}, spot);
        for (int m = 0; m <= ui::MainForm::kElementCount; ++m) {
            QCOMPARE(presses[std::size_t(m)].down, m == n ? 1 : 0);
            QCOMPARE(presses[std::size_t(m)].up, m == n ? 1 : 0);
        }
        presses[std::size_t(n)] = Presses{};
        presses[std::size_t(n)].attach(*picture);
        picture->setVisibleProp(false);
    }
    // With all pictures hidden, the map takes the press (the frame takes none).
    QCOMPARE(form.childAt(spot), static_cast<QWidget*>(form.Image1));
    QTest::mouseClick(&form, Qt::LeftButton, {}, spot);
    QCOMPARE(presses[0].down, 1);
}

void TstMainForm::selectorInFrontOfPictures() {
    ui::MainForm form;
    hidePicturesAndSelector(form);
    picture(form, 9)->setPicture(solid(QColor(255, 0, 0)));
    picture(form, 9)->setVisibleProp(true);
    form.Selector->setVisibleProp(true);
    Presses presses;
    presses.attach(*picture(form, 9));
    showAndWait(form);

    // The frame (32..192, 232..280 px, 3 px wide) paints over the picture
    // (32..88, 232..296 px); its interior shows the picture.
    const QImage shot = form.grab().toImage();
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(shot.pixel(32 + i, 250), qRgb(0, 0, 255));
        QCOMPARE(shot.pixel(60, 232 + i), qRgb(0, 0, 255));
        QCOMPARE(shot.pixel(60, 280 - i), qRgb(0, 0, 255));
        QCOMPARE(shot.pixel(192 - i, 250), qRgb(0, 0, 255));
    }
    QCOMPARE(shot.pixel(35, 250), qRgb(255, 0, 0));
    QCOMPARE(shot.pixel(60, 235), qRgb(255, 0, 0));
    QCOMPARE(shot.pixel(60, 277), qRgb(255, 0, 0));

    // A click on the frame reaches the picture under it.
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(33, 250));
    QCOMPARE(presses.down, 1);
    QTest::mouseClick(&form, Qt::LeftButton, {}, QPoint(60, 233));
    QCOMPARE(presses.down, 2);
}

void TstMainForm::canvasLayers() {
    ui::MainForm form;
    hidePicturesAndSelector(form);
    form.Image1->setPicture(solid(QColor(0, 200, 0)));
    picture(form, 3)->setPicture(solid(QColor(255, 0, 0)));
    picture(form, 3)->setVisibleProp(true); // 32..271, 8..31 px
    showAndWait(form);
    const QImage shot = form.grab().toImage();

    // A picture lies in front of the frame...
    QCOMPARE(shot.pixel(32, 8), qRgb(255, 0, 0));
    QCOMPARE(shot.pixel(271, 20), qRgb(255, 0, 0));
    // ...and the frame in front of the map.
    QVERIFY(isDark(shot.pixel(32, 40)));
    QVERIFY(isDark(shot.pixel(271, 40)));
    QVERIFY(isDark(shot.pixel(100, 327)));
    QCOMPARE(shot.pixel(33, 40), qRgb(0, 200, 0));
    QCOMPARE(shot.pixel(270, 326), qRgb(0, 200, 0));
    QCOMPARE(shot.pixel(100, 326), qRgb(0, 200, 0));
    // The map ends one row above the frame's bottom edge.
    QVERIFY(shot.pixel(100, 328) != qRgb(0, 200, 0));
    QVERIFY(shot.pixel(31, 40) != qRgb(0, 200, 0));
    QVERIFY(shot.pixel(272, 40) != qRgb(0, 200, 0));
}

void TstMainForm::canvasFrame() {
    ui::MainForm form;
    hidePicturesAndSelector(form);
    showAndWait(form);
    const QImage withFrame = form.grab().toImage();
    form.Shape1->setVisibleProp(false);
    const QImage withoutFrame = form.grab().toImage();
    QCOMPARE(withFrame.size(), QSize(601, 345));

    // One dark line from (32, 8) to (271, 327); nothing else differs.
    const QRect frame(QPoint(32, 8), QPoint(271, 327));
    for (int y = 0; y < withFrame.height(); ++y) {
        for (int x = 0; x < withFrame.width(); ++x) {
            const bool onBorder =
                frame.contains(x, y) && (x == frame.left() || x == frame.right() ||
                                         y == frame.top() || y == frame.bottom());
            if (onBorder) {
                if (!isDark(withFrame.pixel(x, y)))
                    QFAIL(qPrintable(QStringLiteral("frame not dark at %1, %2").arg(x).arg(y)));
            } else if (withFrame.pixel(x, y) != withoutFrame.pixel(x, y)) {
                QFAIL(qPrintable(QStringLiteral("frame paints at %1, %2").arg(x).arg(y)));
            }
        }
    }

    // Inside lies the map.
    if (form.Image1->picture().isNull())
        QSKIP("the map picture is not compiled in yet");
    const QImage map = form.Image1->grab().toImage();
    QCOMPARE(map.size(), QSize(240, 319));
    for (int y = 1; y < 319; ++y)
        for (int x = 1; x < 239; ++x)
            if (withFrame.pixel(32 + x, 8 + y) != map.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("no map at %1, %2").arg(32 + x).arg(8 + y)));
}

void TstMainForm::windowedControlsInFront_data() {
    QTest::addColumn<QString>("name");
    for (const QString& name : tabOrderOfTheTable())
        QTest::newRow(qPrintable(name)) << name;
}

void TstMainForm::windowedControlsInFront() {
    QFETCH(QString, name);

    ui::MainForm form;
    auto* control = form.Controls(name);
    QVERIFY(control);
    // The foremost picture, laid over the control.
    auto* picture = form.control<ui::ImageControl>(QStringLiteral("myImage25"));
    const QRect r = control->geometry().adjusted(-3, -3, 3, 3);
    picture->Move(r.x() * 15, r.y() * 15, r.width() * 15, r.height() * 15);
    Presses presses;
    presses.attach(*picture);
    showAndWait(form);

    const QPoint centre = control->geometry().center();
    QWidget* hit = form.childAt(centre);
    while (hit && hit->parentWidget() != &form)
        hit = hit->parentWidget();
    QCOMPARE(hit, control);
    QTest::mouseClick(&form, Qt::LeftButton, {}, centre);
    QCOMPARE(presses.down, 0);
    // Beside the control (where no other control lies), the picture gets it.
    const QRect c = control->geometry();
    const QPoint beside[] = {{r.left() + 1, c.center().y()}, {r.right() - 1, c.center().y()},
                             {c.center().x(), r.top() + 1},  {c.center().x(), r.bottom() - 1},
                             r.topLeft() + QPoint(1, 1),     r.bottomRight() - QPoint(1, 1)};
    const auto free = std::find_if(std::begin(beside), std::end(beside), [&](QPoint p) {
        return form.childAt(p) == static_cast<QWidget*>(picture);
    });
    QVERIFY(free != std::end(beside));
    QTest::mouseClick(&form, Qt::LeftButton, {}, *free);
    QCOMPARE(presses.down, 1);
}

void TstMainForm::resizingMovesNoControl_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(900, 700);
    QTest::newRow("smaller") << QSize(300, 200);
    QTest::newRow("narrow and tall") << QSize(150, 600);
}

void TstMainForm::resizingMovesNoControl() {
    QFETCH(QSize, size);

    ui::MainForm form;
    showAndWait(form);
    std::vector<std::pair<QWidget*, QRect>> before;
    for (QObject* child : form.children())
        if (auto* w = qobject_cast<QWidget*>(child))
            before.emplace_back(w, w->geometry());

    form.resize(size);
    QTRY_COMPARE(form.size(), size);
    QCoreApplication::processEvents();
    for (const auto& [w, rect] : before) {
        QCOMPARE(w->geometry(), rect);
        auto* geometry = dynamic_cast<ui::TwipsGeometry*>(w);
        QVERIFY(geometry);
        QCOMPARE(geometry->Left(), rect.x() * 15.0);
        QCOMPARE(geometry->Top(), rect.y() * 15.0);
    }
    form.resize(601, 345);
    QTRY_COMPARE(form.size(), QSize(601, 345));
    for (const auto& [w, rect] : before)
        QCOMPARE(w->geometry(), rect);
}

void TstMainForm::icons() {
    ui::MainForm form;
    // The nudge pad's arrow buttons show pictures, no text.
    for (ui::CommandButton* b : {form.MoveN, form.MoveS, form.MoveW, form.MoveO})
        QVERIFY(b->Caption().isEmpty());

    if (!QFile::exists(QStringLiteral(":/pictures/tessel-32.png")) ||
        !QFile::exists(QStringLiteral(":/pictures/arrow-n-32.png")))
        QSKIP("the icons are not compiled in yet");
    QVERIFY(!form.windowIcon().isNull());
    QVERIFY(!form.windowIcon().pixmap(32, 32).isNull());
    QVERIFY(!form.windowIcon().pixmap(16, 16).isNull());
    for (ui::CommandButton* b : {form.MoveN, form.MoveS, form.MoveW, form.MoveO}) {
        QVERIFY2(!b->icon().isNull(), qPrintable(b->objectName()));
        QVERIFY2(!b->icon().pixmap(32, 32).isNull(), qPrintable(b->objectName()));
    }
    // Each arrow points its own way: no two buttons show the same picture.
    const auto image = [](ui::CommandButton* b) { return b->icon().pixmap(32, 32).toImage(); };
    QVERIFY(image(form.MoveN) != image(form.MoveS));
    QVERIFY(image(form.MoveW) != image(form.MoveO));
    QVERIFY(image(form.MoveN) != image(form.MoveW));
}

void TstMainForm::pictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");
    QTest::newRow("Image1") << "Image1"
                            << ":/pictures/Image1.bmp";
    for (int n = 1; n <= ui::MainForm::kElementCount; ++n) {
        const QString name = pictureName(n);
        QTest::newRow(qPrintable(name))
            << name << QStringLiteral(":/pictures/") + name + (n == 20 ? ".gif" : ".bmp");
    }
}

void TstMainForm::pictures() {
    QFETCH(QString, name);
    QFETCH(QString, file);

    if (!QFile::exists(file))
        QSKIP("the picture is not compiled in yet");
    ui::MainForm form;
    auto* image = form.control<ui::ImageControl>(name);
    QVERIFY(image);
    QVERIFY(!image->picture().isNull());
}

// The reader trusts the name and guesses nothing: a picture under a wrong
// suffix, or no file at all, gives a null picture rather than a crash.
void TstMainForm::pictureFormatComesFromTheName() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(dir.filePath("right.png"), "PNG"));
    QVERIFY(image.save(dir.filePath("wrong.bmp"), "PNG"));

    const QPixmap right = ui::readPicture(dir.filePath("right.png"));
    QCOMPARE(right.size(), QSize(4, 3));
    QCOMPARE(right.toImage().pixelColor(1, 1), QColor(Qt::red));
    QVERIFY(ui::readPicture(dir.filePath("wrong.bmp")).isNull());
    QVERIFY(ui::readPicture(dir.filePath("missing.bmp")).isNull());
    QVERIFY(ui::readIcon(dir.filePath("missing"), {16, 32}).isNull());
}

QTEST_MAIN(TstMainForm)
#include "tst_mainform.moc"
