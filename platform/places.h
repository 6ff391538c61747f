// The places of the folder dialog beside the home folder and "/": the mounted volumes a user
// keeps files on (memory cards, USB sticks, disks mounted for the user), as the desktop's own
// folder choosers show them. System mounts (/proc, /sys, /run/user, snaps, boot partitions,
// pseudo file systems) are left out.
#pragma once

#include <QList>
#include <QString>

namespace platform {

struct Volume {
    QString rootPath;
    QString name;   // the volume's label, may be empty
    QString fsType; // "vfat", "ext4", "proc", ...
    bool ready = true;
};

struct Place {
    QString path;
    QString label; // the volume's label, or its folder's name

    bool operator==(const Place&) const = default;
};

// The places among these volumes, sorted by label; home is the user's home folder.
QList<Place> userPlaces(const QList<Volume>& volumes, const QString& home);

// The volumes mounted now.
QList<Volume> mountedVolumes();

} // namespace platform
