#include "extras/sync/filewatch.h"

#include "extras/sync/completeness.h"
#include "extras/sync/layoutfile.h"
#include "extras/sync/settle.h"

#include <QDateTime>
#include <QFileInfo>

namespace {

// A report that had to wait for a good moment is tried again after this long.
constexpr int kRetryMs = 150;

} // namespace

LayoutFileWatch::LayoutFileWatch() {
    m_settle.setSingleShot(true);
    m_settle.setTimerType(Qt::PreciseTimer);
    connect(&m_settle, &QTimer::timeout, this, [this] { check(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { notified(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { notified(); });
}

void LayoutFileWatch::watch(const QStringList& files) {
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_files.clear();
    for (const QString& file : files)
        m_files[file] = {};
    rewatch();
}

void LayoutFileWatch::acknowledge(const QString& file, const std::optional<std::string>& content) {
    const auto it = m_files.find(file);
    if (it == m_files.end())
        return;
    it->second.seen = content;
    it->second.sample = content;
    m_heldOnce = false;
    rewatch();
}

void LayoutFileWatch::rewatch() {
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    for (const auto& [file, state] : m_files) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!watched.contains(folder) && QFileInfo::exists(folder))
            m_watcher.addPath(folder);
        if (!watched.contains(file) && QFileInfo::exists(file))
            m_watcher.addPath(file);
    }
}

bool LayoutFileWatch::resample() {
    bool changedSince = false;
    for (auto& [file, state] : m_files) {
        std::optional<std::string> now = filesync::readLayoutText(file);
        if (now != state.sample) {
            state.sample = std::move(now);
            changedSince = true;
        }
    }
    if (changedSince)
        m_heldOnce = false;
    return changedSince;
}

void LayoutFileWatch::notified() {
    rewatch();
    m_lastNotice = QDateTime::currentMSecsSinceEpoch();
    if (m_pendingSince == 0)
        m_pendingSince = m_lastNotice;
    resample();
    m_settle.start(filesync::kSettleMs); // every change starts the quiet time anew
}

void LayoutFileWatch::check() {
    rewatch();
    if (resample()) { // still being written
        m_settle.start(filesync::kSettleMs);
        return;
    }
    // A file that vanished is not reported: its return is. Nor is one cut to nothing:
    // what is written into it next is.
    const QString* first = nullptr;
    bool incomplete = false;
    bool shorter = false;
    for (const auto& [file, state] : m_files) {
        if (!state.sample || state.sample->empty() || state.sample == state.seen)
            continue;
        if (!first)
            first = &file;
        incomplete = incomplete || filesync::looksIncomplete(state.sample, state.seen);
        shorter = shorter || filesync::mayBeUnfinished(state.sample, state.seen);
    }
    if (!first) {
        m_pendingSince = 0;
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (m_pendingSince == 0)
        m_pendingSince = now;
    // A file that looks half written waits for the rest as long as a save would wait for
    // it; one that is only shorter than before (maybe cut, then filled) waits once more.
    if (incomplete ? now - m_pendingSince < filesync::kMaxSaveWaitMs : shorter && !m_heldOnce) {
        m_heldOnce = true;
        m_settle.start(filesync::kSettleMs);
        return;
    }
    if (readyToReport && !readyToReport()) {
        m_settle.start(kRetryMs);
        return;
    }
    m_pendingSince = 0;
    if (changed)
        changed(*first);
}
