#include "platform/profilebatch.h"

#include "platform/profileedit.h"
#include "platform/profilereplace.h"

#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {

thread_local ProfileWriteBatch* t_active = nullptr;

// A file that does not exist yet can be made only in an existing, writable folder.
bool canCreate(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? std::string("/")
                                                          : path.substr(0, slash);
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

ProfileWriteBatch::ProfileWriteBatch() : m_outer(t_active) {
    t_active = this;
}

ProfileWriteBatch::~ProfileWriteBatch() {
    if (m_open)
        commit();
}

ProfileWriteBatch* ProfileWriteBatch::active() {
    return t_active;
}

bool ProfileWriteBatch::write(const char* fileName, std::string_view section, std::string_view key,
                              std::string_view value) {
    auto [named, inserted] = m_byName.try_emplace(fileName, m_files.size());
    if (inserted) {
        const std::optional<profile::FileIdentity> identity = profile::identityOf(fileName);
        const auto same = std::find_if(m_files.begin(), m_files.end(), [&](const Pending& p) {
            return p.usable && identity && p.identity == *identity;
        });
        if (same != m_files.end()) {
            named->second = static_cast<std::size_t>(same - m_files.begin());
        } else {
            Pending& pending = m_files.emplace_back();
            pending.name = fileName;
            auto file = profile::prepareUpdate(fileName);
            auto old = file ? profile::textForEditing(std::move(file->bytes)) : std::nullopt;
            if (identity && old && (file->exists || canCreate(file->path))) {
                pending.usable = true;
                pending.identity = *identity;
                pending.file = std::move(*file);
                pending.encoding = old->encoding;
                pending.original = old->text;
                pending.text = std::move(old->text);
            }
        }
    }
    Pending& pending = m_files[named->second];
    if (!pending.usable || !profile::fitsEncoding(pending.encoding, {section, key, value}))
        return false;
    pending.text = profile::withValue(pending.text, section, key, value);
    return true;
}

const ProfileWriteBatch::Pending* ProfileWriteBatch::find(const char* fileName) const {
    if (const auto named = m_byName.find(fileName); named != m_byName.end())
        return &m_files[named->second];
    // A name not written yet may still reach one of the files.
    const std::optional<profile::FileIdentity> identity = profile::identityOf(fileName);
    if (!identity)
        return nullptr;
    const auto same = std::find_if(m_files.begin(), m_files.end(), [&](const Pending& p) {
        return p.usable && p.identity == *identity;
    });
    return same != m_files.end() ? &*same : nullptr;
}

const std::string* ProfileWriteBatch::contents(const char* fileName) const {
    const Pending* pending = find(fileName);
    return pending != nullptr && pending->usable ? &pending->text : nullptr;
}

void ProfileWriteBatch::discard() {
    if (!m_open)
        return;
    m_open = false;
    if (t_active == this)
        t_active = m_outer;
    m_files.clear();
    m_byName.clear();
}

std::vector<std::string> ProfileWriteBatch::commit() {
    std::vector<std::string> failed;
    if (!m_open)
        return failed;
    m_open = false;
    if (t_active == this)
        t_active = m_outer;
    for (const Pending& pending : m_files) {
        if (!pending.usable) {
            failed.push_back(pending.name);
            continue;
        }
        // A file whose text ends as it began is left alone (a new file is always made).
        if (pending.file.exists && pending.text == pending.original) {
            profile::removeStaleTemporaries(pending.file.path);
            continue;
        }
        const std::optional<std::string> bytes = profile::fileBytes(pending.encoding, pending.text);
        if (!bytes || !profile::replaceFile(pending.file, *bytes))
            failed.push_back(pending.name);
    }
    return failed;
}
