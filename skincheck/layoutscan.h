// The lines of a layout file as the profile reader sees them, numbered from 1, with the
// occurrences of a section and of a key in it: where the editor's lookup finds them, and
// the later ones that it ignores.
#pragma once

#include "platform/profileparser.h"

#include <string>
#include <string_view>
#include <vector>

namespace cli {

class LayoutScan {
public:
    explicit LayoutScan(std::string bytes);
    // The lines point into the bytes: they stay where they are.
    LayoutScan(const LayoutScan&) = delete;
    LayoutScan& operator=(const LayoutScan&) = delete;

    const std::string& bytes() const { return bytes_; }
    // Line n (1 to count()).
    const profile::Line& line(int n) const { return lines_[std::size_t(n - 1)]; }
    int count() const { return int(lines_.size()); }

    // The lines of every section header with this name, in file order; the first counts.
    std::vector<int> sections(std::string_view name) const;
    // The lines of this key in the section whose header is at `sectionLine`, in order;
    // the first counts.
    std::vector<int> keys(int sectionLine, std::string_view key) const;

    // The text of line n between its '=' and its value: blanks there are leading blanks.
    bool valueHasLeadingBlanks(int n) const;

private:
    std::string bytes_;
    std::vector<profile::Line> lines_;
};

} // namespace cli
