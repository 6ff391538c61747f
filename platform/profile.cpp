#include "platform/profile.h"

#include "platform/profilebatch.h"
#include "platform/profileedit.h"
#include "platform/profilefile.h"
#include "platform/profileparser.h"
#include "platform/profilereplace.h"
#include "platform/profiletext.h"

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
    std::optional<std::string> fromDisk;
    if (pending == nullptr) {
        if (std::optional<std::string> bytes = profile::readWholeFile(lpFileName)) {
            fromDisk = profile::textForReading(std::move(*bytes));
        }
    }
    const std::string* text = pending != nullptr ? pending : fromDisk ? &*fromDisk : nullptr;
    if (text != nullptr) {
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
    std::optional<profile::FileToUpdate> file = profile::prepareUpdate(lpFileName);
    if (!file) {
        return FALSE;
    }
    const std::optional<profile::EditableText> old =
        profile::textForEditing(std::move(file->bytes));
    if (!old || !profile::fitsEncoding(old->encoding, {section, key, value})) {
        return FALSE; // a file that would not read back as written
    }
    const std::string updated = profile::withValue(old->text, section, key, value);
    if (file->exists && updated == old->text) {
        profile::removeStaleTemporaries(file->path);
        return TRUE; // nothing to change
    }
    const std::optional<std::string> bytes = profile::fileBytes(old->encoding, updated);
    return bytes && profile::replaceFile(*file, *bytes) ? TRUE : FALSE;
}
