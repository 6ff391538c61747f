// Small helpers over the POSIX file calls that the profile-file layer shares.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace profile {

// Owns an open file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now and reports whether the close went well (it may report a failed write).
    bool close();

private:
    int fd_;
};

// The folder part of a path with its slash ("" for a bare name), and the name after it.
std::string_view folderOf(std::string_view path);
std::string_view nameOf(std::string_view path);
// The folder of a path as a name that can be opened ("." for a bare name).
std::string openableFolderOf(std::string_view path);

// Reads until the end of the file (a short read is no end); false on a read error and
// when the file holds more than `limit` bytes.
bool readAll(int fd, std::size_t sizeHint, std::string& out,
             std::size_t limit = std::string::npos - 1);
// Writes all of `bytes`; false on a write error.
bool writeAll(int fd, std::string_view bytes);
// Writes all of `bytes` from `offset` on, whatever the descriptor's position; false on a
// write error.
bool writeAllAt(int fd, std::string_view bytes, off_t offset);

} // namespace profile
