#include "resources/simplecontrols.h"

#include "resources/input.h"

#include <QKeyEvent>

namespace ui {

Label::Label(QWidget* parent) : QLabel(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAlignment(Qt::AlignLeft | Qt::AlignTop); // the text starts at the top, not centred
}

TextBox::TextBox(QWidget* parent)
    : QLineEdit(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {}

void TextBox::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat())
        return; // one release per key, when it is really let go
    KeyUp.raise(keyCode(event->key()), shiftBits(event->modifiers()));
}

CommandButton::CommandButton(QWidget* parent)
    : QPushButton(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { Click.raise(); });
}

CheckBox::CheckBox(QWidget* parent)
    : QCheckBox(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    connect(this, &QCheckBox::clicked, this, [this] { Click.raise(); });
}

ComboBox::ComboBox(QWidget* parent)
    : QComboBox(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    // The window gives the box its place and size: marked as sized, the box does not
    // measure its items for a size of its own as it becomes editable.
    resize(size());
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Return in the text field or leaving it chooses nothing from the list: the
    // box must not look the typed text up among its items and report that as a
    // choice.
    disconnect(lineEdit(), &QLineEdit::returnPressed, this, nullptr);
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(this, &QComboBox::activated, this, [this] { Click.raise(); });
}

} // namespace ui
