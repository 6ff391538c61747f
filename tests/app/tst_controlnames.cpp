// What the window tells screen readers about its controls, and the first look that
// the menu bar and the status bar leave as it was.
#include "editorfixture.h"
#include "elements/programstate.h"

#include <QAccessible>
#include <QApplication>
#include <QtTest>

using namespace fixture;

namespace {

QString accessible(QWidget* control, QAccessible::Text what) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(control);
    return face ? face->text(what) : QStringLiteral("<none>");
}

} // namespace

class tst_ControlNames : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
    void everyControlIsNamed();
    void modeButtonSaysItsMode();
    void formLooksAsWithoutTheBars();
};

void tst_ControlNames::names_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const QList<std::tuple<const char*, const char*, QAccessible::Role>> rows{
        {"txtX", "X in Gerätepixeln", QAccessible::EditableText},
        {"txtY", "Y in Gerätepixeln", QAccessible::EditableText},
        {"txtCX", "Breite in Gerätepixeln", QAccessible::EditableText},
        {"txtCY", "Höhe in Gerätepixeln", QAccessible::EditableText},
        {"MoveN", "Nach oben", QAccessible::Button},
        {"MoveO", "Nach rechts", QAccessible::Button},
        {"MoveS", "Nach unten", QAccessible::Button},
        {"MoveW", "Nach links", QAccessible::Button},
        {"BTNpos", "Schrittmodus: pos.", QAccessible::Button},
        {"BTNLoad", "Laden", QAccessible::Button},
        {"BTNSave", "Speichern", QAccessible::Button},
#ifdef Q_OS_UNIX // there a combo box is named by its text; the description says what it is
        {"ComboAnsicht", "Kartenansicht 1", QAccessible::ComboBox},
#else
        {"ComboAnsicht", "Kartenansicht", QAccessible::ComboBox},
#endif
        {"ChkInfobar", "Infobar eingeschaltet", QAccessible::CheckBox},
        {"myImage1", "zoomwin", QAccessible::Graphic},
        {"myImage25", "win", QAccessible::Graphic},
        {"LBLiniName", "nothing selected", QAccessible::StaticText},
    };
    for (const auto& [control, name, role] : rows)
        QTest::newRow(control) << control << name << int(role);
}

void tst_ControlNames::names() {
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    Editor editor;
    QWidget* widget = editor.w().Controls(control);
    QVERIFY(widget);
    QCOMPARE(accessible(widget, QAccessible::Name), name);
    QCOMPARE(int(QAccessible::queryAccessibleInterface(widget)->role()), role);
}

void tst_ControlNames::everyControlIsNamed() {
    Editor editor;
    const ui::MainForm bare; // its controls are the form's
    int checked = 0;
    for (QWidget* child : bare.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        QWidget* control = editor.w().Controls(child->objectName());
        QVERIFY2(control, qPrintable(child->objectName()));
        QVERIFY2(!accessible(control, QAccessible::Name).isEmpty(),
                 qPrintable(child->objectName()));
        QVERIFY2(!accessible(control, QAccessible::Description).isEmpty(),
                 qPrintable(child->objectName()));
        ++checked;
    }
    QCOMPARE(checked, 49);
    // The labels name their boxes.
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(editor.w().txtCX);
    const auto labels = box->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), QStringLiteral("CX"));
}

void tst_ControlNames::modeButtonSaysItsMode() {
    Editor editor;
    for (const char* mode : {"scale+", "scale-", "pos."}) {
        editor.click(editor.w().BTNpos);
        QCOMPARE(accessible(editor.w().BTNpos, QAccessible::Name),
                 QStringLiteral("Schrittmodus: ") + mode);
    }
}

void tst_ControlNames::formLooksAsWithoutTheBars() {
    QApplication::setCursorFlashTime(0); // the caret in the first box does not blink
    QImage bare;
    {
        frmMain window; // the window alone, as it was before the bars
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        bare = window.grab().toImage();
    }
    programState().reset();
    Editor editor;
    QVERIFY(QTest::qWaitForWindowActive(&editor.w()));
    const QRect form = editor.bench().formArea();
    QCOMPARE(form.size(), QSize(601, 345));
    // The menu bar right above, the status bar right below, both the window's width.
    const QRect menu = editor.w().findChild<QWidget*>("menuBar")->geometry();
    const QRect status = editor.w().findChild<QWidget*>("statusBar")->geometry();
    QCOMPARE(menu, QRect(0, 0, 601, form.top()));
    QVERIFY(form.top() > 0);
    QCOMPARE(status, QRect(0, form.bottom() + 1, 601, editor.w().height() - form.bottom() - 1));
    QVERIFY(status.height() > 0);
    const QImage central = editor.w().grab(form).toImage();
    QCOMPARE(central.size(), bare.size());
    int differing = 0;
    for (int y = 0; y < bare.height(); ++y)
        for (int x = 0; x < bare.width(); ++x)
            differing += central.pixel(x, y) != bare.pixel(x, y);
    QCOMPARE(differing, 0);
}

QTEST_MAIN(tst_ControlNames)
#include "tst_controlnames.moc"
