// File access for the profile functions: reading a file in one go, and finding the file
// that a write through a name is to change (see profilereplace.h for the write itself).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace profile {

// The largest file the profile functions read: far beyond any profile file, and small
// enough that a huge or endless file never fills the memory.
inline constexpr std::size_t kMaxFileBytes = std::size_t(64) << 20;

// Reads a whole regular file. Nothing for a file that is missing, unreadable, larger than
// kMaxFileBytes or no regular file (a folder, a pipe, a device), so that a read never
// blocks and never takes more than that much memory.
std::optional<std::string> readWholeFile(const char* path);

// A file about to be rewritten: where its bytes really live and what they are now.
struct FileToUpdate {
    std::string path; // the file itself, symbolic links followed
    bool exists = false;
    struct stat status {};
    std::string bytes;
};

// Prepares the update of `path`. Nothing when the file cannot be rewritten: a folder or
// other non-regular file, a file without write permission (also none of its write bits
// set, which even root respects here), an unreadable file, or a loop of links. A missing
// file is fine: its folder is checked when the new file is made.
std::optional<FileToUpdate> prepareUpdate(const char* path);

// Which file a name reaches, whatever the name: two names of one file (symbolic or hard
// links) give equal identities. An existing file is its device and inode; a file still to
// be made is its folder's device and inode and its name there. Nothing when neither can
// be looked up.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    std::string name; // only for a file still to be made
    bool operator==(const FileIdentity&) const = default;
};
std::optional<FileIdentity> identityOf(const char* path);

} // namespace profile
