#include "platform/places.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace platform {

namespace {

bool isBelow(const QString& path, const QString& folder) {
    return path.startsWith(folder + QLatin1Char('/'));
}

bool isPseudoFileSystem(const QString& type) {
    static const QStringList pseudo = {
        "proc",    "sysfs",       "tmpfs",           "devtmpfs",     "devpts",   "cgroup",
        "cgroup2", "securityfs",  "debugfs",         "tracefs",      "configfs", "fusectl",
        "mqueue",  "hugetlbfs",   "pstore",          "bpf",          "autofs",   "binfmt_misc",
        "nsfs",    "ramfs",       "efivarfs",        "rpc_pipefs",   "squashfs", "overlay",
        "nfsd",    "fuse.portal", "fuse.gvfsd-fuse", "fuse.snapfuse"};
    return pseudo.contains(type);
}

// Where the desktop puts the volumes of its users.
bool isUserMountPoint(const QString& path, const QString& home) {
    return isBelow(path, QStringLiteral("/media")) || isBelow(path, QStringLiteral("/run/media")) ||
           isBelow(path, QStringLiteral("/mnt")) || (!home.isEmpty() && isBelow(path, home));
}

} // namespace

QList<Place> userPlaces(const QList<Volume>& volumes, const QString& home) {
    const QString homeFolder = QDir::cleanPath(home);
    QList<Place> places;
    for (const Volume& volume : volumes) {
        const QString path = QDir::cleanPath(volume.rootPath);
        if (!volume.ready || isPseudoFileSystem(volume.fsType) ||
            !isUserMountPoint(path, homeFolder) ||
            std::any_of(places.cbegin(), places.cend(),
                        [&path](const Place& p) { return p.path == path; }))
            continue;
        const QString label =
            volume.name.trimmed().isEmpty() ? QFileInfo(path).fileName() : volume.name.trimmed();
        places.append({path, label});
    }
    std::sort(places.begin(), places.end(), [](const Place& a, const Place& b) {
        const int order = a.label.compare(b.label, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a.path < b.path;
    });
    return places;
}

QList<Volume> mountedVolumes() {
    QList<Volume> volumes;
    for (const QStorageInfo& info : QStorageInfo::mountedVolumes())
        volumes.append({info.rootPath(), info.name(), QString::fromLatin1(info.fileSystemType()),
                        info.isValid() && info.isReady()});
    return volumes;
}

} // namespace platform
