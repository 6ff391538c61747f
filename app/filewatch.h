// Watches the layout files of the loaded skin for changes by other programs.
// Most programs save by replacing a file, which ends a watch on it: every file
// is watched again after each notification, and its folder is watched too, so
// that a file that vanished is seen when it comes back. Notifications are
// gathered for a moment and reported once, and only for a file whose content
// differs from what was last seen.
#pragma once

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>

class LayoutFileWatch : public QObject {
public:
    LayoutFileWatch();

    // Watches these files from now on, with their present content as seen.
    void watch(const QStringList& files);
    // Takes the present content of the watched files as seen (after the program's
    // own save, or after the user kept the own edits).
    void acknowledge();

    // Tells whether it is a good moment to report; when it returns false, the
    // report is tried again a little later.
    std::function<bool()> readyToReport;
    // Reports the first file whose content changed; at most once per gathering.
    std::function<void(const QString& file)> changed;

private:
    void notified();
    void check();
    void rewatch();

    QFileSystemWatcher m_watcher;
    QTimer m_gather;
    std::map<QString, QByteArray> m_seen; // file -> content last seen (empty map: nothing watched)
};
