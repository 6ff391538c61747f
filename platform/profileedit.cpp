#include "platform/profileedit.h"

#include "platform/profileparser.h"

namespace profile {

namespace {

bool hasLineBreak(std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

bool canWrite(std::string_view section, std::string_view key, std::string_view value) {
    if (section.empty() || key.empty()) {
        return false;
    }
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) {
        return false;
    }
    if (section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos) {
        return false;
    }
    return key.front() != '[' && key.front() != ';';
}

std::string withValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value) {
    const KeyLocation at = findKey(text, section, key);
    std::string out;
    if (at.keyFound) {
        out.reserve(text.size() + value.size() + 1);
        out.append(text.substr(0, at.key.begin));
        out.append(at.key.name);
        out.push_back('=');
        out.append(value);
        out.append(text.substr(at.key.end));
        return out;
    }

    const std::string_view eol = lineEndingOf(text);
    const std::size_t insertAt = at.sectionFound ? at.lastInSection.next : text.size();
    // The line before the insertion point: complete it when it has no ending.
    const bool needsEnding = at.sectionFound ? !at.lastInSection.hasEnding()
                                             : (text.size() > bomLength(text) &&
                                                text.back() != '\n' && text.back() != '\r');
    out.reserve(text.size() + section.size() + key.size() + value.size() + 4 + 3 * eol.size());
    out.append(text.substr(0, insertAt));
    if (needsEnding) {
        out.append(eol);
    }
    if (!at.sectionFound) {
        out.push_back('[');
        out.append(section);
        out.push_back(']');
        out.append(eol);
    }
    out.append(key);
    out.push_back('=');
    out.append(value);
    out.append(eol);
    out.append(text.substr(insertAt));
    return out;
}

} // namespace profile
