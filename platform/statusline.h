// The status line of the folder dialog: one line of plain text, elided in the middle when it
// is wider than the line, with the full text as its tool tip. text() stays the full text.
#pragma once

#include <QLabel>

namespace platform {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);

    void setStatus(const QString& text); // sets the text and its tool tip

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace platform
