#include "platform/statusline.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace platform {

StatusLine::StatusLine(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void StatusLine::setStatus(const QString& text) {
    setText(text);
    setToolTip(text);
}

QSize StatusLine::sizeHint() const {
    return QSize(fontMetrics().averageCharWidth() * 20, fontMetrics().height()) +
           QSize(2 * margin(), 2 * margin());
}

QSize StatusLine::minimumSizeHint() const {
    return QSize(0, sizeHint().height());
}

void StatusLine::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    const QRect area =
        contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    // Line breaks would wrap the line: they show as blanks.
    QString line = text();
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QString shown = fontMetrics().elidedText(line, Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, int(alignment()) | Qt::TextSingleLine, option.palette,
                          isEnabled(), shown, foregroundRole());
}

} // namespace platform
