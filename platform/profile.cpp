#include "platform/profile.h"

#include "platform/profilebatch.h"
#include "platform/profileedit.h"
#include "platform/profilefile.h"
#include "platform/profileparser.h"

#include <algorithm>
#include <optional>
#include <string>

namespace {

// Copies the text up to its first NUL, cut to the buffer, and ends it with a NUL.
DWORD copyOut(std::string_view text, LPSTR buffer, DWORD size) {
    text = text.substr(0, text.find('\0'));
    const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
    std::copy_n(text.data(), n, buffer);
    buffer[n] = '\0';
    return static_cast<DWORD>(n);
}

} // namespace

DWORD GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault,
                               LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName) {
    if (lpReturnedString == nullptr || nSize == 0) {
        return 0;
    }
    if (lpAppName == nullptr || lpKeyName == nullptr || lpFileName == nullptr) {
        return copyOut({}, lpReturnedString, nSize);
    }
    // An open batch holds the newest bytes of the files it writes.
    const ProfileWriteBatch* batch = ProfileWriteBatch::active();
    const std::string* pending = batch != nullptr ? batch->contents(lpFileName) : nullptr;
    const std::optional<std::string> text = pending != nullptr
                                                ? std::optional<std::string>(*pending)
                                                : profile::readWholeFile(lpFileName);
    if (text) {
        const profile::KeyLocation at =
            profile::findKey(*text, profile::trimBlanks(lpAppName), profile::trimBlanks(lpKeyName));
        if (at.keyFound) {
            return copyOut(profile::unquote(at.key.value), lpReturnedString, nSize);
        }
    }
    return copyOut(profile::trimTrailingBlanks(lpDefault != nullptr ? lpDefault : ""),
                   lpReturnedString, nSize);
}

BOOL WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString,
                                LPCSTR lpFileName) {
    if (lpAppName == nullptr || lpKeyName == nullptr || lpString == nullptr ||
        lpFileName == nullptr) {
        return FALSE;
    }
    const std::string_view section = profile::trimBlanks(lpAppName);
    const std::string_view key = profile::trimBlanks(lpKeyName);
    const std::string_view value = profile::trimLeadingBlanks(lpString);
    if (!profile::canWrite(section, key, value)) {
        return FALSE;
    }
    if (ProfileWriteBatch* batch = ProfileWriteBatch::active()) {
        return batch->write(lpFileName, section, key, value) ? TRUE : FALSE;
    }
    const std::optional<profile::FileToUpdate> file = profile::prepareUpdate(lpFileName);
    if (!file) {
        return FALSE;
    }
    const std::string updated = profile::withValue(file->bytes, section, key, value);
    if (file->exists && updated == file->bytes) {
        return TRUE; // nothing to change
    }
    return profile::replaceFile(*file, updated) ? TRUE : FALSE;
}
