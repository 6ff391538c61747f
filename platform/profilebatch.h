// Gathers the profile writes of one save into one crash-safe replace per file.
//
// While a batch is open on a thread, WritePrivateProfileStringA applies each write to an
// in-memory copy of its file (the same rules, the same refusals, in the same order) and
// GetPrivateProfileStringA reads those copies. commit() then writes every changed file
// once, as a complete new file renamed over the old one. A file that cannot be written
// at all (a missing folder, a folder or a read-only file under that name) fails its
// writes at once, as without a batch; a failure of the final replace shows in commit().
//
// Files are told apart by what they are, not by their names: writes through two names
// of one file (a symbolic or a hard link) edit one copy, and the file is written once
// with all of their keys.
#pragma once

#include "platform/profilefile.h"
#include "platform/profiletext.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

class ProfileWriteBatch {
public:
    ProfileWriteBatch();
    // Commits what is still pending.
    ~ProfileWriteBatch();
    ProfileWriteBatch(const ProfileWriteBatch&) = delete;
    ProfileWriteBatch& operator=(const ProfileWriteBatch&) = delete;

    // Writes every changed file; returns the files (as the writes named them) that could
    // not be written, each once. The batch is closed afterwards.
    std::vector<std::string> commit();
    // Closes the batch without writing anything.
    void discard();

    // The batch open on this thread, or nullptr.
    static ProfileWriteBatch* active();

    // Used by the profile functions while the batch is open.
    bool write(const char* fileName, std::string_view section, std::string_view key,
               std::string_view value);
    const std::string* contents(const char* fileName) const;

private:
    struct Pending {
        std::string name;    // the name of its first write
        bool usable = false; // the file could be prepared for writing
        profile::FileToUpdate file;
        profile::FileIdentity identity;
        profile::Encoding encoding = profile::Encoding::Bytes;
        std::string original; // the text as read
        std::string text;     // the text with the writes so far
    };

    const Pending* find(const char* fileName) const;

    std::vector<Pending> m_files;                // in the order of their first write
    std::map<std::string, std::size_t> m_byName; // every name written so far -> m_files
    ProfileWriteBatch* m_outer = nullptr;
    bool m_open = true;
};
