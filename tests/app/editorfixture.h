// Runs the real main window in a temporary working folder, drives the folder
// dialog and answers message boxes as a user would.
#pragma once

#include "app/frmMain.h"
#include "assembly/workbench.h"

#include <QByteArray>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace ui {
class CanvasView;
}

namespace fixture {

// Files with CRLF line ends from lines joined by "\r\n".
QByteArray crlf(const QStringList& lines);
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& data);

// A layout file holding the given sections; each entry "name:x,y,cx,cy".
QByteArray layout(const QStringList& sections);

// Answers the next modal message box by clicking the button with this text
// (mnemonic marks ignored) and remembers its title and text. "<Escape>" presses
// Escape in the box instead, "<close>" closes it as the title bar's button does.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QString button);
    ~BoxAnswerer();
    int count = 0;
    QString title;
    QString text;
    std::function<void()> onShown; // runs while the box is on screen, before the answer

private:
    void poll();
    QString m_button;
    QTimer m_timer;
};

// Another program that rewrites a file slowly, from a thread of its own: it cuts the
// file, writes the first `part` bytes, and the rest `pauseMs` later.
class SlowWriter {
public:
    SlowWriter(const QString& path, const QByteArray& content, qsizetype part, int pauseMs);
    ~SlowWriter(); // waits for the writer to finish
    SlowWriter(const SlowWriter&) = delete;
    SlowWriter& operator=(const SlowWriter&) = delete;
    bool partWritten() const { return m_part; }
    bool finished() const { return m_done; }

private:
    std::atomic<bool> m_part{false};
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Fails the running test when a message box stays open that no BoxAnswerer
// takes (they answer within milliseconds), and closes it, so that the test goes
// on instead of waiting for its time-out.
class UnansweredBoxGuard {
public:
    UnansweredBoxGuard();

private:
    void poll();
    QTimer m_timer;
    QPointer<QWidget> m_seen;
    int m_ticks = 0;
};

class Editor {
public:
    Editor();
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    frmMain& w() { return m_bench->window(); }
    // The window with everything added to it.
    Workbench& bench() { return *m_bench; }
    QString workPath() const { return m_work.path(); }
    // A new skin folder with these layout files (empty: file left out).
    QString makeSkin(const QByteArray& mapview, const QByteArray& defaults,
                     const QString& name = QStringLiteral("skin"));
    // A new skin folder with the standard test layout.
    QString standardSkin(const QString& name = QStringLiteral("skin"));
    // Clicks "Laden", selects the folder in the dialog and presses Return.
    void load(const QString& folder);
    // Loads a new skin folder with the standard test layout and returns the folder.
    QString loadStandard(const QString& name = QStringLiteral("skin"));
    // Gives the window the keyboard; false when the window system does not.
    [[nodiscard]] bool activate();
    // Clicks a control the way a user does.
    void click(QWidget* widget);
    // Drags picture i with the left button from a point to another (pixels
    // relative to the picture), in steps.
    void drag(int index, QPoint from, QPoint to, Qt::MouseButton button = Qt::LeftButton,
              int steps = 4);
    // Canvas-relative pixel rectangle of element i's picture.
    QRect canvasRect(int index);

private:
    UnansweredBoxGuard m_boxGuard;
    QTemporaryDir m_work;
    QString m_previousDir;
    std::unique_ptr<Workbench> m_bench;
};

// The standard test layout: every element with distinct values.
QByteArray standardMapview(int infobarCy = 30);
QByteArray standardDefaults();

// The window's zoomable canvas area.
ui::CanvasView& canvasView(frmMain& w);
// The canvas zoom, in percent.
int zoomPercent(frmMain& w);
// Ctrl+Plus until the canvas shows this zoom; the window takes its new size.
void zoomTo(frmMain& w, int percent);
// A test table of one column "percent", a row "N %" for each zoom.
void zoomRows(std::initializer_list<int> percents);

} // namespace fixture
