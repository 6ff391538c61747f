#include "extras/align/selection.h"

#include <algorithm>

namespace align {

void Selection::follow(int active) {
    if (active < 0 || contains(active))
        return;
    selectOnly(active);
}

void Selection::selectOnly(int index) {
    if (m_members.size() == 1 && m_members.front() == index)
        return;
    m_members.clear();
    if (index >= 0)
        m_members.push_back(index);
    tell();
}

void Selection::add(int index) {
    if (index < 0 || contains(index))
        return;
    m_members.push_back(index);
    tell();
}

bool Selection::remove(int index) {
    if (m_members.size() < 2 || !contains(index))
        return false;
    std::erase(m_members, index);
    tell();
    return true;
}

void Selection::clear() {
    if (m_members.empty())
        return;
    m_members.clear();
    tell();
}

bool Selection::contains(int index) const {
    return std::find(m_members.begin(), m_members.end(), index) != m_members.end();
}

void Selection::tell() const {
    if (changed)
        changed();
}

} // namespace align
