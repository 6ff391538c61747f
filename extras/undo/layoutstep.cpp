#include "extras/undo/layoutstep.h"

#include <algorithm>
#include <cmath>

namespace undo {

bool differs(const Placement& a, const Placement& b) {
    return std::abs(a.left - b.left) > kTolerance || std::abs(a.top - b.top) > kTolerance ||
           std::abs(a.width - b.width) > kTolerance || std::abs(a.height - b.height) > kTolerance;
}

LayoutStep::LayoutStep(Canvas& canvas, const StepKey& key, std::vector<ElementMove> moves)
    : m_canvas(canvas), m_key(key), m_moves(std::move(moves)) {}

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
    if (!next || !(next->m_key == m_key))
        return false;
    for (const ElementMove& move : next->m_moves) {
        auto mine = std::find_if(m_moves.begin(), m_moves.end(),
                                 [&](const ElementMove& m) { return m.index == move.index; });
        if (mine == m_moves.end())
            m_moves.push_back(move);
        else
            mine->after = move.after;
    }
    // Typed back to where it began: the step has nothing left to undo.
    setObsolete(std::none_of(m_moves.begin(), m_moves.end(),
                             [](const ElementMove& m) { return differs(m.before, m.after); }));
    return true;
}

void LayoutStep::undo() {
    for (auto move = m_moves.rbegin(); move != m_moves.rend(); ++move)
        m_canvas.place(move->index, move->before);
    m_canvas.select(m_key.element);
    m_done = false;
}

void LayoutStep::redo() {
    if (m_done)
        return;
    for (const ElementMove& move : m_moves)
        m_canvas.place(move.index, move.after);
    m_canvas.select(m_key.element);
    m_done = true;
}

} // namespace undo
