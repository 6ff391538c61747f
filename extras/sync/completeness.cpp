#include "extras/sync/completeness.h"

#include "platform/profileparser.h"

#include <cstddef>
#include <unordered_set>

namespace filesync {

namespace {

// Names out of the base's order that are found by walking the text once more each.
constexpr int kMaxOutOfOrder = 8;

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// A section (key empty) or a key of a section, as views into the text.
struct Name {
    std::string_view section;
    std::string_view key;
    bool isKey = false;

    bool operator==(const Name& other) const {
        return isKey == other.isKey && profile::sameName(section, other.section) &&
               profile::sameName(key, other.key);
    }
};

struct NameHash {
    std::size_t operator()(const Name& name) const {
        std::size_t h = name.isKey ? 0x9E3779B9u : 0;
        for (std::string_view part : {name.section, name.key}) {
            for (const char c : part)
                h = h * 131 + std::size_t(static_cast<unsigned char>(foldCase(c)));
            h = h * 131 + 0xFF;
        }
        return h;
    }
};

// Reads the sections and keys of a text in order.
class NameReader {
public:
    explicit NameReader(std::string_view text) : m_lines(text) {}

    bool next(Name& name) {
        profile::Line line;
        while (m_lines.next(line)) {
            if (line.kind == profile::LineKind::Section) {
                m_section = line.name;
                name = Name{m_section, {}, false};
                return true;
            }
            if (line.kind == profile::LineKind::Key) {
                name = Name{m_section, line.name, true};
                return true;
            }
        }
        return false;
    }

private:
    profile::LineReader m_lines;
    std::string_view m_section;
};

// Reads on until the name; false at the end of the text.
bool readTo(NameReader& reader, const Name& wanted) {
    for (Name name; reader.next(name);)
        if (name == wanted)
            return true;
    return false;
}

// Whether the base has a name that the text lacks, in whatever order they come.
bool lacksAnyName(std::string_view text, std::string_view base) {
    std::unordered_set<Name, NameHash> names;
    NameReader inText(text);
    for (Name name; inText.next(name);)
        names.insert(name);
    NameReader inBase(base);
    for (Name name; inBase.next(name);)
        if (!names.contains(name))
            return true;
    return false;
}

bool endsLine(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

} // namespace

bool looksIncomplete(std::string_view text, std::string_view base) {
    if (text == base)
        return false;
    if (!text.empty() && endsLine(base) && !endsLine(text))
        return true;
    // Writers mostly keep the order of sections and keys: both are walked in step, past
    // what the text has more. A name that is not ahead is missing, or earlier in the text:
    // the walk goes on from there, and after a few such names a look-up takes over.
    NameReader inBase(base);
    NameReader inText(text);
    int outOfOrder = 0;
    for (Name wanted; inBase.next(wanted);) {
        if (readTo(inText, wanted))
            continue;
        NameReader again(text);
        if (!readTo(again, wanted))
            return true;
        if (++outOfOrder > kMaxOutOfOrder)
            return lacksAnyName(text, base);
        inText = again;
    }
    return false;
}

bool looksIncomplete(const std::optional<std::string>& text,
                     const std::optional<std::string>& base) {
    return text && base && looksIncomplete(std::string_view(*text), std::string_view(*base));
}

} // namespace filesync
