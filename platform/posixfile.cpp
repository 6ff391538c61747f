#include "platform/posixfile.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace profile {

Descriptor::~Descriptor() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool Descriptor::close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
}

std::string_view folderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash + 1);
}

std::string_view nameOf(std::string_view path) {
    return path.substr(folderOf(path).size());
}

std::string openableFolderOf(std::string_view path) {
    const std::string_view folder = folderOf(path);
    return folder.empty() ? std::string(".") : std::string(folder);
}

bool readAll(int fd, std::size_t sizeHint, std::string& out, std::size_t limit) {
    // One byte more than the size told, so that the first read can already see the end.
    out.resize(std::min(sizeHint, limit) + 1);
    std::size_t used = 0;
    for (;;) {
        if (used == out.size()) {
            if (used > limit) {
                out.clear();
                return false;
            }
            out.resize(std::min(out.size() * 2, limit + 1));
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
        used += static_cast<std::size_t>(n);
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

bool writeAllAt(int fd, std::string_view bytes, off_t offset) {
    while (!bytes.empty()) {
        const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
        offset += n;
    }
    return true;
}

} // namespace profile
