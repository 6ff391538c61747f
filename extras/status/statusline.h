// The window's status bar: a short message after each save (which files were written,
// or which not), and always the pointer's place on the canvas in device pixels, the
// active element with the number of selected ones, and the zoom.
#pragma once

#include "app/savedfile.h"

#include <QObject>
#include <QPoint>
#include <functional>
#include <optional>
#include <vector>

class QLabel;
class QStatusBar;
class QWidget;
namespace ui {
class CanvasSurface;
}

namespace status {

struct SelectionState {
    int active = -1; // element index, -1: none
    int selected = 0;
};

class StatusLine : public QObject {
public:
    StatusLine(QWidget& window, ui::CanvasSurface& canvas);
    ~StatusLine() override;

    QStatusBar& bar() const { return *m_bar; }

    // Where the active element and the selection come from (asked after every input).
    void setSelectionSource(std::function<SelectionState()> source);
    // Asks the selection source again, after the input of the moment is handled.
    void queueSelectionRefresh();
    void showZoom(int percent);
    void showSaved(const std::vector<SavedFile>& files);

    QString pointerText() const;
    QString selectionText() const;
    QString zoomText() const;
    QString message() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPointer(std::optional<QPoint> device);
    void refreshSelection();

    QWidget& m_window;
    ui::CanvasSurface& m_canvas;
    QStatusBar* m_bar = nullptr; // a child of the window
    QLabel* m_pointer = nullptr; // children of the bar
    QLabel* m_selection = nullptr;
    QLabel* m_zoom = nullptr;
    std::function<SelectionState()> m_source;
    bool m_refreshQueued = false;
};

} // namespace status
