#define QTEST_QPA_MOUSE_HANDLING
#include "editorfixture.h"

#include "elements/programstate.h"
#include "extras/align/alignsession.h"
#include "extras/session/editsession.h"
#include "folderbrowser/cSHFolder.h"
#include "platform/shell.h"
#include "resources/canvasview.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

namespace fixture {

QByteArray crlf(const QStringList& lines) {
    return (lines.join("\r\n") + "\r\n").toLatin1();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

QByteArray layout(const QStringList& sections) {
    QStringList lines;
    for (const QString& s : sections) {
        const QString name = s.section(':', 0, 0);
        const QStringList v = s.section(':', 1).split(',');
        lines << "[" + name + "]";
        const char* keys[] = {"x", "y", "cx", "cy"};
        for (int i = 0; i < v.size() && i < 4; ++i)
            if (v[i] != "-")
                lines << QString::fromLatin1(keys[i]) + "=" + v[i];
    }
    return crlf(lines);
}

QByteArray standardMapview(int infobarCy) {
    return layout({"zoomwin:200,60,25,105",   QStringLiteral("infobar:0,283,240,%1").arg(infobarCy),
                   "to:1,40,238,18",          "from:77,300,176,19",
                   "routeinfo:0,222,58,80",   "nextinfo:182,244,58,58",
                   "distance:64,57,58,40",    "schematic2:0,55,60,60",
                   "schematic:10,65,60,60",   "birdview:0,248,46,32",
                   "zoomout:194,284,46,32",   "zoomin:194,248,46,32",
                   "auto:0,284,46,32",        "pan:48,284,46,32",
                   "center:96,284,46,32",     "north:148,248,46,32",
                   "route:146,284,46,32",     "info:198,182,41,35",
                   "Menu:200,22,39,36",       "largedummy:5,283,238,19",
                   "smalldummy:62,302,176,19"});
}

QByteArray standardDefaults() {
    return layout({"log:2,84,40,36", "tmc:2,124,40,36", "gps:2,164,39,34", "win:156,22,41,35"});
}

ui::CanvasView& canvasView(frmMain& w) {
    return *w.findChild<ui::CanvasView*>();
}

int zoomPercent(frmMain& w) {
    return canvasView(w).zoom() * 100;
}

void zoomTo(frmMain& w, int percent) {
    for (int i = 0; i < 6 && zoomPercent(w) < percent; ++i)
        QTest::keyClick(&w, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(zoomPercent(w), percent);
    QCoreApplication::processEvents(); // the window takes its new size
}

void zoomRows(std::initializer_list<int> percents) {
    QTest::addColumn<int>("percent");
    for (const int percent : percents)
        QTest::addRow("%d %%", percent) << percent;
}

// --- BoxAnswerer ---------------------------------------------------------------

BoxAnswerer::BoxAnswerer(QString button) : m_button(std::move(button)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(10);
}

BoxAnswerer::~BoxAnswerer() {
    m_timer.stop();
}

void BoxAnswerer::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    if (m_button.startsWith('<')) {
        ++count;
        title = box->windowTitle();
        text = box->text();
        if (onShown)
            onShown();
        if (m_button == "<Escape>")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            box->close();
        return;
    }
    for (QAbstractButton* b : box->buttons()) {
        if (b->text().remove('&') == m_button) {
            ++count;
            title = box->windowTitle();
            text = box->text();
            if (onShown)
                onShown();
            b->click();
            return;
        }
    }
}

// --- SlowWriter ----------------------------------------------------------------

SlowWriter::SlowWriter(const QString& path, const QByteArray& content, qsizetype part, int pauseMs)
    : m_thread([this, path, content, part, pauseMs] {
          QFile f(path);
          if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
              f.write(content.left(part));
              f.flush();
              m_part = true;
              std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
              f.write(content.mid(part));
          }
          m_part = true;
          m_done = true;
      }) {}

SlowWriter::~SlowWriter() {
    m_thread.join();
}

// --- UnansweredBoxGuard --------------------------------------------------------

UnansweredBoxGuard::UnansweredBoxGuard() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(250);
}

void UnansweredBoxGuard::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box != m_seen) {
        m_seen = box;
        m_ticks = 0;
        return;
    }
    if (++m_ticks < 4)
        return; // a second at least: a BoxAnswerer would have taken it long ago
    m_seen = nullptr;
    QTest::qFail(qPrintable(QStringLiteral("message box left unanswered: ") + box->windowTitle() +
                            QStringLiteral(": ") + box->text()),
                 __FILE__, __LINE__);
    // Close it with its most harmless button.
    for (const auto role : {QMessageBox::NoRole, QMessageBox::RejectRole, QMessageBox::AcceptRole,
                            QMessageBox::YesRole})
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == role) {
                b->click();
                return;
            }
    box->done(0);
}

// --- Editor --------------------------------------------------------------------

Editor::Editor() : m_previousDir(QDir::currentPath()) {
    programState().reset();
    QDir::setCurrent(m_work.path());
    m_bench = std::make_unique<Workbench>();
    // The pointer's own steps, as in a drag with Alt held: the tests of
    // snapping switch it on.
    m_bench->alignment().setSnapping(false);
    w().show();
    if (!QTest::qWaitForWindowExposed(&w()))
        qWarning("window not exposed");
    w().activateWindow();
}

Editor::~Editor() {
    m_bench.reset();
    programState().reset();
    QDir::setCurrent(m_previousDir);
}

QString Editor::makeSkin(const QByteArray& mapview, const QByteArray& defaults,
                         const QString& name) {
    const QString folder = m_work.filePath(name);
    QDir().mkpath(folder);
    if (!mapview.isEmpty())
        writeFile(folder + "/mapviewlt.ini", mapview);
    if (!defaults.isEmpty())
        writeFile(folder + "/defaultlt.ini", defaults);
    return folder;
}

QString Editor::standardSkin(const QString& name) {
    return makeSkin(standardMapview(), standardDefaults(), name);
}

QString Editor::loadStandard(const QString& name) {
    const QString folder = standardSkin(name);
    load(folder);
    return folder;
}

bool Editor::activate() {
    w().activateWindow();
    return QTest::qWaitForWindowActive(&w());
}

void Editor::load(const QString& folder) {
    bool answered = false;
    QTimer timer;
    const QByteArray path = QFile::encodeName(folder);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        cSHFolder* browser = w().folderBrowser();
        QWidget* dialog = QApplication::activeModalWidget();
        if (answered || !browser || !browser->hWnd() || !dialog)
            return;
        answered = true;
        SendMessageA(browser->hWnd(), BFFM_SETSELECTIONA, TRUE, LPARAM(path.constData()));
        QTest::keyClick(dialog, Qt::Key_Return);
    });
    timer.start(10);
    click(w().BTNLoad);
    QVERIFY(answered);
}

void Editor::click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

void Editor::drag(int index, QPoint from, QPoint to, Qt::MouseButton button, int steps) {
    // Window coordinates, fixed at the press: the picture moves under the pointer.
    QWidget* picture = w().elementPicture(index);
    const QPoint start = picture->mapTo(&w(), from);
    const QPoint end = picture->mapTo(&w(), to);
    QTest::mousePress(&w(), button, {}, start);
    for (int i = 1; i <= steps; ++i)
        QTest::mouseMove(&w(), start + (end - start) * i / steps);
    QTest::mouseRelease(&w(), button, {}, end);
}

QRect Editor::canvasRect(int index) {
    return w().elementPicture(index)->geometry().translated(-32, -8);
}

} // namespace fixture
