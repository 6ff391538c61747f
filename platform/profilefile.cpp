#include "platform/profilefile.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace profile {

namespace {

// Owns an open file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close went well (it may report a failed write).
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

// Removes a temporary file unless it has been renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    std::string path_;
};

constexpr std::size_t maxNameInTemporary = 200;
constexpr int maxLinks = 40;

std::string_view folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

std::string_view nameOf(std::string_view path) {
    return path.substr(folderOf(path).size());
}

// Follows symbolic links of the last component until it names no link (or nothing).
std::optional<std::string> followLinks(const char* path) {
    std::string current = path;
    for (int i = 0; i < maxLinks; ++i) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        for (;;) {
            const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
            if (n < 0) {
                return std::nullopt;
            }
            if (static_cast<std::size_t>(n) < target.size()) {
                target.resize(static_cast<std::size_t>(n));
                break;
            }
            target.resize(target.size() * 2);
        }
        if (target.starts_with('/')) {
            current = std::move(target);
        } else {
            current = std::string(folderOf(current)) + target;
        }
    }
    return std::nullopt;
}

bool readAll(int fd, std::size_t sizeHint, std::string& out) {
    out.resize(sizeHint + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == out.size()) {
            out.resize(out.size() * 2);
        }
        const ssize_t n = ::read(fd, out.data() + used, out.size() - used);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        if (n == 0) {
            break;
        }
        const bool shortRead = static_cast<std::size_t>(n) < out.size() - used;
        used += static_cast<std::size_t>(n);
        // A regular file gives less than asked only at its end: no need to ask again.
        if (shortRead) {
            break;
        }
    }
    out.resize(used);
    return true;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

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
    static constexpr char digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix(6, 'X');
    for (char& c : suffix) {
        c = digits[x % 62];
        x /= 62;
    }
    return suffix;
}

// Opens a new temporary file beside `path` with `mode` (less the umask).
int createTemporary(const std::string& path, mode_t mode, std::string& created) {
    const std::string prefix = std::string(folderOf(path)) + temporaryPrefix(path);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        created = prefix + randomSuffix(attempt);
        const int fd =
            ::open(created.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

void syncFolderOf(const std::string& path) {
    const std::string_view folder = folderOf(path);
    const std::string name = folder.empty() ? std::string(".") : std::string(folder);
    const Descriptor dir(::open(name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) {
        ::fsync(dir.get());
    }
}

} // namespace

std::optional<std::string> readWholeFile(const char* path) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    const Descriptor fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    if (!readAll(fd.get(), static_cast<std::size_t>(st.st_size), bytes)) {
        return std::nullopt;
    }
    return bytes;
}

std::optional<FileToUpdate> prepareUpdate(const char* path) {
    const std::string_view given(path);
    if (given.empty() || given.back() == '/') {
        return std::nullopt;
    }
    std::optional<std::string> target = followLinks(path);
    if (!target) {
        return std::nullopt;
    }
    FileToUpdate file;
    file.path = std::move(*target);
    if (::stat(file.path.c_str(), &file.status) != 0) {
        if (errno != ENOENT) {
            return std::nullopt;
        }
        return file; // a new file
    }
    file.exists = true;
    if (!S_ISREG(file.status.st_mode)) {
        return std::nullopt;
    }
    if ((file.status.st_mode & 0222) == 0 || ::access(file.path.c_str(), W_OK) != 0) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = readWholeFile(file.path.c_str());
    if (!bytes) {
        return std::nullopt;
    }
    file.bytes = std::move(*bytes);
    return file;
}

std::optional<FileIdentity> identityOf(const char* path) {
    const std::optional<std::string> target = followLinks(path);
    if (!target) {
        return std::nullopt;
    }
    struct stat st {};
    if (::stat(target->c_str(), &st) == 0) {
        return FileIdentity{st.st_dev, st.st_ino, {}};
    }
    const std::string folder(folderOf(*target));
    if (errno != ENOENT || ::stat(folder.empty() ? "." : folder.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return FileIdentity{st.st_dev, st.st_ino, std::string(nameOf(*target))};
}

namespace {

// Overwrites the file's bytes where it stands. This is not crash-safe: a crash in the
// middle leaves a mix of old and new bytes. It serves only files with several hard links,
// which a rename would split apart.
bool rewriteInPlace(const FileToUpdate& file, std::string_view bytes) {
    Descriptor fd(::open(file.path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || st.st_dev != file.status.st_dev ||
        st.st_ino != file.status.st_ino) {
        return false; // no longer the file that was read
    }
    // The new bytes first, then the cut: a longer old file is never cut before its new
    // bytes stand.
    return writeAll(fd.get(), bytes) &&
           ::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd.get()) == 0 &&
           fd.close();
}

} // namespace

bool replaceFile(const FileToUpdate& file, std::string_view bytes) {
    if (file.exists && file.status.st_nlink > 1) {
        return rewriteInPlace(file, bytes);
    }
    const mode_t mode = file.exists ? (file.status.st_mode & 07777) : 0666;
    std::string name;
    Descriptor fd(createTemporary(file.path, file.exists ? (mode & 0777) | 0600 : mode, name));
    if (!fd.valid()) {
        return false;
    }
    TemporaryFile temporary(std::move(name));
    if (file.exists) {
        // The owner first: changing it may clear the set-id bits that fchmod then restores.
        if (::fchown(fd.get(), file.status.st_uid, file.status.st_gid) != 0) {
            // Only root may give a file away; the file then belongs to the writer.
        }
        if (::fchmod(fd.get(), mode) != 0) {
            return false;
        }
    }
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0 || !fd.close()) {
        return false;
    }
    if (::rename(temporary.path().c_str(), file.path.c_str()) != 0) {
        return false;
    }
    temporary.keep();
    syncFolderOf(file.path);
    return true;
}

std::string temporaryPrefix(std::string_view path) {
    std::string prefix = ".";
    prefix.append(nameOf(path).substr(0, maxNameInTemporary));
    prefix.push_back('.');
    return prefix;
}

} // namespace profile
