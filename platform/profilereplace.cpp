#include "platform/profilereplace.h"

#include "platform/fileattributes.h"
#include "platform/posixfile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>
#include <utility>

namespace profile {

namespace {

constexpr std::size_t maxNameInTemporary = 200;
constexpr std::size_t suffixLength = 8;
constexpr std::string_view temporaryEnding = ".tmp";
constexpr std::string_view suffixLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Removes a named temporary file unless it has been renamed into place.
class TemporaryName {
public:
    TemporaryName() = default;
    ~TemporaryName() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    void take(std::string path) { path_ = std::move(path); }
    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::string path_;
};

// A name that no other writer picks at the same time: pid, clock and attempt, mixed.
std::string randomSuffix(unsigned attempt) {
    std::uint64_t x =
        static_cast<std::uint64_t>(::getpid()) << 32 ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<std::uint64_t>(attempt) << 56);
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    x ^= x >> 31;
    std::string suffix(suffixLength, 'X');
    for (char& c : suffix) {
        c = suffixLetters[x % suffixLetters.size()];
        x /= suffixLetters.size();
    }
    suffix.append(temporaryEnding);
    return suffix;
}

bool isTemporaryOf(std::string_view entry, std::string_view prefix) {
    if (!entry.starts_with(prefix) || !entry.ends_with(temporaryEnding) ||
        entry.size() != prefix.size() + suffixLength + temporaryEnding.size()) {
        return false;
    }
    const std::string_view suffix = entry.substr(prefix.size(), suffixLength);
    return suffix.find_first_not_of(suffixLetters) == std::string_view::npos;
}

// Gives a new name beside `path` to something: `make` is called with candidate names
// until one is free; it returns 0 or -1 with errno set (EEXIST: try the next name).
template <typename Make>
bool nameTemporary(const std::string& path, Make make, TemporaryName& out) {
    const std::string prefix = std::string(folderOf(path)) + temporaryPrefix(path);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = prefix + randomSuffix(attempt);
        if (make(candidate) == 0) {
            out.take(std::move(candidate));
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

void syncFolderOf(const std::string& path) {
    const Descriptor dir(
        ::open(openableFolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

// CannotKeepAll: the new file could not get the old one's owner, group or extended
// attributes.
enum class Outcome { Done, Failed, Unsupported, CannotKeepAll };

// Opens the temporary file: unnamed where the file system can, or under a new name.
int openTemporary(const std::string& path, mode_t mode, bool unnamed, TemporaryName& name) {
    if (unnamed) {
#ifdef O_TMPFILE
        return ::open(openableFolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
#else
        return -1;
#endif
    }
    // Between its creation and its flock, another writer's clean-up may take a named file
    // for a dead writer's; the rename then fails and so does this write, with no harm done.
    int fd = -1;
    const auto create = [&](const std::string& candidate) {
        fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        return fd >= 0 ? 0 : -1;
    };
    return nameTemporary(path, create, name) ? fd : -1;
}

// Gives the unnamed temporary file `fd` a name beside `path`.
bool linkTemporary(int fd, const std::string& path, TemporaryName& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const auto link = [&](const std::string& candidate) {
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, candidate.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return 0;
        }
        if (errno == EEXIST) {
            return -1;
        }
        // Without /proc, AT_EMPTY_PATH still serves a writer that is allowed to use it.
        return ::linkat(fd, "", AT_FDCWD, candidate.c_str(), AT_EMPTY_PATH);
    };
    return nameTemporary(path, link, name);
}

// Gives the new file `fd` the owner and group of the old one. Only root may give a file
// away; a user may set the group to any of their own. False when either stays different.
bool takeOwnerOf(int fd, const struct stat& old) {
    struct stat now {};
    if (::fstat(fd, &now) != 0) {
        return false;
    }
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        const uid_t owner = now.st_uid == old.st_uid ? static_cast<uid_t>(-1) : old.st_uid;
        if (::fchown(fd, owner, old.st_gid) != 0 || ::fstat(fd, &now) != 0) {
            return false;
        }
    }
    return now.st_uid == old.st_uid && now.st_gid == old.st_gid;
}

Outcome replaceThroughTemporary(const FileToUpdate& file, std::string_view bytes, bool unnamed) {
    const mode_t mode = file.exists ? (file.status.st_mode & 07777) : 0666;
    TemporaryName name;
    Descriptor fd(
        openTemporary(file.path, file.exists ? (mode & 0777) | 0600 : mode, unnamed, name));
    if (!fd.valid()) {
        return unnamed ? Outcome::Unsupported : Outcome::Failed;
    }
    // The sign that this temporary file is in use, held until the last descriptor of it
    // closes, which for a killed writer its kernel does. A second descriptor keeps it past
    // the checked close of the first, until the temporary name is gone.
    ::flock(fd.get(), LOCK_EX | LOCK_NB);
    const Descriptor lock(::dup(fd.get()));
    if (file.exists) {
        // The owner first, then the attributes: changing the owner may clear the set-id
        // bits, and setting an ACL may change the mode; fchmod then restores both.
        if (!takeOwnerOf(fd.get(), file.status) || !copyAttributes(file.path, fd.get())) {
            return Outcome::CannotKeepAll;
        }
        if (::fchmod(fd.get(), mode) != 0) {
            return Outcome::Failed;
        }
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        return Outcome::Failed;
    }
    if (unnamed && !linkTemporary(fd.get(), file.path, name)) {
        return Outcome::Unsupported;
    }
    if (!fd.close() || ::rename(name.path().c_str(), file.path.c_str()) != 0) {
        return Outcome::Failed;
    }
    name.keep();
    syncFolderOf(file.path);
    return Outcome::Done;
}

// Makes sure that the new content `bytes` can be written over the file `fd` of `oldSize`
// bytes without running out of space, changing no byte of the file: the blocks are
// allocated beyond its end where the file system can; elsewhere the new bytes past the
// old end are written first, which changes only the size. A file system that allocates
// anew for every write (copy on write) may still fail a later write; the caller puts the
// old bytes back then.
bool reserveSpace(int fd, off_t oldSize, std::string_view bytes) {
    const auto size = static_cast<off_t>(bytes.size());
    if (size == 0) {
        return true;
    }
    int result = -1;
    errno = EOPNOTSUPP;
#ifdef FALLOC_FL_KEEP_SIZE
    do {
        result = ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, size);
    } while (result != 0 && errno == EINTR);
#endif
    if (result == 0) {
        return true;
    }
    if (errno != EOPNOTSUPP && errno != ENOSYS) {
        return false; // a full disk or a quota reached
    }
    return size <= oldSize ||
           writeAllAt(fd, bytes.substr(static_cast<std::size_t>(oldSize)), oldSize);
}

// Overwrites the file's bytes where it stands, all or nothing: the space is reserved
// before the first byte changes, and the old bytes and size are put back when a later
// step fails. Still not crash-safe: a crash in the middle leaves a mix of old and new
// bytes. It serves files with several hard links, which a rename would split apart, and
// files whose owner, group or extended attributes a new file could not keep.
bool rewriteInPlace(const FileToUpdate& file, std::string_view bytes) {
    Descriptor fd(::open(file.path.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || st.st_dev != file.status.st_dev ||
        st.st_ino != file.status.st_ino) {
        return false; // no longer the file that was read
    }
    // The bytes to put back: those on disk now, whatever the caller read before.
    std::string old;
    if (!readAll(fd.get(), static_cast<std::size_t>(st.st_size), old)) {
        return false;
    }
    if (!reserveSpace(fd.get(), static_cast<off_t>(old.size()), bytes)) {
        if (::ftruncate(fd.get(), static_cast<off_t>(old.size())) != 0) {
            // Nothing but the size may have changed, and that is what failed.
        }
        return false;
    }
    // The new bytes first, then the cut: a longer old file is never cut before its new
    // bytes stand.
    if (writeAllAt(fd.get(), bytes, 0) &&
        ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd.get()) == 0) {
        return fd.close();
    }
    // The old bytes back, as far as the disk lets them.
    if (writeAllAt(fd.get(), old, 0) &&
        ::ftruncate(fd.get(), static_cast<off_t>(old.size())) == 0) {
        ::fsync(fd.get());
    }
    return false;
}

} // namespace

bool replaceFile(const FileToUpdate& file, std::string_view bytes) {
    bool done = false;
    if (file.exists && file.status.st_nlink > 1) {
        done = rewriteInPlace(file, bytes);
    } else {
        Outcome outcome = replaceThroughTemporary(file, bytes, true);
        if (outcome == Outcome::Unsupported) {
            outcome = replaceThroughTemporary(file, bytes, false);
        }
        done = outcome == Outcome::Done ||
               (outcome == Outcome::CannotKeepAll && rewriteInPlace(file, bytes));
    }
    if (done) {
        removeStaleTemporaries(file.path);
    }
    return done;
}

void removeStaleTemporaries(const std::string& path) {
    const std::string folder = openableFolderOf(path);
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) {
        return;
    }
    const std::string prefix = temporaryPrefix(path);
    const int dirFd = ::dirfd(dir.get());
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(entry->d_name, prefix)) {
            continue;
        }
        const Descriptor fd(::openat(dirFd, entry->d_name,
                                     O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY));
        struct stat held {};
        struct stat named {};
        if (!fd.valid() || ::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) ||
            ::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
            continue;
        }
        // Still the same file under that name: then it is a dead writer's.
        if (::fstatat(dirFd, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
}

std::string temporaryPrefix(std::string_view path) {
    std::string prefix = ".";
    prefix.append(nameOf(path).substr(0, maxNameInTemporary));
    prefix.push_back('.');
    return prefix;
}

} // namespace profile
