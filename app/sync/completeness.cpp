#include "app/sync/completeness.h"

#include "platform/profileparser.h"

#include <cstddef>
#include <unordered_set>

namespace filesync {

namespace {

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

// Calls `each` with every section and every key of the text, in order, until it returns
// false; false then.
template <typename Each> bool everyName(std::string_view text, Each each) {
    profile::LineReader reader(text);
    profile::Line line;
    std::string_view section;
    while (reader.next(line)) {
        if (line.kind == profile::LineKind::Section) {
            section = line.name;
            if (!each(Name{section, {}, false}))
                return false;
        } else if (line.kind == profile::LineKind::Key && !each(Name{section, line.name, true})) {
            return false;
        }
    }
    return true;
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
    std::unordered_set<Name, NameHash> names;
    everyName(text, [&](const Name& name) {
        names.insert(name);
        return true;
    });
    return !everyName(base, [&](const Name& name) { return names.contains(name); });
}

bool looksIncomplete(const std::optional<std::string>& text,
                     const std::optional<std::string>& base) {
    return text && base && looksIncomplete(std::string_view(*text), std::string_view(*base));
}

} // namespace filesync
