// Replacing a profile file so that a crash at any moment leaves either its old or its new
// bytes, never a mix, and no temporary file that outlives the next write.
#pragma once

#include "platform/profilefile.h"

#include <string>
#include <string_view>

namespace profile {

// Writes `bytes` as the new content of `file`: into a temporary file beside it, flushed to
// disk, then renamed over it and the folder flushed. The new file gets the old one's
// permissions, owner and group, and its extended attributes, the ACL among them; a new
// file gets the usual permissions for new files (0666 less the umask). False, with the old file
// untouched and no temporary file left, when any step fails.
//
// The temporary file has no name while it is written where the file system allows it
// (O_TMPFILE), so that a writer killed then leaves nothing behind; it gets its name
// ".<name>.<8 letters or digits>.tmp" only for the rename. Each writer holds an flock on
// its temporary file, and every successful write removes those that no writer holds any
// more (see removeStaleTemporaries).
//
// A file with more than one hard link is rewritten in place instead: a rename would give
// only this name the new bytes and leave the other names with the old file. So is a file
// whose owner, group or extended attributes the writer cannot give a new file (another
// user's file that the writer may change through its group, say, or an attribute that only
// the system's administrator may set). Such a write still fails whole: the space is
// reserved first, and the old bytes are put back when a later step fails. Only a crash in
// the middle leaves a mix.
bool replaceFile(const FileToUpdate& file, std::string_view bytes);

// Removes the temporary files beside `path` that killed writers left: those of the naming
// above that no writer holds. Where the file system has no flock, nothing is removed.
void removeStaleTemporaries(const std::string& path);

// The prefix of the temporary files that a replace of `path` makes (".<name>.").
std::string temporaryPrefix(std::string_view path);

} // namespace profile
