#include "resources/simplecontrols.h"

#include "resources/input.h"

#include <QKeyEvent>

namespace ui {

Label::Label(QWidget* parent) : QLabel(parent), TwipsGeometry(static_cast<QWidget&>(*this)) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
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
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    connect(this, &QComboBox::activated, this, [this] { Click.raise(); });
}

} // namespace ui
