// The control layer over Qt: numbers, geometry in twips, the controls and their
// events, the window's services, the screen and the message boxes.

// Mouse input goes through the window system, so that Qt picks the widget under
// the pointer and keeps the pressed one grabbed, as with a real mouse.
#define QTEST_QPA_MOUSE_HANDLING

#include "resources/errors.h"
#include "resources/form.h"
#include "resources/imagecontrol.h"
#include "resources/input.h"
#include "resources/msgbox.h"
#include "resources/numbers.h"
#include "resources/screen.h"
#include "resources/shapecontrol.h"
#include "resources/simplecontrols.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <bit>
#include <cfenv>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

using ui::RuntimeError;

namespace {

// Switches the default locale for one test and back.
class DefaultLocale {
public:
    explicit DefaultLocale(const QString& which) { QLocale::setDefault(QLocale(which)); }
    ~DefaultLocale() { QLocale::setDefault(m_saved); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    QLocale m_saved;
};

struct MouseRecord {
    int button;
    int shift;
    float x;
    float y;
};

// Everything an image control raised.
struct MouseLog {
    std::vector<MouseRecord> down, move, up;

    void attach(ui::ImageControl& image) {
        image.MouseDown.bind(this, [this](int b, int s, float x, float y) {
            down.push_back({b, s, x, y});
        });
        image.MouseMove.bind(this, [this](int b, int s, float x, float y) {
            move.push_back({b, s, x, y});
        });
        image.MouseUp.bind(this, [this](int b, int s, float x, float y) {
            up.push_back({b, s, x, y});
        });
    }
};

QPixmap solid(const QColor& color, QSize size = {4, 4}) {
    QPixmap pixmap(size);
    pixmap.fill(color);
    return pixmap;
}

// Runs `answer` on the first modal message box that opens (polling, so that it
// also works when the box opens later than the call).
void whenMessageBoxOpens(std::function<void(QMessageBox&)> answer) {
    auto* timer = new QTimer(qApp); // deletes itself once it has answered
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer = std::move(answer)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        answer(*box);
    });
    timer->start();
}

QPushButton* buttonWithText(QMessageBox& box, const QString& text) {
    for (QAbstractButton* b : box.buttons())
        if (b->text() == text)
            return qobject_cast<QPushButton*>(b);
    return nullptr;
}

} // namespace

class TstControls : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    // numbers
    void cdbl_data();
    void cdbl();
    void strSingle_data();
    void strSingle();
    void strDouble_data();
    void strDouble();
    void numbersRoundTripInEveryLocale_data();
    void numbersRoundTripInEveryLocale();
    void numbersReadInEveryLocale_data();
    void numbersReadInEveryLocale();
    void integerRounding_data();
    void integerRounding();
    void roundingIgnoresTheFloatingPointMode();
    void intIsFloor_data();
    void intIsFloor();

    // geometry
    void geometryReadsBackWhatWasWritten_data();
    void geometryReadsBackWhatWasWritten();
    void negativeSizeIsRefused_data();
    void negativeSizeIsRefused();
    void visibleIsTheControlsOwnFlag();

    // image control and windowless controls
    void imageStretchesItsPicture();
    void imageMouseEvents_data();
    void imageMouseEvents();
    void foremostVisiblePictureGetsThePress();
    void pressedPictureKeepsTheMouse();
    void windowlessControlsPassTheMouseOn_data();
    void windowlessControlsPassTheMouseOn();
    void shapeDrawsItsBorderOnly_data();
    void shapeDrawsItsBorderOnly();

    // simple controls
    void textBoxKeyUp_data();
    void textBoxKeyUp();
    void textBoxProgramTextRaisesNoKey();
    void commandButtonClick();
    void checkBoxClick_data();
    void checkBoxClick();
    void comboBoxClick();

    // the window
    void keyPreview_data();
    void keyPreview();
    void keyPreviewEveryPressOnce();
    void keyPreviewOffAndOtherWindows();
    void formMouseMove_data();
    void formMouseMove();
    void controlsByName_data();
    void controlsByName();
    void loadOnceBeforeFirstShowing();
    void terminate_data();
    void terminate();

    // screen
    void mousePointer_data();
    void mousePointer();
    void mousePointerSequenceLeavesNoOverride();
    void screenSize();

    // message boxes
    void msgBoxLooks_data();
    void msgBoxLooks();
    void msgBoxAnswers_data();
    void msgBoxAnswers();
    void msgBoxYesNoIgnoresEscape();
};

void TstControls::cleanup() {
    ui::Screen::setMousePointer(0);
}

// --- numbers -------------------------------------------------------------------

void TstControls::cdbl_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");

    const QList<std::tuple<const char*, const char*, const char*, bool, double>> rows{
        {"C plain", "C", "12.5", true, 12.5},
        {"C blanks around", "C", "  12.5\t", true, 12.5},
        {"C negative", "C", "-3", true, -3.0},
        {"C plus sign", "C", "+7", true, 7.0},
        {"C exponent", "C", "1E3", true, 1000.0},
        {"C thousand", "C", "1000", true, 1000.0},
        {"C comma is a decimal separator", "C", "156,4", true, 156.4},
        {"C one comma is never a group separator", "C", "1,000", true, 1.0},
        {"C comma and point", "C", "1.234,5", false, 0.0},
        {"C two commas", "C", "1,2,3", false, 0.0},
        {"C negative comma with exponent", "C", "-1,5E2", true, -150.0},
        {"C empty", "C", "", false, 0.0},
        {"C blanks only", "C", "   ", false, 0.0},
        {"C trailing garbage", "C", "12.5x", false, 0.0},
        {"C inner blank", "C", "12 5", false, 0.0},
        {"C word", "C", "abc", false, 0.0},
        {"C too large", "C", "1E400", false, 0.0},
        {"de comma", "de", "12,5", true, 12.5},
        {"de blanks around", "de", " 12,5 ", true, 12.5},
        {"de negative", "de", "-0,25", true, -0.25},
        {"de integer", "de", "240", true, 240.0},
        {"de point is a decimal separator", "de", "156.4", true, 156.4},
        {"de one point is never a group separator", "de", "1.000", true, 1.0},
        {"de point and comma", "de", "1.234,5", false, 0.0},
        {"de two points", "de", "1.2.3", false, 0.0},
        {"de empty", "de", "", false, 0.0},
        {"de trailing garbage", "de", "3,5 px", false, 0.0},
    };
    for (const auto& [row, locale, text, valid, value] : rows)
        QTest::newRow(row) << locale << text << valid << value;
    // Files written by earlier versions in a Persian locale hold its own separator U+066B.
    QTest::newRow("fa native digits and separator")
        << "fa_IR" << QString::fromUtf8("\u06f1\u066b\u06f5") << true << 1.5;
}

void TstControls::cdbl() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const DefaultLocale scope(locale);

    if (valid) {
        QCOMPARE(ui::CDbl(text), value);
        return;
    }
    try {
        const double result = ui::CDbl(text);
        QFAIL(qPrintable(QStringLiteral("no error, got %1").arg(result)));
    } catch (const RuntimeError& e) {
        QCOMPARE(e.code(), RuntimeError::TypeMismatch);
    }
}

void TstControls::strSingle_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("C 100/15") << "C" << 100.0f / 15.0f << "6.666667";
    QTest::newRow("de 100/15") << "de" << 100.0f / 15.0f << "6,666667";
    QTest::newRow("C 150/15") << "C" << 150.0f / 15.0f << "10";
    QTest::newRow("de 150/15") << "de" << 150.0f / 15.0f << "10";
    QTest::newRow("C tenth") << "C" << 0.1f << "0.1";
    QTest::newRow("C negative half") << "C" << -2.5f << "-2.5";
    QTest::newRow("de negative half") << "de" << -2.5f << "-2,5";
    QTest::newRow("C thousand") << "C" << 1000.0f << "1000";
    QTest::newRow("de thousand") << "de" << 1000.0f << "1000";
    QTest::newRow("C seven digits") << "C" << 1234567.0f << "1234567";
    QTest::newRow("C zero") << "C" << 0.0f << "0";
    QTest::newRow("C negative zero") << "C" << -0.0f << "0";
}

void TstControls::strSingle() {
    QFETCH(QString, locale);
    QFETCH(float, value);
    QFETCH(QString, text);
    const DefaultLocale scope(locale);
    QCOMPARE(ui::StrSingle(value), text);
}

void TstControls::strDouble_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("C sum") << "C" << 12.5 + 1 << "13.5";
    QTest::newRow("de sum") << "de" << 12.5 + 1 << "13,5";
    QTest::newRow("C binary fraction") << "C" << 0.1 + 0.2 << "0.3";
    QTest::newRow("C third") << "C" << 1.0 / 3.0 << "0.333333333333333";
    QTest::newRow("de third") << "de" << 1.0 / 3.0 << "0,333333333333333";
    QTest::newRow("C thousand") << "C" << 1000.0 << "1000";
    QTest::newRow("de thousand") << "de" << 1000.0 << "1000";
    QTest::newRow("C millions") << "C" << 1234567.25 << "1234567.25";
    QTest::newRow("de millions") << "de" << 1234567.25 << "1234567,25";
    QTest::newRow("C negative") << "C" << -60.0 << "-60";
    QTest::newRow("C negative zero") << "C" << -0.0 << "0";
    QTest::newRow("C pixel of a twip value") << "C" << 1234.5 / 15.0 << "82.3";
}

void TstControls::strDouble() {
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    const DefaultLocale scope(locale);
    QCOMPARE(ui::StrDouble(value), text);
}

// The locales whose number formats differ most: comma, U+2212 as minus (Swedish),
// a bidi mark before the minus (Hebrew), native digits and separator (Persian).
// The files and boxes get ASCII in all of them.
struct LocaleCase {
    const char* name;
    char separator; // the decimal separator we write
};
constexpr LocaleCase kLocales[] = {
    {"C", '.'}, {"de_DE", ','}, {"sv_SE", ','}, {"he_IL", '.'}, {"fa_IR", '.'}};

void TstControls::numbersRoundTripInEveryLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    const std::pair<double, const char*> values[] = {
        {-4.0, "-4"}, {-12.5, "-12.5"}, {1234.25, "1234.25"}, {-1e-10, "-1E-10"}};
    for (const LocaleCase& l : kLocales)
        for (const auto& [value, text] : values)
            QTest::addRow("%s %s", l.name, text)
                << QString::fromLatin1(l.name) << value
                << QString::fromLatin1(text).replace(QLatin1Char('.'), QLatin1Char(l.separator));
}

void TstControls::numbersRoundTripInEveryLocale() {
    QFETCH(QString, locale);
    QFETCH(double, value);
    QFETCH(QString, text);
    const DefaultLocale scope(locale);
    QCOMPARE(ui::StrDouble(value), text);
    QCOMPARE(ui::StrSingle(float(value)), text);
    QCOMPARE(ui::CDbl(text), value);
}

void TstControls::numbersReadInEveryLocale_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");

    const QChar lrm(0x200E), rlm(0x200F), alm(0x061C), minus(0x2212);
    const std::tuple<const char*, QString, bool, double> cases[] = {
        {"minus sign", QString(minus) + "4", true, -4.0},
        {"LRM before the minus", lrm + QString("-12.5"), true, -12.5},
        {"LRM before U+2212", lrm + QString(minus) + "4", true, -4.0},
        {"ALM before the minus", alm + QString("-4"), true, -4.0},
        {"marks on both sides", QString(lrm) + "-" + lrm + "4" + rlm, true, -4.0},
        {"native digits", QString::fromUtf8("\u06f1\u06f2"), true, 12.0},
        {"inf", "inf", false, 0.0},
        {"-inf", "-inf", false, 0.0},
        {"nan", "nan", false, 0.0},
        {"mark between digits", QString("1") + lrm + "2", false, 0.0},
    };
    for (const LocaleCase& l : kLocales)
        for (const auto& [name, text, valid, value] : cases)
            QTest::addRow("%s %s", l.name, name)
                << QString::fromLatin1(l.name)
                << QString(text).replace(QLatin1Char('.'), QLatin1Char(l.separator)) << valid
                << value;
}

void TstControls::numbersReadInEveryLocale() {
    QFETCH(QString, locale);
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    const DefaultLocale scope(locale);
    std::optional<double> read;
    try {
        read = ui::CDbl(text);
    } catch (const RuntimeError&) {
    }
    QCOMPARE(read, valid ? std::optional(value) : std::nullopt);
}

void TstControls::integerRounding_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<bool>("lngOverflow");
    QTest::addColumn<int>("lng");
    QTest::addColumn<bool>("intOverflow");
    QTest::addColumn<int>("integer");

    QTest::newRow("half down to even") << 1234.5 << false << 1234 << false << 1234;
    QTest::newRow("half up to even") << 1235.5 << false << 1236 << false << 1236;
    QTest::newRow("negative half") << -2.5 << false << -2 << false << -2;
    QTest::newRow("negative odd half") << -3.5 << false << -4 << false << -4;
    QTest::newRow("small half") << 0.5 << false << 0 << false << 0;
    QTest::newRow("below half") << 2.4999 << false << 2 << false << 2;
    QTest::newRow("above half") << -7.6 << false << -8 << false << -8;
    QTest::newRow("16-bit top") << 32767.4 << false << 32767 << false << 32767;
    QTest::newRow("16-bit rounds over") << 32767.5 << false << 32768 << true << 0;
    QTest::newRow("16-bit bottom half") << -32768.5 << false << -32768 << false << -32768;
    QTest::newRow("beyond 16 bits") << 40000.0 << false << 40000 << true << 0;
    QTest::newRow("32-bit top") << 2147483647.0 << false << 2147483647 << true << 0;
    QTest::newRow("32-bit rounds over") << 2147483647.5 << true << 0 << true << 0;
    QTest::newRow("32-bit bottom") << -2147483648.0 << false << int(-2147483648LL) << true << 0;
    QTest::newRow("32-bit bottom half")
        << -2147483648.5 << false << int(-2147483648LL) << true << 0;
    QTest::newRow("below 32 bits") << -2147483649.0 << true << 0 << true << 0;
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << true << 0 << true
                                  << 0;
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << true << 0 << true << 0;
}

void TstControls::integerRounding() {
    QFETCH(double, value);
    QFETCH(bool, lngOverflow);
    QFETCH(int, lng);
    QFETCH(bool, intOverflow);
    QFETCH(int, integer);

    if (lngOverflow) {
        try {
            ui::CLng(value);
            QFAIL("CLng raised no error");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.code(), RuntimeError::Overflow);
        }
    } else {
        QCOMPARE(ui::CLng(value), lng);
    }
    if (intOverflow) {
        try {
            ui::CInt(value);
            QFAIL("CInt raised no error");
        } catch (const RuntimeError& e) {
            QCOMPARE(e.code(), RuntimeError::Overflow);
        }
    } else {
        QCOMPARE(int(ui::CInt(value)), integer);
    }
}

void TstControls::roundingIgnoresTheFloatingPointMode() {
    const int saved = std::fegetround();
    std::fesetround(FE_UPWARD);
    const std::int32_t lng = ui::CLng(1234.5);
    const std::int16_t integer = ui::CInt(-2.5);
    const int after = std::fegetround();
    std::fesetround(saved);
    QCOMPARE(lng, 1234);
    QCOMPARE(int(integer), -2);
    QCOMPARE(after, FE_UPWARD);
}

void TstControls::intIsFloor_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("positive fraction") << 2.7 << 2.0;
    QTest::newRow("negative half") << -2.5 << -3.0;
    QTest::newRow("small negative") << -0.5 << -1.0;
    QTest::newRow("whole") << 5.0 << 5.0;
    QTest::newRow("twips to pixels") << 1234.5 / 15.0 << 82.0;
}

void TstControls::intIsFloor() {
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(ui::Int(value), expected);
}

// --- geometry ------------------------------------------------------------------

namespace {

// One control of each kind, as the window creates them.
std::pair<QWidget*, ui::TwipsGeometry*> makeControl(const QString& kind, QWidget* parent) {
    auto pair = [](auto* control) {
        return std::pair<QWidget*, ui::TwipsGeometry*>(control, control);
    };
    if (kind == QLatin1String("image"))
        return pair(new ui::ImageControl(parent));
    if (kind == QLatin1String("shape"))
        return pair(new ui::ShapeControl(parent));
    if (kind == QLatin1String("label"))
        return pair(new ui::Label(parent));
    if (kind == QLatin1String("text"))
        return pair(new ui::TextBox(parent));
    if (kind == QLatin1String("button"))
        return pair(new ui::CommandButton(parent));
    if (kind == QLatin1String("check"))
        return pair(new ui::CheckBox(parent));
    return pair(new ui::ComboBox(parent));
}

const char* const kKinds[] = {"image", "shape", "label", "text", "button", "check", "combo"};

} // namespace

void TstControls::geometryReadsBackWhatWasWritten_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("width");
    QTest::addColumn<double>("height");
    QTest::addColumn<QRect>("pixels");

    for (const char* kind : kKinds) {
        QTest::addRow("%s whole pixels", kind)
            << kind << 480.0 << 120.0 << 3600.0 << 4800.0 << QRect(32, 8, 240, 320);
        QTest::addRow("%s fractions", kind)
            << kind << 1234.5 << 7.4 << 22.5 << 37.5 << QRect(82, 0, 2, 3);
        QTest::addRow("%s half pixels", kind)
            << kind << 7.5 << 22.6 << 0.1 << 1000.25 << QRect(1, 2, 0, 67);
        QTest::addRow("%s left of the window", kind)
            << kind << -150.0 << -7.6 << 0.0 << 15.0 << QRect(-10, -1, 0, 1);
    }
}

void TstControls::geometryReadsBackWhatWasWritten() {
    QFETCH(QString, kind);
    QFETCH(double, left);
    QFETCH(double, top);
    QFETCH(double, width);
    QFETCH(double, height);
    QFETCH(QRect, pixels);

    QWidget window;
    auto [widget, geometry] = makeControl(kind, &window);

    // One property at a time, as the program writes them.
    geometry->setLeft(left);
    geometry->setTop(top);
    geometry->setWidth(width);
    geometry->setHeight(height);
    QCOMPARE(geometry->Left(), left);
    QCOMPARE(geometry->Top(), top);
    QCOMPARE(geometry->Width(), width);
    QCOMPARE(geometry->Height(), height);
    QCOMPARE(widget->geometry(), pixels);

    // All four at once, from elsewhere.
    geometry->Move(15, 30, 45, 60);
    QCOMPARE(widget->geometry(), QRect(1, 2, 3, 4));
    geometry->Move(left, top, width, height);
    QCOMPARE(geometry->Left(), left);
    QCOMPARE(geometry->Top(), top);
    QCOMPARE(geometry->Width(), width);
    QCOMPARE(geometry->Height(), height);
    QCOMPARE(widget->geometry(), pixels);
}

void TstControls::negativeSizeIsRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("property");
    QTest::addColumn<double>("value");

    for (const char* kind : {"image", "shape"}) {
        QTest::addRow("%s width -1", kind) << kind << "Width" << -1.0;
        QTest::addRow("%s width -15", kind) << kind << "Width" << -15.0;
        QTest::addRow("%s width a hair below zero", kind) << kind << "Width" << -0.001;
        QTest::addRow("%s height -15", kind) << kind << "Height" << -15.0;
        QTest::addRow("%s height -4800", kind) << kind << "Height" << -4800.0;
        QTest::addRow("%s height nan", kind)
            << kind << "Height" << std::numeric_limits<double>::quiet_NaN();
        QTest::addRow("%s move with negative width", kind) << kind << "Move width" << -30.0;
        QTest::addRow("%s move with negative height", kind) << kind << "Move height" << -30.0;
    }
}

void TstControls::negativeSizeIsRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, property);
    QFETCH(double, value);

    QWidget window;
    auto [widget, geometry] = makeControl(kind, &window);
    geometry->Move(1234.5, 300, 675, 495);
    const QRect before = widget->geometry();

    bool raised = false;
    try {
        if (property == QLatin1String("Width"))
            geometry->setWidth(value);
        else if (property == QLatin1String("Height"))
            geometry->setHeight(value);
        else if (property == QLatin1String("Move width"))
            geometry->Move(900, 900, value, 90);
        else
            geometry->Move(900, 900, 90, value);
    } catch (const RuntimeError& e) {
        raised = true;
        QCOMPARE(e.code(), RuntimeError::InvalidPropertyValue);
    }
    QVERIFY(raised);
    QCOMPARE(geometry->Left(), 1234.5);
    QCOMPARE(geometry->Top(), 300.0);
    QCOMPARE(geometry->Width(), 675.0);
    QCOMPARE(geometry->Height(), 495.0);
    QCOMPARE(widget->geometry(), before);

    // A size of zero is allowed.
    geometry->setWidth(0);
    QCOMPARE(geometry->Width(), 0.0);
}

void TstControls::visibleIsTheControlsOwnFlag() {
    ui::Form window;
    window.resize(100, 80);
    auto* image = new ui::ImageControl(&window);
    auto* shape = new ui::ShapeControl(&window);

    // Before the window is shown, a control is visible unless it was hidden.
    QVERIFY(image->Visible());
    QVERIFY(shape->Visible());
    shape->setVisibleProp(false);
    QVERIFY(!shape->Visible());

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(image->Visible());
    QVERIFY(image->isVisible());
    QVERIFY(!shape->Visible());
    QVERIFY(!shape->isVisible());

    // Hiding the window leaves the controls' own flags alone.
    window.hide();
    QVERIFY(image->Visible());
    QVERIFY(!shape->Visible());
    shape->setVisibleProp(true);
    QVERIFY(shape->Visible());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(shape->isVisible());
}

// --- image control and windowless controls -------------------------------------

void TstControls::imageStretchesItsPicture() {
    QWidget window;
    window.resize(120, 100);
    auto* image = new ui::ImageControl(&window);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.setPixel(0, 0, qRgb(255, 0, 0));
    picture.setPixel(1, 0, qRgb(0, 255, 0));
    picture.setPixel(0, 1, qRgb(0, 0, 255));
    picture.setPixel(1, 1, qRgb(255, 255, 0));
    image->setPicture(QPixmap::fromImage(picture));
    image->Move(150, 150, 40 * 15, 30 * 15);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const auto quadrants = [&](QSize size) {
        const QImage shot = image->grab().toImage();
        QCOMPARE(shot.size(), size);
        const int w = size.width(), h = size.height();
        QCOMPARE(shot.pixel(1, 1), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(w / 2 - 2, h / 2 - 2), qRgb(255, 0, 0));
        QCOMPARE(shot.pixel(w - 2, 1), qRgb(0, 255, 0));
        QCOMPARE(shot.pixel(w / 2 + 1, h / 2 - 2), qRgb(0, 255, 0));
        QCOMPARE(shot.pixel(1, h - 2), qRgb(0, 0, 255));
        QCOMPARE(shot.pixel(w - 2, h - 2), qRgb(255, 255, 0));
        QCOMPARE(shot.pixel(w / 2 + 1, h / 2 + 1), qRgb(255, 255, 0));
    };
    quadrants(QSize(40, 30));
    // A new size stretches the same picture to it, whatever the ratio.
    image->setWidth(90 * 15);
    image->setHeight(12 * 15);
    quadrants(QSize(90, 12));
}

void TstControls::imageMouseEvents_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<int>("buttonBit");
    QTest::addColumn<int>("shift");

    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << QPoint(10, 5) << 1 << 0;
    QTest::newRow("right with shift")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << QPoint(0, 1) << 2 << 1;
    QTest::newRow("middle with ctrl")
        << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::ControlModifier) << QPoint(39, 29) << 4
        << 2;
    QTest::newRow("left with alt")
        << Qt::LeftButton << Qt::KeyboardModifiers(Qt::AltModifier) << QPoint(20, 1) << 1 << 4;
    QTest::newRow("left with all three")
        << Qt::LeftButton
        << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)
        << QPoint(3, 17) << 1 << 7;
    QTest::newRow("right with shift and ctrl")
        << Qt::RightButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier)
        << QPoint(30, 2) << 2 << 3;
}

void TstControls::imageMouseEvents() {
    QFETCH(Qt::MouseButton, button);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QPoint, pos);
    QFETCH(int, buttonBit);
    QFETCH(int, shift);

    QWidget window;
    window.resize(120, 100);
    auto* image = new ui::ImageControl(&window);
    image->Move(300, 450, 600, 450); // 20, 30 px; 40 x 30 px
    MouseLog log;
    log.attach(*image);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mousePress(image, button, modifiers, pos);
    QCOMPARE(log.down.size(), std::size_t(1));
    QCOMPARE(log.down[0].button, buttonBit);
    QCOMPARE(log.down[0].shift, shift);
    QCOMPARE(log.down[0].x, float(pos.x() * 15));
    QCOMPARE(log.down[0].y, float(pos.y() * 15));

    // Moving with the button held reports the held button.
    const QPoint next = pos + QPoint(1, 0);
    QTest::mouseMove(image, next);
    QVERIFY(!log.move.empty());
    QCOMPARE(log.move.back().button, buttonBit);
    QCOMPARE(log.move.back().x, float(next.x() * 15));
    QCOMPARE(log.move.back().y, float(next.y() * 15));

    QTest::mouseRelease(image, button, modifiers, next);
    QCOMPARE(log.up.size(), std::size_t(1));
    QCOMPARE(log.up[0].button, buttonBit);
    QCOMPARE(log.up[0].shift, shift);
    QCOMPARE(log.up[0].x, float(next.x() * 15));
    QCOMPARE(log.up[0].y, float(next.y() * 15));
    QCOMPARE(log.down.size(), std::size_t(1));

    // Without a button, the picture still reports moves, with button 0.
    log.move.clear();
    QTest::mouseMove(image, QPoint(5, 6));
    QVERIFY(!log.move.empty());
    QCOMPARE(log.move.back().button, 0);
    QCOMPARE(log.move.back().x, 75.0f);
    QCOMPARE(log.move.back().y, 90.0f);
}

void TstControls::foremostVisiblePictureGetsThePress() {
    QWidget window;
    window.resize(200, 150);
    auto* back = new ui::ImageControl(&window);
    auto* front = new ui::ImageControl(&window); // created later: in front
    back->Move(150, 150, 900, 900);              // 10..70 px
    front->Move(600, 600, 900, 900);             // 40..100 px
    MouseLog backLog, frontLog;
    backLog.attach(*back);
    frontLog.attach(*front);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // On the overlap the front picture gets the press, at its own coordinates.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(50, 60));
    QCOMPARE(frontLog.down.size(), std::size_t(1));
    QCOMPARE(frontLog.down[0].x, 150.0f);
    QCOMPARE(frontLog.down[0].y, 300.0f);
    QCOMPARE(backLog.down.size(), std::size_t(0));

    // Where only the back one lies, it gets it.
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(backLog.down.size(), std::size_t(1));
    QCOMPARE(backLog.down[0].x, 150.0f);

    // A hidden picture takes nothing: the one behind it gets the press.
    front->setVisibleProp(false);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(50, 60));
    QCOMPARE(frontLog.down.size(), std::size_t(1));
    QCOMPARE(backLog.down.size(), std::size_t(2));
    QCOMPARE(backLog.down[1].x, 600.0f);
    QCOMPARE(backLog.down[1].y, 750.0f);
}

void TstControls::pressedPictureKeepsTheMouse() {
    QWidget window;
    window.resize(200, 150);
    auto* pressed = new ui::ImageControl(&window);
    auto* other = new ui::ImageControl(&window);
    pressed->Move(150, 150, 600, 600); // 10..50 px
    other->Move(1200, 150, 600, 600);  // 80..120 px
    MouseLog pressedLog, otherLog;
    pressedLog.attach(*pressed);
    otherLog.attach(*other);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QTest::mouseMove(&window, QPoint(20, 20));
    pressedLog.move.clear();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(20, 20));
    QCOMPARE(pressedLog.down.size(), std::size_t(1));
    // Off the picture, over the bare window and over another picture: the
    // pressed one still gets the moves, at coordinates from its own corner.
    QTest::mouseMove(&window, QPoint(65, 70));
    QTest::mouseMove(&window, QPoint(5, 3));
    QTest::mouseMove(&window, QPoint(90, 30));
    QCOMPARE(pressedLog.move.size(), std::size_t(3));
    QCOMPARE(pressedLog.move[0].x, 55.0f * 15);
    QCOMPARE(pressedLog.move[0].y, 60.0f * 15);
    QCOMPARE(pressedLog.move[1].x, -5.0f * 15);
    QCOMPARE(pressedLog.move[1].y, -7.0f * 15);
    QCOMPARE(pressedLog.move[2].x, 80.0f * 15);
    QCOMPARE(pressedLog.move[2].y, 20.0f * 15);
    for (const MouseRecord& m : pressedLog.move)
        QCOMPARE(m.button, 1);
    QVERIFY(otherLog.move.empty());

    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(90, 30));
    QCOMPARE(pressedLog.up.size(), std::size_t(1));
    QCOMPARE(pressedLog.up[0].x, 80.0f * 15);
    QVERIFY(otherLog.up.empty());
    QVERIFY(otherLog.down.empty());

    // Once the button is up, the picture under the pointer gets the moves again.
    QTest::mouseMove(&window, QPoint(91, 31));
    QVERIFY(!otherLog.move.empty());
    QCOMPARE(otherLog.move.back().button, 0);
    QCOMPARE(pressedLog.move.size(), std::size_t(3));
}

void TstControls::windowlessControlsPassTheMouseOn_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("shape") << "shape";
    QTest::newRow("label") << "label";
}

void TstControls::windowlessControlsPassTheMouseOn() {
    QFETCH(QString, kind);

    QWidget window;
    window.resize(200, 150);
    auto* picture = new ui::ImageControl(&window);
    picture->Move(150, 150, 1500, 1500); // 10..110 px
    auto [cover, geometry] = makeControl(kind, &window);
    geometry->Move(300, 300, 900, 900); // 20..80 px, in front of the picture
    if (auto* shape = dynamic_cast<ui::ShapeControl*>(cover))
        shape->setBorderWidth(3);
    else
        static_cast<ui::Label*>(cover)->setCaption(QStringLiteral("CX"));
    MouseLog log;
    log.attach(*picture);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.childAt(QPoint(21, 21)), picture);
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(21, 21)); // on the border
    QTest::mouseClick(&window, Qt::LeftButton, {}, QPoint(50, 50)); // inside
    QCOMPARE(log.down.size(), std::size_t(2));
    QCOMPARE(log.down[0].x, 11.0f * 15);
    QCOMPARE(log.down[1].y, 40.0f * 15);
    QCOMPARE(log.up.size(), std::size_t(2));
}

void TstControls::shapeDrawsItsBorderOnly_data() {
    QTest::addColumn<int>("borderWidth");
    QTest::addColumn<QColor>("color");
    QTest::newRow("one pixel black") << 1 << QColor(Qt::black);
    QTest::newRow("three pixels blue") << 3 << QColor(0, 0, 255);
    QTest::newRow("five pixels red") << 5 << QColor(255, 0, 0);
}

void TstControls::shapeDrawsItsBorderOnly() {
    QFETCH(int, borderWidth);
    QFETCH(QColor, color);

    QWidget window;
    window.resize(100, 80);
    auto* ground = new ui::ImageControl(&window);
    ground->Move(0, 0, 1500, 1200);
    ground->setPicture(solid(QColor(0, 200, 0)));
    auto* shape = new ui::ShapeControl(&window);
    shape->Move(150, 300, 600, 450); // 10, 20 px; 40 x 30 px
    shape->setBorderColor(color);
    shape->setBorderWidth(std::int16_t(borderWidth));
    QCOMPARE(int(shape->BorderWidth()), borderWidth);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage shot = window.grab().toImage();
    const QRgb border = color.rgb();
    const QRgb ground_ = qRgb(0, 200, 0);
    for (int i = 0; i < borderWidth; ++i) {
        QCOMPARE(shot.pixel(10 + i, 35), border);     // left edge
        QCOMPARE(shot.pixel(49 - i, 35), border);     // right edge
        QCOMPARE(shot.pixel(30, 20 + i), border);     // top edge
        QCOMPARE(shot.pixel(30, 49 - i), border);     // bottom edge
        QCOMPARE(shot.pixel(10 + i, 20 + i), border); // corner
    }
    // The interior shows what lies behind, and nothing outside is painted.
    QCOMPARE(shot.pixel(10 + borderWidth, 35), ground_);
    QCOMPARE(shot.pixel(49 - borderWidth, 35), ground_);
    QCOMPARE(shot.pixel(30, 20 + borderWidth), ground_);
    QCOMPARE(shot.pixel(30, 35), ground_);
    QCOMPARE(shot.pixel(9, 35), ground_);
    QCOMPARE(shot.pixel(50, 35), ground_);
    QCOMPARE(shot.pixel(30, 19), ground_);
    QCOMPARE(shot.pixel(30, 50), ground_);
}

// --- simple controls -----------------------------------------------------------

void TstControls::textBoxKeyUp_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("textAtKeyUp");

    const Qt::KeyboardModifiers none;
    QTest::newRow("digit") << int(Qt::Key_7) << none << 55 << 0 << "127";
    QTest::newRow("letter") << int(Qt::Key_A) << none << 65 << 0 << "12a";
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8 << 0 << "1";
    QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46 << 0 << "12";
    QTest::newRow("return") << int(Qt::Key_Return) << none << 13 << 0 << "12";
    QTest::newRow("enter") << int(Qt::Key_Enter) << none << 13 << 0 << "12";
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << 27 << 0 << "12";
    QTest::newRow("left") << int(Qt::Key_Left) << none << 37 << 0 << "12";
    QTest::newRow("up") << int(Qt::Key_Up) << none << 38 << 0 << "12";
    QTest::newRow("right") << int(Qt::Key_Right) << none << 39 << 0 << "12";
    QTest::newRow("down") << int(Qt::Key_Down) << none << 40 << 0 << "12";
    QTest::newRow("minus") << int(Qt::Key_Minus) << none << 189 << 0 << "12-";
    QTest::newRow("F2") << int(Qt::Key_F2) << none << 113 << 0 << "12";
    QTest::newRow("shift left") << int(Qt::Key_Left) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                << 37 << 1 << "12";
    QTest::newRow("ctrl right") << int(Qt::Key_Right) << Qt::KeyboardModifiers(Qt::ControlModifier)
                                << 39 << 2 << "12";
    QTest::newRow("alt down") << int(Qt::Key_Down) << Qt::KeyboardModifiers(Qt::AltModifier) << 40
                              << 4 << "12";
}

void TstControls::textBoxKeyUp() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    QFETCH(int, shift);
    QFETCH(QString, textAtKeyUp);

    ui::Form window;
    window.resize(120, 60);
    auto* box = new ui::TextBox(&window);
    box->Move(150, 150, 900, 375);
    box->setText(QStringLiteral("12"));
    struct Up {
        int code, shift;
        QString text;
    };
    std::vector<Up> ups;
    box->KeyUp.bind(&ups, [&](int c, int s) { ups.push_back({c, s, box->Text()}); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    box->end(false);

    QTest::keyPress(box, Qt::Key(key), modifiers);
    QVERIFY(ups.empty()); // a press alone raises no key-up
    QTest::keyRelease(box, Qt::Key(key), modifiers);
    // The key first; the modifier keys are let go after it, each with its own key-up.
    QCOMPARE(ups.size(), std::size_t(1 + std::popcount(unsigned(shift))));
    for (std::size_t i = 1; i < ups.size(); ++i)
        QVERIFY(ups[i].code == 16 || ups[i].code == 17 || ups[i].code == 18);
    QCOMPARE(ups[0].code, code);
    QCOMPARE(ups[0].shift, shift);
    // The box has handled the key when its key-up is raised.
    QCOMPARE(ups[0].text, textAtKeyUp);
}

void TstControls::textBoxProgramTextRaisesNoKey() {
    ui::Form window;
    window.resize(120, 60);
    auto* box = new ui::TextBox(&window);
    box->Move(150, 150, 900, 375);
    int keyUps = 0;
    int previews = 0;
    box->KeyUp.bind(&keyUps, [&](int, int) { ++keyUps; });
    window.setKeyPreview(true);
    window.KeyDown.bind(&previews, [&](int, int) { ++previews; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    box->setFocus();

    box->setText(QStringLiteral("240"));
    box->setText(QString());
    box->setText(QStringLiteral("-15"));
    QCoreApplication::processEvents();
    QCOMPARE(box->Text(), QStringLiteral("-15"));
    QCOMPARE(keyUps, 0);
    QCOMPARE(previews, 0);
}

void TstControls::commandButtonClick() {
    ui::Form window;
    window.resize(150, 80);
    auto* button = new ui::CommandButton(&window);
    button->Move(150, 150, 1815, 495);
    button->setCaption(QStringLiteral("Laden"));
    QCOMPARE(button->Caption(), QStringLiteral("Laden"));
    int clicks = 0;
    button->Click.bind(&clicks, [&] { ++clicks; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicks, 1);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(clicks, 2);
    // A right click is no click.
    QTest::mouseClick(button, Qt::RightButton);
    QCOMPARE(clicks, 2);
}

void TstControls::checkBoxClick_data() {
    QTest::addColumn<int>("initial");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<int>("value");

    QTest::newRow("program clears") << 1 << "set 0" << 0 << 0;
    QTest::newRow("program sets") << 0 << "set 1" << 0 << 1;
    QTest::newRow("program sets again") << 1 << "set 1" << 0 << 1;
    QTest::newRow("program sets any non-zero") << 0 << "set -1" << 0 << 1;
    QTest::newRow("mouse unchecks") << 1 << "mouse" << 1 << 0;
    QTest::newRow("mouse checks") << 0 << "mouse" << 1 << 1;
    QTest::newRow("space bar") << 1 << "space" << 1 << 0;
}

void TstControls::checkBoxClick() {
    QFETCH(int, initial);
    QFETCH(QString, action);
    QFETCH(int, clicks);
    QFETCH(int, value);

    ui::Form window;
    window.resize(200, 60);
    auto* check = new ui::CheckBox(&window);
    check->Move(150, 150, 1935, 375);
    check->setText(QStringLiteral("Infobar eingeschaltet"));
    check->setValue(initial);
    int count = 0;
    int valueAtClick = -1;
    check->Click.bind(&count, [&] {
        ++count;
        valueAtClick = check->Value();
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    if (action == QLatin1String("mouse")) {
        QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(8, check->height() / 2));
    } else if (action == QLatin1String("space")) {
        check->setFocus();
        QTest::keyClick(check, Qt::Key_Space);
    } else {
        check->setValue(action.mid(4).toInt());
    }
    QCOMPARE(count, clicks);
    QCOMPARE(check->Value(), value);
    if (clicks)
        QCOMPARE(valueAtClick, value); // the handler sees the new state
}

void TstControls::comboBoxClick() {
    ui::Form window;
    window.resize(200, 150);
    auto* combo = new ui::ComboBox(&window);
    combo->Move(150, 150, 1695, 315);
    combo->addItems({QStringLiteral("Kartenansicht 1"), QStringLiteral("Kartenansicht 2"),
                     QStringLiteral("Kartenansicht 3")});
    int clicks = 0;
    QString textAtClick;
    combo->Click.bind(&clicks, [&] {
        ++clicks;
        textAtClick = combo->Text();
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QVERIFY(combo->isEditable());

    // The program's text raises no click, also when it names an item.
    combo->setText(QStringLiteral("Kartenansicht 2"));
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 2"));
    combo->setText(QStringLiteral("Kartenansicht 1"));
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 1"));
    combo->setText(QStringLiteral("frei"));
    QCOMPARE(combo->Text(), QStringLiteral("frei"));
    QCOMPARE(combo->count(), 3);
    QCOMPARE(clicks, 0);

    // Typing into the text field raises no click either.
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("xy"));
    QCOMPARE(combo->Text(), QStringLiteral("xy"));
    QCOMPARE(clicks, 0);
    // Nor does leaving the field, also when the text names an item: the user
    // typed it, nothing was chosen from the list.
    auto* next = new QLineEdit(&window);
    next->move(10, 60);
    next->show();
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Kartenansicht 3"));
    next->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), next);
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 3"));
    QCOMPARE(clicks, 0);
    combo->setFocus();
    // Nor does Return after typing.
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QStringLiteral("Kartenansicht 2"));
    QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 2"));
    QCOMPARE(clicks, 0);

    // Choosing an item from the open list raises one click with the item's text.
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(2, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(clicks, 1);
    QCOMPARE(textAtClick, QStringLiteral("Kartenansicht 3"));
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 3"));

    // Choosing with the arrow keys is a choice as well.
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(clicks, 2);
    QCOMPARE(textAtClick, QStringLiteral("Kartenansicht 2"));

    // The item that is current already, chosen after the program changed the text.
    combo->setText(QStringLiteral("anders"));
    combo->showPopup();
    QTRY_VERIFY(view->isVisible());
    view->setCurrentIndex(combo->model()->index(1, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
    QCOMPARE(clicks, 3);
    QCOMPARE(textAtClick, QStringLiteral("Kartenansicht 2"));
    QCOMPARE(combo->Text(), QStringLiteral("Kartenansicht 2"));
}

// --- the window ----------------------------------------------------------------

void TstControls::keyPreview_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("shift");
    QTest::addColumn<QString>("textAfter");
    QTest::addColumn<int>("cursorAfter");

    // The box holds "abc" with the caret after "a".
    const Qt::KeyboardModifiers none;
    const auto shiftKey = Qt::KeyboardModifiers(Qt::ShiftModifier);
    const auto ctrl = Qt::KeyboardModifiers(Qt::ControlModifier);
    QTest::newRow("left") << int(Qt::Key_Left) << none << 37 << 0 << "abc" << 0;
    QTest::newRow("right") << int(Qt::Key_Right) << none << 39 << 0 << "abc" << 2;
    QTest::newRow("home") << int(Qt::Key_Home) << none << 36 << 0 << "abc" << 0;
    QTest::newRow("end") << int(Qt::Key_End) << none << 35 << 0 << "abc" << 3;
    QTest::newRow("letter") << int(Qt::Key_X) << none << 88 << 0 << "axbc" << 2;
    QTest::newRow("digit") << int(Qt::Key_4) << none << 52 << 0 << "a4bc" << 2;
    QTest::newRow("delete") << int(Qt::Key_Delete) << none << 46 << 0 << "ac" << 1;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << 8 << 0 << "bc" << 0;
    QTest::newRow("shift left") << int(Qt::Key_Left) << shiftKey << 37 << 1 << "abc" << 0;
    QTest::newRow("ctrl left") << int(Qt::Key_Left) << ctrl << 37 << 2 << "abc" << 0;
    // Keys that the box leaves alone travel on to the window.
    QTest::newRow("up, ignored by the box") << int(Qt::Key_Up) << none << 38 << 0 << "abc" << 1;
    QTest::newRow("down, ignored by the box") << int(Qt::Key_Down) << none << 40 << 0 << "abc" << 1;
    QTest::newRow("escape, ignored by the box")
        << int(Qt::Key_Escape) << none << 27 << 0 << "abc" << 1;
    QTest::newRow("return, ignored by the box")
        << int(Qt::Key_Return) << none << 13 << 0 << "abc" << 1;
    QTest::newRow("F5, ignored by the box") << int(Qt::Key_F5) << none << 116 << 0 << "abc" << 1;
    QTest::newRow("shift down") << int(Qt::Key_Down) << shiftKey << 40 << 1 << "abc" << 1;
    QTest::newRow("alt up") << int(Qt::Key_Up) << Qt::KeyboardModifiers(Qt::AltModifier) << 38 << 4
                            << "abc" << 1;
}

void TstControls::keyPreview() {
    QFETCH(int, key);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, code);
    QFETCH(int, shift);
    QFETCH(QString, textAfter);
    QFETCH(int, cursorAfter);

    ui::Form window;
    window.resize(150, 80);
    window.setKeyPreview(true);
    auto* box = new ui::TextBox(&window);
    box->Move(150, 150, 900, 375);
    box->setText(QStringLiteral("abc"));
    struct Seen {
        int code, shift;
        QString text;
        int cursor;
    };
    std::vector<Seen> seen;
    window.KeyDown.bind(&seen, [&](int c, int s) {
        seen.push_back({c, s, box->Text(), box->cursorPosition()});
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), box);
    box->setCursorPosition(1);

    QTest::keyClick(box, Qt::Key(key), modifiers);
    // Modifier keys are pressed first, each a key of its own; then the key.
    QCOMPARE(seen.size(), std::size_t(1 + std::popcount(unsigned(shift))));
    for (std::size_t i = 0; i + 1 < seen.size(); ++i)
        QVERIFY(seen[i].code == 16 || seen[i].code == 17 || seen[i].code == 18);
    const Seen& last = seen.back();
    QCOMPARE(last.code, code);
    QCOMPARE(last.shift, shift);
    // The window saw the key before the box...
    QCOMPARE(last.text, QStringLiteral("abc"));
    QCOMPARE(last.cursor, 1);
    // ...and the box still got it.
    QCOMPARE(box->Text(), textAfter);
    QCOMPARE(box->cursorPosition(), cursorAfter);
}

void TstControls::keyPreviewEveryPressOnce() {
    ui::Form window;
    window.resize(200, 80);
    window.setKeyPreview(true);
    auto* box = new ui::TextBox(&window);
    box->Move(150, 150, 900, 375);
    auto* button = new ui::CommandButton(&window);
    button->Move(1500, 150, 900, 375);
    std::vector<int> codes;
    window.KeyDown.bind(&codes, [&](int c, int) { codes.push_back(c); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    box->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), box);

    // The same key again and again, as when the user taps an arrow key.
    box->setText(QStringLiteral("abcdef"));
    box->end(false);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(codes, (std::vector<int>{37, 37, 37}));
    QCOMPARE(box->cursorPosition(), 3);

    // A held key: presses without releases in between.
    codes.clear();
    QTest::keyPress(box, Qt::Key_Left);
    QTest::keyPress(box, Qt::Key_Left);
    QTest::keyRelease(box, Qt::Key_Left);
    QCOMPARE(codes, (std::vector<int>{37, 37}));
    QCOMPARE(box->cursorPosition(), 1);

    // Keys the box ignores, one after another.
    codes.clear();
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Down);
    QCOMPARE(codes, (std::vector<int>{38, 38, 40}));

    // Typing.
    codes.clear();
    box->clear();
    QTest::keyClicks(box, QStringLiteral("1155"));
    QCOMPARE(codes, (std::vector<int>{49, 49, 53, 53}));
    QCOMPARE(box->Text(), QStringLiteral("1155"));

    // A control that ignores the key, then the window itself.
    codes.clear();
    button->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), button);
    QTest::keyClick(button, Qt::Key_X);
    QTest::keyClick(button, Qt::Key_X);
    QTest::keyClick(&window, Qt::Key_X);
    QTest::keyClick(&window, Qt::Key_X);
    QTest::keyClick(box, Qt::Key_X);
    QTest::keyClick(&window, Qt::Key_X);
    QCOMPARE(codes, (std::vector<int>{88, 88, 88, 88, 88, 88}));
}

void TstControls::keyPreviewOffAndOtherWindows() {
    ui::Form window;
    window.resize(150, 80);
    auto* box = new ui::TextBox(&window);
    box->Move(150, 150, 900, 375);
    int previews = 0;
    window.KeyDown.bind(&previews, [&](int, int) { ++previews; });
    QWidget other;
    other.resize(100, 50);
    auto* otherBox = new QLineEdit(&other);
    window.show();
    other.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(QTest::qWaitForWindowExposed(&other));

    QVERIFY(!window.KeyPreview());
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_A);
    QCOMPARE(previews, 0);
    QCOMPARE(box->Text(), QStringLiteral("a"));

    window.setKeyPreview(true);
    QTest::keyClick(otherBox, Qt::Key_A);
    QCOMPARE(previews, 0);
    QCOMPARE(otherBox->text(), QStringLiteral("a"));
    QTest::keyClick(box, Qt::Key_A);
    QCOMPARE(previews, 1);
}

void TstControls::formMouseMove_data() {
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<bool>("form");
    QTest::addColumn<bool>("image");

    QTest::newRow("bare surface") << QPoint(150, 90) << true << false;
    QTest::newRow("over a label") << QPoint(20, 15) << true << false;
    QTest::newRow("over a shape") << QPoint(105, 55) << true << false;
    QTest::newRow("over a picture") << QPoint(20, 60) << false << true;
    QTest::newRow("over a button") << QPoint(110, 20) << false << false;
    QTest::newRow("over a text box") << QPoint(20, 110) << false << false;
}

void TstControls::formMouseMove() {
    QFETCH(QPoint, pos);
    QFETCH(bool, form);
    QFETCH(bool, image);

    ui::Form window;
    window.resize(200, 130);
    auto* label = new ui::Label(&window);
    label->Move(150, 150, 750, 300); // 10..60, 10..30
    label->setCaption(QStringLiteral("Label"));
    auto* button = new ui::CommandButton(&window);
    button->Move(1500, 150, 750, 450); // 100..150, 10..40
    auto* picture = new ui::ImageControl(&window);
    picture->Move(150, 750, 600, 450); // 10..50, 50..80
    auto* shape = new ui::ShapeControl(&window);
    shape->Move(1500, 750, 600, 450); // 100..140, 50..80
    auto* box = new ui::TextBox(&window);
    box->Move(150, 1500, 750, 375); // 10..60, 100..125
    std::vector<MouseRecord> formMoves;
    window.MouseMove.bind(&formMoves, [&](int b, int s, float x, float y) {
        formMoves.push_back({b, s, x, y});
    });
    MouseLog log;
    log.attach(*picture);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Start from a corner of the bare surface, then move to the point.
    QTest::mouseMove(&window, QPoint(195, 5));
    formMoves.clear();
    log.move.clear();
    QTest::mouseMove(&window, pos);
    QCOMPARE(!formMoves.empty(), form);
    QCOMPARE(!log.move.empty(), image);
    if (form) {
        QCOMPARE(formMoves.back().button, 0);
        QCOMPARE(formMoves.back().x, float(pos.x() * 15));
        QCOMPARE(formMoves.back().y, float(pos.y() * 15));
    }
    if (image) {
        QCOMPARE(log.move.back().x, float((pos.x() - 10) * 15));
        QCOMPARE(log.move.back().y, float((pos.y() - 50) * 15));
    }
}

void TstControls::controlsByName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("expected"); // index into the controls made, -1 none
    QTest::newRow("picture 5") << "myImage5" << 1;
    QTest::newRow("picture 25") << "myImage25" << 2;
    QTest::newRow("picture 1") << "myImage1" << 0;
    QTest::newRow("array member") << "Label1(2)" << 3;
    QTest::newRow("no such picture") << "myImage26" << -1;
    QTest::newRow("prefix of a name") << "myImage" << -1;
    QTest::newRow("number with a blank") << "myImage 5" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TstControls::controlsByName() {
    QFETCH(QString, name);
    QFETCH(int, expected);

    ui::Form window;
    std::vector<QWidget*> made;
    for (const char* n : {"myImage1", "myImage5", "myImage25"}) {
        auto* image = new ui::ImageControl(&window);
        image->setObjectName(QString::fromLatin1(n));
        made.push_back(image);
    }
    auto* label = new ui::Label(&window);
    label->setObjectName(QStringLiteral("Label1(2)"));
    made.push_back(label);
    // A nameless control does not answer to the empty name.
    new ui::Label(&window);

    QWidget* found = window.Controls(name);
    QCOMPARE(found, expected < 0 ? nullptr : made[std::size_t(expected)]);
    if (expected >= 0 && expected < 3)
        QCOMPARE(window.control<ui::ImageControl>(name), made[std::size_t(expected)]);
}

void TstControls::loadOnceBeforeFirstShowing() {
    ui::Form window;
    window.resize(100, 60);
    auto* picture = new ui::ImageControl(&window);
    int loads = 0;
    bool shownAtLoad = true;
    window.Load.bind(&loads, [&] {
        ++loads;
        shownAtLoad = window.windowHandle() && window.windowHandle()->isVisible();
        picture->setVisibleProp(false);
    });
    QCOMPARE(loads, 0);

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(loads, 1);
    QVERIFY(!shownAtLoad);
    QVERIFY(!picture->isVisible());

    window.hide();
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    window.showNormal();
    QCoreApplication::processEvents();
    QCOMPARE(loads, 1);
}

void TstControls::terminate_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("closes") << false;
    QTest::newRow("handler keeps it open") << true;
}

void TstControls::terminate() {
    QFETCH(bool, cancel);

    ui::Form window;
    window.resize(100, 60);
    int terminates = 0;
    window.Terminate.bind(&terminates, [&](bool& c) {
        ++terminates;
        QVERIFY(!c); // starts as "do not cancel"
        c = cancel;
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.close(), !cancel);
    QCOMPARE(terminates, 1);
    QCOMPARE(window.isVisible(), cancel);

    if (cancel) {
        // Asked again on the next close.
        window.Terminate.bind(&terminates, [&](bool&) { ++terminates; });
        QVERIFY(window.close());
        QCOMPARE(terminates, 2);
        QVERIFY(!window.isVisible());
    }
}

// --- screen --------------------------------------------------------------------

void TstControls::mousePointer_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("readBack");
    QTest::addColumn<int>("shape"); // -1: no override cursor

    QTest::newRow("default") << 0 << 0 << -1;
    QTest::newRow("6 north-east") << 6 << 6 << int(Qt::SizeBDiagCursor);
    QTest::newRow("7 north-south") << 7 << 7 << int(Qt::SizeVerCursor);
    QTest::newRow("8 north-west") << 8 << 8 << int(Qt::SizeFDiagCursor);
    QTest::newRow("9 west-east") << 9 << 9 << int(Qt::SizeHorCursor);
}

void TstControls::mousePointer() {
    QFETCH(int, value);
    QFETCH(int, readBack);
    QFETCH(int, shape);

    QVERIFY(!QGuiApplication::overrideCursor());
    ui::Screen::setMousePointer(value);
    QCOMPARE(ui::Screen::mousePointer(), readBack);
    if (shape < 0) {
        QVERIFY(!QGuiApplication::overrideCursor());
    } else {
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(int(QGuiApplication::overrideCursor()->shape()), shape);
    }
    // Setting the same value again changes nothing.
    ui::Screen::setMousePointer(value);
    ui::Screen::setMousePointer(0);
    QCOMPARE(ui::Screen::mousePointer(), 0);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstControls::mousePointerSequenceLeavesNoOverride() {
    const int values[] = {6, 6, 7, 9, 8, 8, 0, 0, 9, 7, 6, 0};
    const int shapes[] = {Qt::SizeBDiagCursor,
                          Qt::SizeBDiagCursor,
                          Qt::SizeVerCursor,
                          Qt::SizeHorCursor,
                          Qt::SizeFDiagCursor,
                          Qt::SizeFDiagCursor,
                          -1,
                          -1,
                          Qt::SizeHorCursor,
                          Qt::SizeVerCursor,
                          Qt::SizeBDiagCursor,
                          -1};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ui::Screen::setMousePointer(values[i]);
        QCOMPARE(ui::Screen::mousePointer(), values[i]);
        const QCursor* cursor = QGuiApplication::overrideCursor();
        if (shapes[i] < 0)
            QVERIFY(!cursor);
        else
            QVERIFY(cursor && cursor->shape() == shapes[i]);
    }
    // Nothing is left on the override stack.
    QGuiApplication::restoreOverrideCursor();
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TstControls::screenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    QVERIFY(screen);
    QCOMPARE(ui::Screen::TwipsPerPixelX(), 15.0);
    QCOMPARE(ui::Screen::TwipsPerPixelY(), 15.0);
    QCOMPARE(ui::Screen::Width(), double(screen->geometry().width()) * 15);
    QCOMPARE(ui::Screen::Height(), double(screen->geometry().height()) * 15);
}

// --- message boxes -------------------------------------------------------------

void TstControls::msgBoxLooks_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("buttons");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("defaultButton");

    QTest::newRow("yes/no") << int(ui::vbYesNo) << "Frage:" << QStringList{"&Ja", "&Nein"}
                            << int(QMessageBox::NoIcon) << "&Ja";
    QTest::newRow("yes/no/cancel")
        << int(ui::vbYesNoCancel) << "Frage:" << QStringList{"&Ja", "&Nein", "Abbrechen"}
        << int(QMessageBox::NoIcon) << "&Ja";
    QTest::newRow("ok/cancel with warning")
        << int(ui::vbOKCancel | ui::vbExclamation) << QStringLiteral("Ungültige Pfadangabe")
        << QStringList{"OK", "Abbrechen"} << int(QMessageBox::Warning) << "OK";
    QTest::newRow("ok only with warning") << int(ui::vbOKOnly | ui::vbExclamation) << "Speichern"
                                          << QStringList{"OK"} << int(QMessageBox::Warning) << "OK";
}

void TstControls::msgBoxLooks() {
    QFETCH(int, style);
    QFETCH(QString, title);
    QFETCH(QStringList, buttons);
    QFETCH(int, icon);
    QFETCH(QString, defaultButton);

    const QString prompt = QStringLiteral("Soll die Datei gespeichert werden?");
    QString seenTitle, seenText, seenDefault;
    QStringList seenButtons;
    int seenIcon = -1;
    whenMessageBoxOpens([&](QMessageBox& box) {
        seenTitle = box.windowTitle();
        seenText = box.text();
        seenIcon = int(box.icon());
        for (QAbstractButton* b : box.buttons())
            seenButtons << b->text();
        if (box.defaultButton())
            seenDefault = box.defaultButton()->text();
        buttonWithText(box, buttons.last())->click();
    });
    ui::MsgBox(prompt, style, title);

    QCOMPARE(seenTitle, title);
    QCOMPARE(seenText, prompt);
    QCOMPARE(seenIcon, icon);
    seenButtons.sort();
    buttons.sort();
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(seenDefault, defaultButton);
}

void TstControls::msgBoxAnswers_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("answer");

    const int yesNo = ui::vbYesNo;
    const int okCancel = ui::vbOKCancel | ui::vbExclamation;
    const int yesNoCancel = ui::vbYesNoCancel;
    QTest::newRow("yes/no/cancel click Ja") << yesNoCancel << "click &Ja" << int(ui::vbYes);
    QTest::newRow("yes/no/cancel key n") << yesNoCancel << "key n" << int(ui::vbNo);
    QTest::newRow("yes/no/cancel click Abbrechen")
        << yesNoCancel << "click Abbrechen" << int(ui::vbCancel);
    QTest::newRow("yes/no/cancel escape") << yesNoCancel << "key escape" << int(ui::vbCancel);
    QTest::newRow("yes/no/cancel close button") << yesNoCancel << "close" << int(ui::vbCancel);
    QTest::newRow("yes/no click Ja") << yesNo << "click &Ja" << int(ui::vbYes);
    QTest::newRow("yes/no click Nein") << yesNo << "click &Nein" << int(ui::vbNo);
    QTest::newRow("yes/no key j") << yesNo << "key j" << int(ui::vbYes);
    QTest::newRow("yes/no key n") << yesNo << "key n" << int(ui::vbNo);
    QTest::newRow("yes/no return") << yesNo << "key return" << int(ui::vbYes);
    QTest::newRow("ok/cancel click OK") << okCancel << "click OK" << int(ui::vbOK);
    QTest::newRow("ok/cancel click Abbrechen")
        << okCancel << "click Abbrechen" << int(ui::vbCancel);
    QTest::newRow("ok/cancel return") << okCancel << "key return" << int(ui::vbOK);
    QTest::newRow("ok/cancel escape") << okCancel << "key escape" << int(ui::vbCancel);
}

void TstControls::msgBoxAnswers() {
    QFETCH(int, style);
    QFETCH(QString, action);
    QFETCH(int, answer);

    // Over a window of the program, as in use.
    QWidget owner;
    owner.resize(200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    owner.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&owner));

    whenMessageBoxOpens([action](QMessageBox& box) {
        if (action == QLatin1String("close")) {
            box.close();
            return;
        }
        if (action.startsWith(QLatin1String("click "))) {
            QTest::mouseClick(buttonWithText(box, action.mid(6)), Qt::LeftButton);
            return;
        }
        const QString key = action.mid(4);
        if (key == QLatin1String("j"))
            QTest::keyClick(&box, Qt::Key_J);
        else if (key == QLatin1String("n"))
            QTest::keyClick(&box, Qt::Key_N);
        else if (key == QLatin1String("return"))
            QTest::keyClick(&box, Qt::Key_Return);
        else
            QTest::keyClick(&box, Qt::Key_Escape);
    });
    QCOMPARE(ui::MsgBox(QStringLiteral("Frage"), style, QStringLiteral("Titel")), answer);
}

void TstControls::msgBoxYesNoIgnoresEscape() {
    bool stillOpen = false;
    whenMessageBoxOpens([&](QMessageBox& box) {
        QTest::keyClick(&box, Qt::Key_Escape);
        box.close();
        QTimer::singleShot(50, &box, [&] {
            stillOpen = box.isVisible();
            buttonWithText(box, QStringLiteral("&Nein"))->click();
        });
    });
    QCOMPARE(ui::MsgBox(QStringLiteral("Soll die Datei gespeichert werden?"), ui::vbYesNo,
                        QStringLiteral("Frage:")),
             int(ui::vbNo));
    QVERIFY(stillOpen);
}

QTEST_MAIN(TstControls)
#include "tst_controls.moc"
