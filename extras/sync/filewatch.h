// Watches the layout files of the loaded skin for changes by other programs.
// Most programs save by replacing a file, which ends a watch on it: every file
// is watched again after each notification, and its folder is watched too, so
// that a file that vanished is seen when it comes back. A change is reported
// once the file has stopped changing for a moment (see sync/settle.h), and only
// for a file whose content differs from what was last seen; a file cut to
// nothing is never reported, only what is written into it afterwards. A file
// that looks incomplete (see completeness.h) waits for the rest as long as a
// save would wait for it.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <string>

class LayoutFileWatch : public QObject {
public:
    LayoutFileWatch();

    // Watches these files from now on; nothing counts as seen until acknowledged.
    void watch(const QStringList& files);
    // Takes this text as the file's content seen (nothing: the file is missing), after a
    // load, the program's own save, or a merge of what another program wrote.
    void acknowledge(const QString& file, const std::optional<std::string>& content);

    // When the last notification came, in ms since the epoch (0: none yet).
    qint64 lastNotice() const { return m_lastNotice; }
    // Whether a change is still waiting to stay the same, or for a good moment to be reported.
    bool settling() const { return m_settle.isActive(); }

    // Tells whether it is a good moment to report; when it returns false, the
    // report is tried again a little later.
    std::function<bool()> readyToReport;
    // Reports the first file whose content changed; at most once per gathering.
    std::function<void(const QString& file)> changed;

private:
    struct File {
        std::optional<std::string> seen;   // as last acknowledged
        std::optional<std::string> sample; // as read at the last notification or check
    };

    void notified();
    void check();
    bool resample(); // reads every file; true when one changed since its last sample
    void rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    std::map<QString, File> m_files;
    qint64 m_lastNotice = 0;
    bool m_heldOnce = false;   // an unfinished-looking content has waited once more
    qint64 m_pendingSince = 0; // when the change not reported yet was first noticed
};
