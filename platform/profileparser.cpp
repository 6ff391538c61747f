#include "platform/profileparser.h"

namespace profile {

namespace {

char foldCase(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Fills in kind, name and value of a line whose text is text[line.begin, line.end).
void classify(std::string_view text, Line& line) {
    std::size_t start = line.begin;
    while (start < line.end && isBlank(text[start])) {
        ++start;
    }
    line.name = {};
    line.value = {};
    if (start == line.end) {
        line.kind = LineKind::Blank;
        return;
    }
    const std::string_view body = text.substr(start, line.end - start);
    if (body.front() == ';') {
        line.kind = LineKind::Comment;
        return;
    }
    if (body.front() == '[') {
        line.kind = LineKind::Section;
        const std::size_t close = body.find(']', 1);
        line.name = trimBlanks(
            body.substr(1, close == std::string_view::npos ? body.size() - 1 : close - 1));
        return;
    }
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) {
        line.kind = LineKind::Other;
        return;
    }
    line.kind = LineKind::Key;
    line.name = trimTrailingBlanks(body.substr(0, equals));
    line.value = trimBlanks(body.substr(equals + 1));
}

} // namespace

LineReader::LineReader(std::string_view text) : text_(text), pos_(bomLength(text)) {}

bool LineReader::next(Line& line) {
    const std::size_t size = text_.size();
    if (pos_ >= size) {
        return false;
    }
    line.begin = pos_;
    std::size_t i = pos_;
    while (i < size && text_[i] != '\n' && text_[i] != '\r') {
        ++i;
    }
    line.end = i;
    if (i < size) {
        i += (text_[i] == '\r' && i + 1 < size && text_[i + 1] == '\n') ? 2 : 1;
    }
    line.next = i;
    pos_ = i;
    classify(text_, line);
    return true;
}

std::size_t bomLength(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimLeadingBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

std::string_view trimTrailingBlanks(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && isBlank(text[n - 1])) {
        --n;
    }
    return text.substr(0, n);
}

std::string_view trimBlanks(std::string_view text) {
    return trimTrailingBlanks(trimLeadingBlanks(text));
}

std::string_view unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::string_view lineEndingOf(std::string_view text) {
    const std::size_t i = text.find_first_of("\r\n");
    if (i == std::string_view::npos) {
        return "\r\n";
    }
    if (text[i] == '\r') {
        return (i + 1 < text.size() && text[i + 1] == '\n') ? "\r\n" : "\r";
    }
    return "\n";
}

KeyLocation findKey(std::string_view text, std::string_view section, std::string_view key) {
    KeyLocation found;
    LineReader reader(text);
    Line line;
    // Skip to the first section of that name.
    while (reader.next(line)) {
        if (line.kind == LineKind::Section && sameName(line.name, section)) {
            found.sectionFound = true;
            found.lastInSection = line;
            break;
        }
    }
    if (!found.sectionFound) {
        return found;
    }
    while (reader.next(line)) {
        switch (line.kind) {
        case LineKind::Section:
            return found;
        case LineKind::Blank:
            break;
        case LineKind::Key:
            if (sameName(line.name, key)) {
                found.keyFound = true;
                found.key = line;
                return found;
            }
            found.lastInSection = line;
            break;
        case LineKind::Comment:
        case LineKind::Other:
            found.lastInSection = line;
            break;
        }
    }
    return found;
}

} // namespace profile
