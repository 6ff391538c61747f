#include "extras/session/elementtips.h"

#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "resources/errors.h"
#include "resources/mainform.h"

#include <QHelpEvent>
#include <QToolTip>

ElementTips::ElementTips(ui::MainForm& form) {
    for (int i = 0; i < ui::MainForm::kElementCount; ++i)
        if (ui::ImageControl* picture = form.elementPicture(i)) {
            picture->setProperty("elementIndex", i);
            picture->installEventFilter(this);
        }
}

QString ElementTips::textFor(int index) {
    const auto& elements = programState().Elements;
    if (index < 0 || std::size_t(index) >= elements.size() || !elements[std::size_t(index)])
        return {};
    try {
        const auto values = elements[std::size_t(index)]->coordinateTexts();
        return programState().ElementCatalogue[std::size_t(index)].iniName +
               QStringLiteral("\nX %1   Y %2   CX %3   CY %4")
                   .arg(values[0], values[1], values[2], values[3]);
    } catch (const ui::RuntimeError&) {
        return {}; // not bound to the canvas
    }
}

bool ElementTips::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return false;
    auto* picture = static_cast<QWidget*>(watched);
    const int index = picture->property("elementIndex").toInt();
    QString text = textFor(index);
    if (const QString more = note ? note(index) : QString(); !text.isEmpty() && !more.isEmpty())
        text += QLatin1Char('\n') + more;
    const auto* help = static_cast<QHelpEvent*>(event);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, picture);
    return true;
}
