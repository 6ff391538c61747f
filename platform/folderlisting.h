// Reading one folder of the folder dialog's tree, on any thread.
//
// Names are taken as the bytes on disk, so that a name that is no valid text in the local
// 8-bit encoding is still listed (shown with replacement characters). Entries are looked at
// relative to their folder, so that an entry whose full path is too long to open is listed
// too. For every subfolder the listing tells whether it has entries of its own, hidden and
// not, so that the tree can show an expand arrow without reading it first.
#pragma once

#include "platform/background.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace platform {

struct FolderEntry {
    QByteArray rawName;      // the name's bytes
    QString name;            // as shown
    bool isDir = false;      // a folder, or a link to one
    bool hidden = false;     // the name starts with '.'
    bool hasVisible = false; // a folder with entries that are not hidden
    bool hasHidden = false;  // a folder with hidden entries
    // The shown name gives the bytes back: the program can open the entry by it.
    bool nameRoundTrips() const { return name.toLocal8Bit() == rawName; }
};

struct FolderListing {
    bool readable = false;
    std::vector<FolderEntry> entries; // folders before files, each without regard to case
};

// Reads a folder now; files are left out unless asked for.
FolderListing listFolder(const QByteArray& path, bool includeFiles);

// Reads a folder on a thread of its own (background.h).
class PendingListing : public Background<FolderListing> {
public:
    PendingListing(const QByteArray& path, bool includeFiles)
        : Background([path, includeFiles] { return listFolder(path, includeFiles); }) {}
};

} // namespace platform
