// A file's extended attributes, its POSIX ACL (system.posix_acl_access) among them,
// carried over to the new file that replaces it.
#pragma once

#include <string>

namespace profile {

// Gives the open file `to` every extended attribute that the file `from` has (a symbolic
// link is not followed), with the same value, and removes those that `from` lacks. False
// when one of them cannot be read, set or removed: the new file would not be the old one's
// equal. Attributes that the writer may not see (those of another privilege) are not
// seen here either. A file system without extended attributes has none to keep.
bool copyAttributes(const std::string& from, int to);

} // namespace profile
