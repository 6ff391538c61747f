#include "extras/undo/layouthistory.h"

#include "elements/clsImage.h"
#include "elements/programstate.h"
#include "resources/errors.h"
#include "resources/mainform.h"

#include <memory>

namespace undo {

LayoutHistory::FormCanvas::FormCanvas(ui::MainForm& form) {
    for (int i = 0; i < kElements; ++i)
        m_pictures[std::size_t(i)] = form.elementPicture(i);
}

Placement LayoutHistory::FormCanvas::placement(int index) const {
    const ui::ImageControl* picture = m_pictures[std::size_t(index)];
    if (!picture)
        return {};
    return {picture->Left(), picture->Top(), picture->Width(), picture->Height()};
}

void LayoutHistory::FormCanvas::place(int index, const Placement& p) {
    if (ui::ImageControl* picture = m_pictures[std::size_t(index)]) {
        try {
            picture->Move(p.left, p.top, p.width, p.height);
        } catch (const ui::RuntimeError&) {
            // a size the picture held before is never refused
        }
    }
}

void LayoutHistory::FormCanvas::select(int index) {
    auto& elements = programState().Elements;
    if (index < 0 || std::size_t(index) >= elements.size() || !elements[std::size_t(index)])
        return;
    try {
        elements[std::size_t(index)]->Select();
    } catch (const ui::RuntimeError&) {
    }
}

LayoutHistory::LayoutHistory(ui::MainForm& form) : m_canvas(form) {}

LayoutHistory::~LayoutHistory() = default;

LayoutHistory::Snapshot LayoutHistory::snapshot() const {
    Snapshot s;
    for (int i = 0; i < kElements; ++i)
        s[std::size_t(i)] = m_canvas.placement(i);
    return s;
}

void LayoutHistory::begin() {
    m_before = snapshot();
}

void LayoutHistory::end(StepKey key) {
    if (!m_before)
        return;
    const Snapshot before = *m_before;
    m_before.reset();
    std::vector<ElementMove> moves;
    for (int i = 0; i < kElements; ++i) {
        const Placement after = m_canvas.placement(i);
        if (const unsigned keys = changedKeys(before[std::size_t(i)], after))
            moves.push_back({i, before[std::size_t(i)], after, keys});
    }
    if (moves.empty())
        return;
    key.run = m_run;
    m_stack.push(std::make_unique<LayoutStep>(m_canvas, m_ledger, key, std::move(moves)).release());
}

void LayoutHistory::endPointer(int element) {
    end({StepKey::Kind::Pointer, element, 0, 0});
}

void LayoutHistory::endNudge(int element, int mode) {
    end({StepKey::Kind::Nudge, element, std::uintptr_t(mode), 0});
}

void LayoutHistory::endTyping(int element, const void* box) {
    end({StepKey::Kind::Typing, element, reinterpret_cast<std::uintptr_t>(box), 0, m_focusStay});
}

void LayoutHistory::endTypingRun() {
    ++m_focusStay;
}

void LayoutHistory::restart() {
    m_before.reset();
    m_stack.clear();
    ++m_run;
    m_ledger = std::make_shared<MergeLedger>();
    m_saved = snapshot();
}

void LayoutHistory::markSaved() {
    m_stack.setClean();
    m_saved = snapshot();
}

void LayoutHistory::markSaved(const std::vector<int>& elements) {
    for (int i : elements)
        if (i >= 0 && i < kElements)
            m_saved[std::size_t(i)] = m_canvas.placement(i);
}

void LayoutHistory::rebase(int element, const Placement& saved) {
    if (element >= 0 && element < kElements)
        m_saved[std::size_t(element)] = saved;
}

void LayoutHistory::mergeBegins() {
    m_ledger->mergeBegins();
}

void LayoutHistory::moveFrame(int element, double twips) {
    if (element < 0 || element >= kElements)
        return;
    const auto slot = std::size_t(element);
    Placement now = m_canvas.placement(element);
    now.top += twips;
    m_canvas.place(element, now);
    m_saved[slot].top += twips;
    if (m_before)
        (*m_before)[slot].top += twips;
    m_ledger->moveFrame(element, twips);
}

void LayoutHistory::takenFromFile(int element, unsigned keys) {
    if (element < 0 || element >= kElements)
        return;
    m_ledger->take(element, keys);
    // An edit under way counts from the file's values: they are not the user's change.
    if (m_before) {
        const Placement now = m_canvas.placement(element);
        for (const auto& [key, value] : kKeys)
            if (keys & key)
                (*m_before)[std::size_t(element)].*value = now.*value;
    }
}

bool LayoutHistory::isClean() const {
    const Snapshot now = snapshot();
    for (int i = 0; i < kElements; ++i)
        if (differs(now[std::size_t(i)], m_saved[std::size_t(i)]))
            return false;
    return true;
}

bool LayoutHistory::undo() {
    return step(false);
}

bool LayoutHistory::redo() {
    return step(true);
}

bool LayoutHistory::step(bool redo) {
    m_before.reset();
    ++m_run; // what comes next does not merge into a step that was undone or redone
    while (redo ? m_stack.canRedo() : m_stack.canUndo()) {
        const int at = redo ? m_stack.index() : m_stack.index() - 1;
        const auto* next = static_cast<const LayoutStep*>(m_stack.command(at));
        const bool work = next->hasWork(redo);
        if (redo)
            m_stack.redo();
        else
            m_stack.undo();
        if (work)
            return true;
    }
    return false;
}

} // namespace undo
