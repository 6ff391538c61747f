#include "extras/undo/layoutstep.h"

#include <algorithm>
#include <cmath>

namespace undo {

unsigned changedKeys(const Placement& a, const Placement& b) {
    unsigned keys = 0;
    for (const auto& [key, value] : kKeys)
        if (std::abs(a.*value - b.*value) > kTolerance)
            keys |= key;
    return keys;
}

bool differs(const Placement& a, const Placement& b) {
    return changedKeys(a, b) != 0;
}

// --- MergeLedger -----------------------------------------------------------------

void MergeLedger::take(int element, unsigned keys) {
    if (element < 0 || element >= kElements)
        return;
    for (std::size_t k = 0; k < kKeys.size(); ++k)
        if (keys & kKeys[k].first)
            m_taken[std::size_t(element)][k] = m_count;
}

unsigned MergeLedger::takenSince(int element, std::uint64_t since) const {
    if (element < 0 || element >= kElements)
        return 0;
    unsigned keys = 0;
    for (std::size_t k = 0; k < kKeys.size(); ++k)
        if (m_taken[std::size_t(element)][k] > since)
            keys |= kKeys[k].first;
    return keys;
}

double MergeLedger::frameTop(int element) const {
    return element >= 0 && element < kElements ? m_frameTop[std::size_t(element)] : 0.0;
}

void MergeLedger::moveFrame(int element, double twips) {
    if (element >= 0 && element < kElements)
        m_frameTop[std::size_t(element)] += twips;
}

// --- LayoutStep --------------------------------------------------------------------

LayoutStep::LayoutStep(Canvas& canvas, std::shared_ptr<const MergeLedger> ledger,
                       const StepKey& key, std::vector<ElementMove> moves)
    : m_canvas(canvas), m_ledger(std::move(ledger)), m_recorded(m_ledger->count()), m_key(key),
      m_moves(std::move(moves)) {
    for (ElementMove& move : m_moves) {
        const double frame = m_ledger->frameTop(move.index);
        move.before.top -= frame;
        move.after.top -= frame;
    }
}

int LayoutStep::id() const {
    switch (m_key.kind) {
    case StepKey::Kind::Nudge:
        return 1;
    case StepKey::Kind::Typing:
        return 2;
    case StepKey::Kind::Pointer:
        break;
    }
    return -1; // a drag stands alone
}

bool LayoutStep::mergeWith(const QUndoCommand* other) {
    const auto* next = dynamic_cast<const LayoutStep*>(other);
    if (!next || !(next->m_key == m_key) || next->m_recorded != m_recorded)
        return false;
    for (const ElementMove& move : next->m_moves) {
        auto mine = std::find_if(m_moves.begin(), m_moves.end(),
                                 [&](const ElementMove& m) { return m.index == move.index; });
        if (mine == m_moves.end()) {
            m_moves.push_back(move);
            continue;
        }
        for (const auto& [key, value] : kKeys) {
            if (!(move.keys & key))
                continue;
            if (!(mine->keys & key))
                mine->before.*value = move.before.*value;
            mine->after.*value = move.after.*value;
        }
        // A key typed back to where it began is no change of the step's.
        mine->keys = (mine->keys | move.keys) & changedKeys(mine->before, mine->after);
    }
    std::erase_if(m_moves, [](const ElementMove& m) { return m.keys == 0; });
    setObsolete(m_moves.empty()); // nothing left to undo
    return true;
}

unsigned LayoutStep::ownKeys(const ElementMove& move) const {
    return move.keys & ~m_ledger->takenSince(move.index, m_recorded);
}

Placement LayoutStep::target(const ElementMove& move, bool after) const {
    Placement p = m_canvas.placement(move.index);
    const Placement& side = after ? move.after : move.before;
    const unsigned keys = ownKeys(move);
    for (const auto& [key, value] : kKeys)
        if (keys & key)
            p.*value = side.*value;
    if (keys & Top)
        p.top += m_ledger->frameTop(move.index);
    return p;
}

bool LayoutStep::hasWork(bool redo) const {
    return std::any_of(m_moves.begin(), m_moves.end(), [&](const ElementMove& move) {
        return differs(target(move, redo), m_canvas.placement(move.index));
    });
}

bool LayoutStep::put(bool after) {
    bool moved = false;
    const auto one = [&](const ElementMove& move) {
        const Placement p = target(move, after);
        if (!differs(p, m_canvas.placement(move.index)))
            return;
        m_canvas.place(move.index, p);
        moved = true;
    };
    if (after)
        std::for_each(m_moves.begin(), m_moves.end(), one);
    else
        std::for_each(m_moves.rbegin(), m_moves.rend(), one);
    if (moved)
        m_canvas.select(m_key.element);
    // Every key taken from a file since: the step can never do anything again.
    setObsolete(std::none_of(m_moves.begin(), m_moves.end(),
                             [&](const ElementMove& move) { return ownKeys(move) != 0; }));
    return moved;
}

void LayoutStep::undo() {
    put(false);
    m_done = false;
}

void LayoutStep::redo() {
    if (m_done)
        return;
    put(true);
    m_done = true;
}

} // namespace undo
