#include "skincheck/layoutscan.h"

namespace cli {

LayoutScan::LayoutScan(std::string bytes) : bytes_(std::move(bytes)) {
    profile::LineReader reader(bytes_);
    profile::Line line;
    while (reader.next(line))
        lines_.push_back(line);
}

std::vector<int> LayoutScan::sections(std::string_view name) const {
    std::vector<int> found;
    for (int n = 1; n <= count(); ++n)
        if (line(n).kind == profile::LineKind::Section && profile::sameName(line(n).name, name))
            found.push_back(n);
    return found;
}

std::vector<int> LayoutScan::keys(int sectionLine, std::string_view key) const {
    std::vector<int> found;
    for (int n = sectionLine + 1; n <= count() && line(n).kind != profile::LineKind::Section; ++n)
        if (line(n).kind == profile::LineKind::Key && profile::sameName(line(n).name, key))
            found.push_back(n);
    return found;
}

bool LayoutScan::valueHasLeadingBlanks(int n) const {
    const profile::Line& l = line(n);
    const std::string_view text = std::string_view(bytes_).substr(l.begin, l.end - l.begin);
    const std::size_t equals = text.find('=');
    return !l.value.empty() && equals + 1 < text.size() && profile::isBlank(text[equals + 1]);
}

} // namespace cli
