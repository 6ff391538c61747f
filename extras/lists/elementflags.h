// What the editor alone knows about each element: hidden (not drawn, cannot be hit)
// and locked (drawn, but the mouse passes through it and never moves it). Neither is
// ever written to the layout files; a new folder starts with none.
#pragma once

#include <QObject>
#include <bitset>

namespace lists {

class ElementFlags : public QObject {
    Q_OBJECT

public:
    static constexpr int kCount = 25;

    bool hidden(int index) const { return valid(index) && m_hidden[std::size_t(index)]; }
    bool locked(int index) const { return valid(index) && m_locked[std::size_t(index)]; }
    void setHidden(int index, bool on);
    void setLocked(int index, bool on);
    // Every element shown and free again.
    void clear();

signals:
    // The flags of this element changed; -1 for all of them.
    void changed(int index);

private:
    static bool valid(int index) { return index >= 0 && index < kCount; }

    std::bitset<kCount> m_hidden;
    std::bitset<kCount> m_locked;
};

} // namespace lists
