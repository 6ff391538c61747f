#include "resources/msgbox.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

namespace {

// A message box that can only be left through one of its buttons.
class AnswerBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool mustAnswer = false;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (mustAnswer && event->key() == Qt::Key_Escape) {
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent* event) override {
        if (mustAnswer && !clickedButton()) {
            event->ignore();
            return;
        }
        QMessageBox::closeEvent(event);
    }
};

} // namespace

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    AnswerBox box(parent);
    box.setWindowTitle(title);
    box.setText(prompt);
    box.setTextFormat(Qt::PlainText);
    box.setIcon((buttons & vbExclamation) == vbExclamation ? QMessageBox::Warning
                : (buttons & vbInformation)                ? QMessageBox::Information
                                                           : QMessageBox::NoIcon);

    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    QPushButton* third = nullptr;
    if ((buttons & 7) == vbYesNo || (buttons & 7) == vbYesNoCancel) {
        first = box.addButton(QStringLiteral("&Ja"), QMessageBox::YesRole);
        second = box.addButton(QStringLiteral("&Nein"), QMessageBox::NoRole);
        if ((buttons & 7) == vbYesNoCancel) {
            third = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
            third->setObjectName(QStringLiteral("third"));
            box.setEscapeButton(third); // also the close button
        } else {
            box.mustAnswer = true;
        }
    } else if ((buttons & 7) == vbOKCancel) {
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        second = box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole);
        box.setEscapeButton(second);
    } else {
        first = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box.setEscapeButton(first);
    }
    first->setObjectName(QStringLiteral("first"));
    if (second)
        second->setObjectName(QStringLiteral("second"));
    box.setDefaultButton(first);
    box.exec();
    // Back to the window the box came from: without a window manager the keyboard would
    // otherwise go to whatever lies under the pointer.
    if (parent)
        parent->activateWindow();

    const bool isFirst = box.clickedButton() == first;
    switch (buttons & 7) {
    case vbYesNo:
        return isFirst ? vbYes : vbNo;
    case vbYesNoCancel:
        return isFirst ? vbYes : box.clickedButton() == second ? vbNo : vbCancel;
    case vbOKCancel:
        return isFirst ? vbOK : vbCancel;
    default:
        return vbOK;
    }
}

} // namespace ui
