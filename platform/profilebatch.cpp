#include "platform/profilebatch.h"

#include "platform/profileedit.h"

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
    auto [it, inserted] = m_files.try_emplace(fileName);
    Pending& pending = it->second;
    if (inserted) {
        m_order.emplace_back(fileName);
        auto file = profile::prepareUpdate(fileName);
        if (file && (file->exists || canCreate(file->path))) {
            pending.usable = true;
            pending.bytes = file->bytes;
            pending.file = std::move(*file);
        }
    }
    if (!pending.usable)
        return false;
    pending.bytes = profile::withValue(pending.bytes, section, key, value);
    return true;
}

const std::string* ProfileWriteBatch::contents(const char* fileName) const {
    const auto it = m_files.find(fileName);
    if (it == m_files.end() || !it->second.usable)
        return nullptr;
    return &it->second.bytes;
}

std::vector<std::string> ProfileWriteBatch::commit() {
    std::vector<std::string> failed;
    if (!m_open)
        return failed;
    m_open = false;
    if (t_active == this)
        t_active = m_outer;
    for (const std::string& name : m_order) {
        const Pending& pending = m_files.at(name);
        if (!pending.usable) {
            failed.push_back(name);
            continue;
        }
        // A file whose bytes end as they began is left alone (a new file is always made).
        const bool changed = !pending.file.exists || pending.bytes != pending.file.bytes;
        if (changed && !profile::replaceFile(pending.file, pending.bytes))
            failed.push_back(name);
    }
    return failed;
}
