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
        if (differs(before[std::size_t(i)], after))
            moves.push_back({i, before[std::size_t(i)], after});
    }
    if (moves.empty())
        return;
    key.run = m_run;
    m_stack.push(std::make_unique<LayoutStep>(m_canvas, key, std::move(moves)).release());
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

bool LayoutHistory::isClean() const {
    const Snapshot now = snapshot();
    for (int i = 0; i < kElements; ++i)
        if (differs(now[std::size_t(i)], m_saved[std::size_t(i)]))
            return false;
    return true;
}

bool LayoutHistory::undo() {
    if (!m_stack.canUndo())
        return false;
    m_before.reset();
    ++m_run; // what comes next does not merge into a step that was undone
    m_stack.undo();
    return true;
}

bool LayoutHistory::redo() {
    if (!m_stack.canRedo())
        return false;
    m_before.reset();
    ++m_run;
    m_stack.redo();
    return true;
}

} // namespace undo
