#include "platform/folderlisting.h"

#include <algorithm>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool isDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

bool isDirectoryAt(int folder, const dirent& entry) {
    if (entry.d_type == DT_DIR)
        return true;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return false;
    struct stat info {};
    return ::fstatat(folder, entry.d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// Closes a directory stream however the scope is left.
struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirPtr = std::unique_ptr<DIR, DirCloser>;

// Whether the subfolder name of folder holds hidden and other entries of the listed kinds.
void lookInside(int folder, FolderEntry& entry, bool includeFiles) {
    const int fd = ::openat(folder, entry.rawName.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    const DirPtr dir(::fdopendir(fd));
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* child = ::readdir(dir.get())) {
        if (isDot(child->d_name) || (!includeFiles && !isDirectoryAt(::dirfd(dir.get()), *child)))
            continue;
        (child->d_name[0] == '.' ? entry.hasHidden : entry.hasVisible) = true;
        if (entry.hasHidden && entry.hasVisible)
            return;
    }
}

} // namespace

FolderListing listFolder(const QByteArray& path, bool includeFiles) {
    FolderListing listing;
    const DirPtr dir(::opendir(path.constData()));
    if (!dir)
        return listing;
    listing.readable = true;
    const int folder = ::dirfd(dir.get());
    while (const dirent* found = ::readdir(dir.get())) {
        if (isDot(found->d_name))
            continue;
        FolderEntry entry;
        entry.isDir = isDirectoryAt(folder, *found);
        if (!entry.isDir && !includeFiles)
            continue;
        entry.rawName = QByteArray(found->d_name);
        entry.name = QString::fromLocal8Bit(entry.rawName);
        entry.hidden = found->d_name[0] == '.';
        if (entry.isDir)
            lookInside(folder, entry, includeFiles);
        listing.entries.push_back(std::move(entry));
    }
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) {
                  if (a.isDir != b.isDir)
                      return a.isDir;
                  const int order = a.name.compare(b.name, Qt::CaseInsensitive);
                  return order != 0 ? order < 0 : a.rawName < b.rawName;
              });
    return listing;
}

} // namespace platform
