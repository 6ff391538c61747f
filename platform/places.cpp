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
        "proc",         "sysfs",       "devtmpfs",  "devpts",      "cgroup",
        "cgroup2",      "securityfs",  "debugfs",   "tracefs",     "configfs",
        "fusectl",      "mqueue",      "hugetlbfs", "pstore",      "bpf",
        "autofs",       "binfmt_misc", "nsfs",      "efivarfs",    "rpc_pipefs",
        "squashfs",     "overlay",     "nfsd",      "fuse.portal", "fuse.gvfsd-fuse",
        "fuse.snapfuse"};
    return pseudo.contains(type);
}

bool isInMemory(const QString& type) {
    return type == QLatin1String("tmpfs") || type == QLatin1String("ramfs");
}

// Where media and volumes are mounted for the users.
bool isMediaMountPoint(const QString& path) {
    return isBelow(path, QStringLiteral("/media")) || isBelow(path, QStringLiteral("/run/media")) ||
           isBelow(path, QStringLiteral("/mnt"));
}

// Exactly where media get mounted: /media/NAME, /media/USER/NAME, /run/media/USER/NAME,
// /mnt/NAME. Deeper folders there belong to programs, not to the user.
bool isMediaFolder(const QString& path) {
    const qsizetype depth = path.count(QLatin1Char('/'));
    if (isBelow(path, QStringLiteral("/run/media")))
        return depth == 4;
    if (isBelow(path, QStringLiteral("/media")))
        return depth == 2 || depth == 3;
    return isBelow(path, QStringLiteral("/mnt")) && depth == 2;
}

// A volume in memory counts only where media are mounted (the system keeps its own ones
// elsewhere, also below the home folder).
bool isUserMountPoint(const QString& path, const QString& type, const QString& home) {
    if (isInMemory(type))
        return isMediaFolder(path);
    return isMediaMountPoint(path) || (!home.isEmpty() && isBelow(path, home));
}

} // namespace

QList<Place> userPlaces(const QList<Volume>& volumes, const QString& home) {
    const QString homeFolder = QDir::cleanPath(home);
    QList<Place> places;
    for (const Volume& volume : volumes) {
        const QString path = QDir::cleanPath(volume.rootPath);
        if (!volume.ready || isPseudoFileSystem(volume.fsType) ||
            !isUserMountPoint(path, volume.fsType, homeFolder) ||
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
