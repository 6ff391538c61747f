// Label, text box, command button, check box and combo box over Qt's widgets,
// each with its geometry in twips and the events the program uses.
#pragma once

#include "resources/event.h"
#include "resources/twipsgeometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace ui {

// A windowless label: it never takes a mouse event.
class Label : public QLabel, public TwipsGeometry {
public:
    explicit Label(QWidget* parent);
    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
};

// Single-line text box. Writing the text from the program raises no key event.
class TextBox : public QLineEdit, public TwipsGeometry {
public:
    explicit TextBox(QWidget* parent);
    QString Text() const { return text(); }

    // (KeyCode, Shift), raised after the box has handled the key.
    Event<int, int> KeyUp;

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
};

class CommandButton : public QPushButton, public TwipsGeometry {
public:
    explicit CommandButton(QWidget* parent);
    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

    Event<> Click;
};

// Check box: Value 0 unchecked, 1 checked; Click only from the user.
class CheckBox : public QCheckBox, public TwipsGeometry {
public:
    explicit CheckBox(QWidget* parent);
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int value) { setChecked(value != 0); }

    Event<> Click;
};

// Editable drop-down combo box: Click when the user chooses a list item, not when
// the program sets the text.
class ComboBox : public QComboBox, public TwipsGeometry {
public:
    explicit ComboBox(QWidget* parent);
    QString Text() const { return currentText(); }
    void setText(const QString& text) { setEditText(text); }

    Event<> Click;
};

} // namespace ui
