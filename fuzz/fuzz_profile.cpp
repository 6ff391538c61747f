// Feeds arbitrary profile files, names and values to the profile functions and checks what
// must hold for any input: the lines cover the bytes exactly, a read fits its buffer, a
// write is accepted exactly when its names and value are writable, the written value reads
// back, other keys keep their values, and a refused write leaves the file alone. Files go
// in as they come, or widened to UTF-16 (either byte order) with a byte-order mark; a
// UTF-16 file converts back to its own bytes, and a write keeps its encoding.
#include "platform/profile.h"
#include "platform/profileedit.h"
#include "platform/profileparser.h"
#include "platform/profiletext.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s\n", what);
        std::abort();
    }
}

// The scratch file, in memory-backed storage where there is some (every write syncs it),
// removed with its folder when the fuzzer ends.
class ScratchFile {
public:
    ScratchFile()
        : folder_(access("/dev/shm", W_OK) == 0 ? "/dev/shm/fuzz_profile.XXXXXX"
                                                : "/tmp/fuzz_profile.XXXXXX") {
        check(mkdtemp(folder_.data()) != nullptr, "scratch folder");
        path_ = folder_ + "/layout.ini";
    }
    ~ScratchFile() {
        unlink(path_.c_str());
        rmdir(folder_.c_str());
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    const std::string& path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

const std::string& scratchFile() {
    static const ScratchFile scratch;
    return scratch.path();
}

void putFile(const std::string& path, std::string_view bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    check(f != nullptr, "open scratch file");
    check(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size(), "write scratch file");
    check(std::fclose(f) == 0, "close scratch file");
}

std::string getFile(const std::string& path) {
    std::string bytes;
    FILE* f = std::fopen(path.c_str(), "rb");
    check(f != nullptr, "reopen scratch file");
    char chunk[4096];
    for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) {
        bytes.append(chunk, n);
    }
    std::fclose(f);
    return bytes;
}

// Every line starts where the previous one ended, its parts lie inside it, and together
// the lines cover the bytes after the byte-order mark.
std::size_t checkLines(std::string_view text) {
    profile::LineReader reader(text);
    profile::Line line;
    std::size_t at = profile::bomLength(text);
    std::size_t count = 0;
    const auto inside = [&](std::string_view part) {
        return part.empty() || (part.data() >= text.data() + line.begin &&
                                part.data() + part.size() <= text.data() + line.end);
    };
    while (reader.next(line)) {
        check(line.begin == at && line.begin <= line.end && line.end <= line.next, "line offsets");
        check(line.next - line.end <= 2 && (line.next > line.end || line.next == text.size()),
              "line ending");
        check(inside(line.name) && inside(line.value), "parts inside their line");
        at = line.next;
        ++count;
    }
    check(at == text.size(), "lines cover the bytes");
    return count;
}

struct Pair {
    std::string section;
    std::string key;
};

// Up to `max` section and key names as the file spells them.
std::vector<Pair> pairsOf(std::string_view text, std::size_t max) {
    std::vector<Pair> pairs;
    profile::LineReader reader(text);
    profile::Line line;
    std::string_view section;
    while (pairs.size() < max && reader.next(line)) {
        if (line.kind == profile::LineKind::Section) {
            section = line.name;
        } else if (line.kind == profile::LineKind::Key && section.data() != nullptr) {
            pairs.push_back({std::string(section), std::string(line.name)});
        }
    }
    return pairs;
}

std::string_view valueOf(std::string_view text, const Pair& pair) {
    const profile::KeyLocation at = profile::findKey(text, pair.section, pair.key);
    return at.keyFound ? at.key.value : std::string_view("<missing>");
}

std::string cString(std::string text) {
    text.resize(std::strlen(text.c_str()));
    return text;
}

void checkRead(const std::string& path, const std::string& section, const std::string& key,
               DWORD size) {
    // Exactly `size` bytes, so that a write past the end is caught.
    std::vector<char> buffer(size == 0 ? 1 : size, '#');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "default  ",
                                             buffer.data(), size, path.c_str());
    if (size == 0) {
        check(n == 0 && buffer[0] == '#', "size 0 leaves the buffer alone");
        return;
    }
    check(n < size && buffer[n] == '\0' && std::strlen(buffer.data()) == n, "read fits");
}

// The bytes of a file: as given, or each byte widened to a UTF-16 unit after a mark.
std::string fileOf(std::string_view bytes, int form) {
    if (form == 0) {
        return std::string(bytes);
    }
    const bool bigEndian = form == 2;
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : bytes) {
        out.push_back(bigEndian ? '\0' : c);
        out.push_back(bigEndian ? c : '\0');
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool namesFromFile = input.ConsumeBool();
    const int form = input.ConsumeIntegralInRange<int>(0, 2);
    const std::uint8_t pick = input.ConsumeIntegral<std::uint8_t>();
    const DWORD bufferSize = input.ConsumeIntegralInRange<DWORD>(0, 1100);
    std::string section = cString(input.ConsumeRandomLengthString(64));
    std::string key = cString(input.ConsumeRandomLengthString(64));
    const std::string value = cString(input.ConsumeRandomLengthString(64));
    const std::string bytes = fileOf(input.ConsumeBytesAsString(input.remaining_bytes()), form);

    // What the profile functions see of the file, and whether it can be written back.
    const std::string readable = profile::textForReading(bytes);
    const std::optional<profile::EditableText> editable = profile::textForEditing(bytes);
    if (editable) {
        check(editable->text == readable, "an exact file reads as it edits");
        check(profile::fileBytes(editable->encoding, editable->text) == bytes,
              "an exact file converts back to its bytes");
    }
    const std::string& text = readable;
    const std::size_t lineCount = checkLines(text);
    const std::vector<Pair> pairs = pairsOf(text, 64);
    if (namesFromFile && !pairs.empty()) {
        section = cString(pairs[pick % pairs.size()].section);
        key = cString(pairs[pick % pairs.size()].key);
    }

    const std::string& path = scratchFile();
    putFile(path, bytes);
    checkRead(path, section, key, bufferSize);

    const std::string_view sectionName = profile::trimBlanks(section);
    const std::string_view keyName = profile::trimBlanks(key);
    const std::string_view written = profile::trimLeadingBlanks(value);
    const bool writable =
        profile::canWrite(sectionName, keyName, written) && editable &&
        profile::fitsEncoding(editable->encoding, {sectionName, keyName, written});
    const BOOL ok =
        WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
    check((ok == TRUE) == writable, "write accepted exactly when writable");
    const std::string afterBytes = getFile(path);
    if (!ok) {
        check(afterBytes == bytes, "a refused write leaves the file");
        return 0;
    }

    const std::string after = profile::withValue(text, sectionName, keyName, written);
    check(afterBytes == profile::fileBytes(editable->encoding, after), "file as edited");
    check(profile::textForReading(afterBytes) == after, "the edit reads back");
    check(profile::withValue(after, sectionName, keyName, written) == after,
          "writing the same value again changes nothing");
    const std::size_t newLines = checkLines(after);
    check(newLines >= lineCount && newLines <= lineCount + 3, "at most three new lines");
    check(profile::bomLength(after) == profile::bomLength(text), "byte-order mark kept");
    const Pair target{std::string(sectionName), std::string(keyName)};
    check(valueOf(after, target) == profile::trimBlanks(written), "written value reads back");
    for (const Pair& other : pairs) {
        const bool same = profile::sameName(profile::trimBlanks(other.section), sectionName) &&
                          profile::sameName(other.key, keyName);
        if (!same) {
            check(valueOf(after, other) == valueOf(text, other), "other keys keep their values");
        }
    }
    checkRead(path, section, key, bufferSize);
    return 0;
}
