#include "platform/profilefile.h"

#include "platform/posixfile.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace profile {

namespace {

constexpr int maxLinks = 40;

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

} // namespace

std::optional<std::string> readWholeFile(const char* path) {
    // O_NONBLOCK: opening a pipe must not wait for a writer.
    const Descriptor fd(::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (!fd.valid()) {
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<std::uintmax_t>(st.st_size) > kMaxFileBytes) {
        return std::nullopt;
    }
    std::string bytes;
    // A file that grows while it is read stops at the limit as well.
    if (!readAll(fd.get(), static_cast<std::size_t>(st.st_size), bytes, kMaxFileBytes)) {
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

} // namespace profile
