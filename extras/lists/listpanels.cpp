#include "extras/lists/listpanels.h"

#include "app/Global.h"
#include "app/frmMain.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/lists/elementlist.h"
#include "extras/lists/paneltable.h"
#include "extras/lists/problemlist.h"
#include "extras/lists/problemmarks.h"
#include "extras/shared/shortcuts.h"
#include "resources/errors.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QThreadPool>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace lists {

namespace {

const QString kSection = QStringLiteral("Ansicht");

QString keyOf(bool elements) {
    return elements ? QStringLiteral("Elementliste") : QStringLiteral("Problemliste");
}

bool sameFindings(const std::vector<cli::Finding>& a, const std::vector<cli::Finding>& b) {
    return std::equal(a.cbegin(), a.cend(), b.cbegin(), b.cend(),
                      [](const cli::Finding& x, const cli::Finding& y) {
                          return x.file == y.file && x.line == y.line && x.error == y.error &&
                                 x.message == y.message;
                      });
}

} // namespace

// Sees the input of the whole program while a panel exists: what the user does on the
// canvas, in the boxes or with the keys may change the values and the active element.
class InputWatch : public QObject {
public:
    explicit InputWatch(std::function<bool(QObject*, QEvent*)> seen) : m_seen(std::move(seen)) {
        qApp->installEventFilter(this);
    }
    ~InputWatch() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return m_seen(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> m_seen;
};

ListPanels::ListPanels(frmMain& window)
    : m_window(window), m_keys(std::make_unique<WindowShortcuts>(window)),
      m_marks(std::make_unique<ProblemMarks>(window)), m_pool(std::make_unique<QThreadPool>()),
      m_area(ui::MainForm::kClientWidth, 0, 0, ui::MainForm::kClientHeight) {
    m_pool->setMaxThreadCount(1);
    m_keys->add(QKeyCombination(Qt::NoModifier, Qt::Key_F6),
                [this] { setElementListOpen(!elementListOpen(), true); });
    m_keys->add(QKeyCombination(Qt::NoModifier, Qt::Key_F7),
                [this] { setProblemListOpen(!problemListOpen(), true); });
    m_window.installEventFilter(this);
    connect(&m_flags, &ElementFlags::changed, this, [this](int index) { applyFlags(index); });
    connect(&m_window, &frmMain::folderOpened, this, &ListPanels::onFolderOpened);
    connect(&m_window, &frmMain::layoutLoaded, this, &ListPanels::onLayoutLoaded);
    connect(&m_window, &frmMain::filesWritten, this, &ListPanels::layoutWritten);
}

void ListPanels::layoutEdited() {
    queueRefresh();
}

ListPanels::~ListPanels() {
    m_pool->waitForDone(); // a running check reports to this object
    m_input.reset();
    delete m_elements.data();
    delete m_problems.data();
}

// --- opening and closing --------------------------------------------------------

QWidget* ListPanels::panel(Kind kind) const {
    return kind == Kind::Elements ? static_cast<QWidget*>(m_elements)
                                  : static_cast<QWidget*>(m_problems);
}

ElementPanel* ListPanels::elementPanel() const {
    return m_elements;
}

ProblemPanel* ListPanels::problemPanel() const {
    return m_problems;
}

bool ListPanels::elementListOpen() const {
    return m_elements && !m_elements->isHidden();
}

bool ListPanels::problemListOpen() const {
    return m_problems && !m_problems->isHidden();
}

void ListPanels::setElementListOpen(bool open, bool focus) {
    setOpen(Kind::Elements, open, focus);
}

void ListPanels::setProblemListOpen(bool open, bool focus) {
    setOpen(Kind::Problems, open, focus);
}

QWidget* ListPanels::build(Kind kind) {
    if (!m_input)
        m_input = std::make_unique<InputWatch>(
            [this](QObject* watched, QEvent* event) { return inputSeen(watched, event); });
    QWidget* built = nullptr;
    if (kind == Kind::Elements) {
        m_elements = new ElementPanel(m_flags, &m_window); // owned by the window
        connect(m_elements, &ElementPanel::elementChosen, this, &ListPanels::choose);
        connect(m_elements, &ElementPanel::closeRequested, this,
                [this] { setElementListOpen(false); });
        m_elements->model().setProblems(problemsByElement());
        built = m_elements;
    } else {
        m_problems = new ProblemPanel(&m_window); // owned by the window
        connect(m_problems, &ProblemPanel::elementChosen, this, &ListPanels::choose);
        connect(m_problems, &ProblemPanel::closeRequested, this,
                [this] { setProblemListOpen(false); });
        m_problems->setFindings(m_findings);
        built = m_problems;
    }
    built->hide();
    return built;
}

void ListPanels::setOpen(Kind kind, bool open, bool focus) {
    QWidget* p = panel(kind);
    const bool wasOpen = p && !p->isHidden();
    if (open) {
        if (!p)
            p = build(kind);
        if (focus && !wasOpen && !p->isAncestorOf(QApplication::focusWidget()))
            m_focusBefore = QApplication::focusWidget();
        p->show();
        fitWindow();
        relayout();
        refresh();
        if (focus) {
            PanelTable& table = kind == Kind::Elements ? m_elements->table() : m_problems->table();
            table.setFocus(Qt::ShortcutFocusReason);
        }
    } else if (wasOpen) {
        const bool hadFocus = p->isAncestorOf(QApplication::focusWidget());
        p->hide();
        fitWindow();
        relayout();
        if (hadFocus) {
            if (m_focusBefore && !p->isAncestorOf(m_focusBefore))
                m_focusBefore->setFocus(Qt::OtherFocusReason);
            else
                m_window.txtX->setFocus(Qt::OtherFocusReason);
        }
    }
    if (open != wasOpen)
        remember(kind, open);
}

void ListPanels::remember(Kind kind, bool open) const {
    if (m_restoring)
        return; // as read from the settings
    Global::WriteIniValue(Global::settingsFile(), kSection, keyOf(kind == Kind::Elements),
                          open ? QStringLiteral("1") : QStringLiteral("0"));
}

void ListPanels::restoreFromSettings() {
    m_restored = true;
    for (const Kind kind : {Kind::Elements, Kind::Problems})
        if (Global::ReadIniValue(Global::settingsFile(), kSection, keyOf(kind == Kind::Elements),
                                 0) == QLatin1String("1"))
            m_toOpen.push_back(kind);
    // The window shows at its full width at once; the lists are built after its first
    // frame, which so comes as fast as without them.
    if (!m_toOpen.empty())
        emit columnWidthWanted(kPanelWidth);
}

void ListPanels::openRestored() {
    m_restoring = true;
    for (const Kind kind : std::exchange(m_toOpen, {}))
        if (!panel(kind))
            setOpen(kind, true, false);
    m_restoring = false;
}

// --- placing ----------------------------------------------------------------------

void ListPanels::placeColumn(const QRect& area) {
    m_area = area;
    relayout();
}

void ListPanels::fitWindow() {
    const bool anyOpen = elementListOpen() || problemListOpen() || !m_toOpen.empty();
    emit columnWidthWanted(anyOpen ? int(kPanelWidth) : 0);
}

void ListPanels::relayout() {
    const bool elements = elementListOpen();
    const bool problems = problemListOpen();
    const int width = std::max(int(kPanelWidth), m_area.width());
    const int height = m_area.height();
    // Both open: the element list above with its 25 rows taking the larger part.
    const int split = elements && problems ? height * 3 / 5 : height;
    if (elements)
        m_elements->setGeometry(m_area.left(), 0, width, split);
    if (problems)
        m_problems->setGeometry(m_area.left(), elements ? split : 0, width,
                                elements ? height - split : height);
}

// --- the menu on the bare surface ---------------------------------------------------

bool ListPanels::onBareSurface(const QPoint& pos) const {
    const QWidget* hit = m_window.childAt(pos);
    return !hit || hit == m_window.Image1 || hit == m_window.Shape1;
}

void ListPanels::addPanelEntries(QMenu& menu) {
    if (!menu.isEmpty())
        menu.addSeparator();
    const auto add = [&](const QString& text, Qt::Key key, Kind kind) {
        QAction* action = menu.addAction(text);
        action->setCheckable(true);
        action->setShortcut(QKeySequence(key));
        action->setShortcutVisibleInContextMenu(true);
        // The keys themselves are the window's; the entry only shows them.
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(&menu, &QMenu::aboutToShow, action, [this, action, kind] {
            action->setChecked(kind == Kind::Elements ? elementListOpen() : problemListOpen());
        });
        connect(action, &QAction::triggered, this,
                [this, kind](bool open) { setOpen(kind, open, true); });
    };
    add(QStringLiteral("Elementliste"), Qt::Key_F6, Kind::Elements);
    add(QStringLiteral("Problemliste"), Qt::Key_F7, Kind::Problems);
}

void ListPanels::showMenu(const QPoint& globalPos) {
    QMenu menu(&m_window);
    menu.setObjectName(QStringLiteral("PanelMenu"));
    addPanelEntries(menu);
    menu.exec(globalPos);
}

bool ListPanels::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
        if (!m_restored)
            restoreFromSettings();
        break;
    case QEvent::Paint:
        if (!m_toOpen.empty()) // after this frame
            QTimer::singleShot(0, this, [this] { openRestored(); });
        break;
    case QEvent::ContextMenu: {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (!onBareSurface(menuEvent->pos()))
            break;
        showMenu(menuEvent->globalPos());
        return true;
    }
    default:
        break;
    }
    return false;
}

// --- following the editor -------------------------------------------------------------

void ListPanels::onFolderOpened() {
    m_folderLoad = true;
    m_flags.clear();
}

void ListPanels::onLayoutLoaded() {
    applyFlags(-1);
    check(true);
    refresh();
}

void ListPanels::layoutWritten() {
    check(false);
    refresh();
}

void ListPanels::applyFlags(int index) {
    const ProgramState& state = programState();
    const auto view = std::size_t(std::clamp<int>(state.CurrentView, 0, 2));
    for (int i = 0; i < ElementFlags::kCount; ++i) {
        if (index >= 0 && i != index)
            continue;
        QWidget* picture = m_window.elementPicture(i);
        if (!picture)
            continue;
        picture->setAttribute(Qt::WA_TransparentForMouseEvents, m_flags.locked(i));
        if (m_flags.hidden(i))
            picture->setVisible(false);
        else if (m_window.loaded())
            picture->setVisible(state.ElementCatalogue[std::size_t(i)].bInView[view]);
    }
}

std::array<QStringList, ElementFlags::kCount> ListPanels::problemsByElement() const {
    std::array<QStringList, ElementFlags::kCount> texts{};
    for (const cli::Finding& finding : m_findings)
        if (finding.element >= 0 && finding.element < ElementFlags::kCount)
            texts[std::size_t(finding.element)] << finding.german;
    return texts;
}

void ListPanels::check(bool afterLoad) {
    if (!m_window.isVisible()) {
        m_folderLoad = false;
        return; // a window nobody sees (the renderer's) shows no problems
    }
    // A load waits for no check: a layout file of megabytes takes a while to go through.
    // A check that a newer one overtakes is dropped, with what it was for.
    m_checkAfterLoad = m_checkAfterLoad || afterLoad;
    const std::uint64_t generation = ++m_checksStarted;
    m_pool->start([this, generation, folder = m_window.skinFolder()] {
        std::vector<cli::Finding> found = cli::checkSkin(folder);
        QMetaObject::invokeMethod(
            this,
            [this, generation, found = std::move(found)]() mutable {
                checked(generation, std::move(found));
            },
            Qt::QueuedConnection);
    });
}

void ListPanels::checked(std::uint64_t generation, std::vector<cli::Finding> found) {
    if (generation != m_checksStarted)
        return; // a newer check is on its way
    m_checksDone = generation;
    const bool folderLoad = std::exchange(m_folderLoad, false);
    const bool afterLoad = std::exchange(m_checkAfterLoad, false);
    const bool news = !sameFindings(found, m_findings);
    m_findings = std::move(found);

    std::array<bool, ProblemMarks::kCount> marked{};
    for (const cli::Finding& finding : m_findings)
        if (finding.element >= 0 && finding.element < ProblemMarks::kCount)
            marked[std::size_t(finding.element)] = true;
    m_marks->show(marked);
    if (m_elements)
        m_elements->model().setProblems(problemsByElement());
    if (m_problems && news)
        m_problems->setFindings(m_findings);

    const bool errors = std::any_of(m_findings.cbegin(), m_findings.cend(),
                                    [](const cli::Finding& f) { return f.error; });
    // Errors that the user has not seen yet open the list by itself.
    if (afterLoad && errors && (folderLoad || news))
        setProblemListOpen(true);
}

// --- the active element -------------------------------------------------------------

void ListPanels::choose(int index) {
    if (!m_window.loaded() || index < 0 || index >= ElementFlags::kCount)
        return;
    try {
        elementAt(index).Select();
    } catch (const ui::RuntimeError&) {
    }
    refresh();
}

void ListPanels::queueRefresh() {
    if (!m_elements || m_refreshQueued)
        return;
    m_refreshQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_refreshQueued = false;
        refresh();
    });
}

void ListPanels::refresh() {
    if (!m_elements)
        return;
    m_elements->model().refresh();
    bool ok = false;
    const int active = m_window.loaded() ? m_window.Selector->Tag().toInt(&ok) : -1;
    m_elements->table().showRow(ok ? active : -1);
}

bool ListPanels::inputSeen(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* table = qobject_cast<PanelTable*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ours = table && ((m_elements && table == &m_elements->table()) ||
                                    (m_problems && table == &m_problems->table()));
        if (ours && PanelTable::isNavigationKey(key->key()) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            // The list's own keys: the window would nudge the active element with them,
            // also one the list ignores (Down in the last row) on its way to the window.
            table->navigate(key);
            key->accept();
            return true;
        }
        queueRefresh();
        break;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
        queueRefresh();
        break;
    case QEvent::MouseMove:
        if (static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton)
            queueRefresh();
        break;
    default:
        break;
    }
    return false;
}

} // namespace lists
