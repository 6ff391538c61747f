#include "extras/lists/elementflags.h"

namespace lists {

void ElementFlags::setHidden(int index, bool on) {
    if (!valid(index) || m_hidden[std::size_t(index)] == on)
        return;
    m_hidden[std::size_t(index)] = on;
    emit changed(index);
}

void ElementFlags::setLocked(int index, bool on) {
    if (!valid(index) || m_locked[std::size_t(index)] == on)
        return;
    m_locked[std::size_t(index)] = on;
    emit changed(index);
}

void ElementFlags::clear() {
    if (m_hidden.none() && m_locked.none())
        return;
    m_hidden.reset();
    m_locked.reset();
    emit changed(-1);
}

} // namespace lists
