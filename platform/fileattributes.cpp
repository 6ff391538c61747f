#include "platform/fileattributes.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <sys/types.h>
#include <sys/xattr.h>
#include <vector>

namespace profile {

namespace {

// Runs a list or get call of the xattr family, first for the size, then for the bytes; a
// value that grows in between is asked for again. Nothing on failure, with errno set.
template <typename Call> std::optional<std::string> fetch(Call call) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t size = call(nullptr, 0);
        if (size <= 0) {
            return size == 0 ? std::optional<std::string>(std::string()) : std::nullopt;
        }
        std::string bytes(static_cast<std::size_t>(size), '\0');
        const ssize_t got = call(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// The names of a list from listxattr: each ends with a NUL.
std::vector<std::string> namesIn(const std::string& list) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < list.size();) {
        const std::size_t end = std::min(list.find('\0', at), list.size());
        if (end > at) {
            names.emplace_back(list, at, end - at);
        }
        at = end + 1;
    }
    return names;
}

bool unsupported() {
    return errno == ENOTSUP || errno == ENOSYS;
}

} // namespace

bool copyAttributes(const std::string& from, int to) {
    const std::optional<std::string> list = fetch(
        [&](char* buffer, std::size_t size) { return ::llistxattr(from.c_str(), buffer, size); });
    if (!list && !unsupported()) {
        return false;
    }
    const std::vector<std::string> wanted = list ? namesIn(*list) : std::vector<std::string>();
    for (const std::string& name : wanted) {
        const std::optional<std::string> value = fetch([&](char* buffer, std::size_t size) {
            return ::lgetxattr(from.c_str(), name.c_str(), buffer, size);
        });
        if (!value) {
            if (errno == ENODATA) {
                continue; // removed in the meantime
            }
            return false;
        }
        // One that the new file got already (a security label, say) is left alone.
        const std::optional<std::string> present = fetch([&](char* buffer, std::size_t size) {
            return ::fgetxattr(to, name.c_str(), buffer, size);
        });
        if (present == value) {
            continue;
        }
        if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) {
            return false;
        }
    }
    // What the new file got and the old one lacks: an ACL the folder passes on, say.
    const std::optional<std::string> own =
        fetch([&](char* buffer, std::size_t size) { return ::flistxattr(to, buffer, size); });
    if (!own) {
        return unsupported() && wanted.empty();
    }
    for (const std::string& name : namesIn(*own)) {
        if (std::find(wanted.begin(), wanted.end(), name) == wanted.end() &&
            ::fremovexattr(to, name.c_str()) != 0) {
            return false;
        }
    }
    return true;
}

} // namespace profile
