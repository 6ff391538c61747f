#include "extras/session/editsession.h"

#include "app/frmMain.h"
#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "extras/session/elementtips.h"
#include "extras/shared/shortcuts.h"
#include "extras/shared/title.h"
#include "extras/sync/filewatch.h"
#include "extras/sync/layoutsync.h"
#include "extras/undo/layouthistory.h"
#include "resources/errors.h"
#include "resources/msgbox.h"
#include "resources/numbers.h"

#include <QApplication>
#include <QDir>

EditSession::EditSession(frmMain& window)
    : m_window(window), m_history(std::make_unique<undo::LayoutHistory>(window)),
      m_keys(std::make_unique<WindowShortcuts>(window)),
      m_tips(std::make_unique<ElementTips>(window)),
      m_sync(std::make_unique<filesync::LayoutSync>(window, *m_history)) {
    programState().editObserver = [this](const EditNotice& notice) { onEdit(notice); };
    connect(&window, &frmMain::loadBegins, this, &EditSession::onLoadBegins);
    connect(&window, &frmMain::layoutLoaded, this, &EditSession::onLayoutLoaded);
    connect(&window, &frmMain::saveBegins, this, &EditSession::onSaveBegins);
    connect(&window, &frmMain::saveReady, this, [this](SaveHold& hold) {
        if (hold.reason == SaveHold::Reason::None)
            hold = m_sync->holdBeforeWrite();
    });
    connect(&window, &frmMain::filesWritten, this, &EditSession::onFilesWritten);
    connect(&window, &frmMain::layoutSaved, this, &EditSession::onLayoutSaved);
    connect(&window, &frmMain::nudgeBegins, this, &EditSession::onNudgeBegins);
    connect(&window, &frmMain::nudgeEnded, this, &EditSession::onNudgeEnded);
    // Key releases in a box merge into one step while the focus stays in it.
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget*) { m_history->endTypingRun(); });
    bindKeys();
}

EditSession::~EditSession() {
    programState().editObserver = nullptr;
}

void EditSession::setTipNote(std::function<QString(int)> note) {
    m_tips->note = std::move(note);
}

void EditSession::bindKeys() {
    const auto ctrl = [](Qt::Key key, Qt::KeyboardModifiers more = {}) {
        return QKeyCombination(Qt::ControlModifier | more, key);
    };
    m_keys->add(ctrl(Qt::Key_Z), [this] { undo(); });
    m_keys->add(ctrl(Qt::Key_Z, Qt::ShiftModifier), [this] { redo(); });
    m_keys->add(ctrl(Qt::Key_Y), [this] { redo(); });
    m_keys->add(ctrl(Qt::Key_S), [this] { m_window.BTNSave_Click(); });
    m_keys->add(ctrl(Qt::Key_O), [this] { m_window.BTNLoad_Click(); });
    m_keys->add(ctrl(Qt::Key_W), [this] { m_window.close(); });
    m_keys->add(ctrl(Qt::Key_Q), [this] { m_window.close(); });
    m_keys->add(ctrl(Qt::Key_Tab), [this] { cycleActiveElement(+1); });
    // Shift+Tab comes as a back-tab key.
    m_keys->add(ctrl(Qt::Key_Backtab, Qt::ShiftModifier), [this] { cycleActiveElement(-1); });
    m_keys->add(ctrl(Qt::Key_Tab, Qt::ShiftModifier), [this] { cycleActiveElement(-1); });
}

void EditSession::onEdit(const EditNotice& notice) {
    const bool begins = notice.stage == EditNotice::Stage::Begin;
    if (begins) {
        m_history->begin();
        return;
    }
    if (notice.source == EditNotice::Source::Pointer)
        m_history->endPointer(notice.index);
    else
        m_history->endTyping(notice.index, notice.box);
    refreshTitle();
}

void EditSession::onNudgeBegins() {
    m_history->begin();
}

void EditSession::onNudgeEnded(int element, int mode) {
    m_history->endNudge(element, mode);
    refreshTitle();
}

void EditSession::onLoadBegins() {
    m_sync->onLoadBegins();
}

void EditSession::onLayoutLoaded() {
    m_history->restart();
    if (!m_window.isVisible()) {
        // A window nobody sees (the renderer's) has nobody to tell about changes.
        refreshTitle();
        return;
    }
    if (!m_files) { // nothing to watch before the first load
        m_files = std::make_unique<LayoutFileWatch>();
        m_files->readyToReport = [this] { return readyForFileQuestion(); };
        m_files->changed = [this](const QString& file) { fileChangedElsewhere(file); };
    }
    QStringList files;
    for (const auto& [file, base] : m_sync->bases())
        files << file;
    m_files->watch(files);
    acknowledgeFiles();
    refreshTitle();
}

void EditSession::acknowledgeFiles() {
    if (!m_files)
        return;
    for (const auto& [file, base] : m_sync->bases())
        m_files->acknowledge(file, base);
}

void EditSession::onSaveBegins() {
    m_sync->takeChangesFromFiles(m_files ? m_files->lastNotice() : 0,
                                 filesync::Settled::QuietAndComplete);
}

void EditSession::onFilesWritten(const std::vector<SavedFile>& files) {
    const QStringList overwritten = m_sync->onFilesWritten(files);
    acknowledgeFiles(); // the own writes are no change from elsewhere
    // Each file is measured against its own saved state: after a save that wrote one
    // file only, the canvas may still differ from the other.
    showChangedMark();
    if (!overwritten.isEmpty())
        ui::MsgBox(QStringLiteral("Diese Elemente wurden auch außerhalb von Tessel geändert; "
                                  "Ihre Werte wurden gespeichert: ") +
                       overwritten.join(QStringLiteral(", ")),
                   ui::vbOKOnly | ui::vbInformation, QStringLiteral("Hinweis"));
}

void EditSession::onLayoutSaved() {
    m_history->markSaved();
    refreshTitle();
}

// --- layout files changed by another program -----------------------------------

bool EditSession::readyForFileQuestion() const {
    // Not in the middle of a drag, under another question or the folder dialog.
    return !m_asking && QApplication::mouseButtons() == Qt::NoButton &&
           !QApplication::activeModalWidget();
}

void EditSession::fileChangedElsewhere(const QString& file) {
    if (!m_window.loaded())
        return;
    // A change that moves no element only becomes the files' base: the edits, the
    // history and the canvas stay as they are.
    if (!m_sync->takeChangesThatMoveNothing()) {
        acknowledgeFiles();
        return;
    }
    if (!programState().bChanged) {
        reloadKeepingTheActiveElement();
        return;
    }
    m_asking = true;
    const QString question = QStringLiteral("Die Datei ") + QDir::toNativeSeparators(file) +
                             QStringLiteral(" wurde außerhalb von Tessel geändert. Neu laden und "
                                            "die eigenen Änderungen verwerfen?");
    const bool reload = ui::MsgBox(question, ui::vbYesNo, QStringLiteral("Frage:")) == ui::vbYes;
    m_asking = false;
    if (reload) {
        reloadKeepingTheActiveElement();
        return;
    }
    // Keep the own edits, take everything else from the files; ask again only for a
    // newer change.
    m_sync->takeChangesFromFiles(m_files ? m_files->lastNotice() : 0, filesync::Settled::Quiet);
    acknowledgeFiles();
    showChangedMark();
}

void EditSession::reloadKeepingTheActiveElement() {
    const QString active = m_window.Selector->Tag();
    m_window.SetTheControls();
    bool ok = false;
    const int index = active.toInt(&ok);
    if (ok && index >= 0 && index < kElementCount) {
        try {
            elementAt(index).Select();
        } catch (const ui::RuntimeError&) {
        }
    }
}

bool EditSession::undo() {
    if (!canUndoOrRedo() || !m_history->undo())
        return false;
    afterUndoOrRedo();
    return true;
}

bool EditSession::redo() {
    if (!canUndoOrRedo() || !m_history->redo())
        return false;
    afterUndoOrRedo();
    return true;
}

bool EditSession::canUndoOrRedo() const {
    // Not in the middle of a drag: the step it makes is not complete yet.
    return m_window.loaded() && QApplication::mouseButtons() == Qt::NoButton;
}

void EditSession::afterUndoOrRedo() {
    // Back at the loaded or saved state there is nothing left to save.
    showChangedMark();
}

void EditSession::showChangedMark() {
    programState().bChanged = !m_history->isClean() || m_sync->anyFileUnsaved();
    refreshTitle();
}

void EditSession::cycleActiveElement(int direction) {
    if (!m_window.loaded())
        return;
    ProgramState& state = programState();
    int active = kElementCount - 1;
    try {
        active = ui::CLng(ui::CDbl(m_window.Selector->Tag()));
    } catch (const ui::RuntimeError&) {
    }
    const auto view = std::size_t(state.CurrentView);
    for (int step = 1; step <= kElementCount; ++step) {
        const int i = ((active + direction * step) % kElementCount + kElementCount) % kElementCount;
        if (!state.ElementCatalogue[std::size_t(i)].bInView[view])
            continue;
        try {
            elementAt(i).Select();
        } catch (const ui::RuntimeError&) {
        }
        return;
    }
}

void EditSession::refreshTitle() {
    title::show(m_window, m_window.skinFolder(), m_window.loaded(), programState().bChanged);
}
