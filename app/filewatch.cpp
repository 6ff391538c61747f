#include "app/filewatch.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kGatherMs = 150;

// The content of a file, or nothing when it cannot be read (gone, or replaced
// just now).
std::optional<QByteArray> contentOf(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace

LayoutFileWatch::LayoutFileWatch() {
    m_gather.setSingleShot(true);
    m_gather.setInterval(kGatherMs);
    connect(&m_gather, &QTimer::timeout, this, [this] { check(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, [this] { notified(); });
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] { notified(); });
}

void LayoutFileWatch::watch(const QStringList& files) {
    m_gather.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_seen.clear();
    for (const QString& file : files)
        m_seen[file] = {};
    acknowledge();
}

void LayoutFileWatch::acknowledge() {
    for (auto& [file, content] : m_seen)
        if (auto now = contentOf(file))
            content = *now;
    rewatch();
}

void LayoutFileWatch::rewatch() {
    const QStringList watched = m_watcher.files() + m_watcher.directories();
    for (const auto& [file, content] : m_seen) {
        const QString folder = QFileInfo(file).absolutePath();
        if (!watched.contains(folder) && QFileInfo::exists(folder))
            m_watcher.addPath(folder);
        if (!watched.contains(file) && QFileInfo::exists(file))
            m_watcher.addPath(file);
    }
}

void LayoutFileWatch::notified() {
    rewatch();
    m_gather.start(); // a save that writes both files is reported once
}

void LayoutFileWatch::check() {
    rewatch();
    if (readyToReport && !readyToReport()) {
        m_gather.start();
        return;
    }
    for (const auto& [file, content] : m_seen) {
        const std::optional<QByteArray> now = contentOf(file);
        // A file that vanished is not reported: its return is.
        if (now && *now != content) {
            if (changed)
                changed(file);
            return;
        }
    }
}
