// The elements selected together. The active element (the one with the
// selection frame) is always one of them; the others move, step and align
// with it.
#pragma once

#include <functional>
#include <vector>

namespace align {

class Selection {
public:
    // Brings the selection in line with the active element: when it is not
    // among the selected ones, it alone is selected from now on.
    void follow(int active);
    void selectOnly(int index);
    void add(int index);
    // Takes an element out; the last one stays selected.
    bool remove(int index);
    void clear();

    bool contains(int index) const;
    // In the order they were added.
    const std::vector<int>& members() const { return m_members; }
    std::size_t size() const { return m_members.size(); }

    std::function<void()> changed; // told after every change (may be empty)

private:
    void tell() const;
    std::vector<int> m_members;
};

} // namespace align
