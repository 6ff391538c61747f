#include "elements/programstate.h"

#include "elements/clsImage.h"

ProgramState::ProgramState() = default;
ProgramState::~ProgramState() = default;

void ProgramState::reset() {
    CurrentView = 0;
    bChanged = false;
    Elements.clear();
    ElementCatalogue = {};
    editObserver = nullptr;
    dragObserver = nullptr;
}

void ProgramState::notifyEdit(const EditNotice& notice) const {
    if (editObserver)
        editObserver(notice);
}

void ProgramState::adjustDrag(DragStep& step) const {
    if (dragObserver)
        dragObserver(step);
}

ProgramState& programState() {
    static ProgramState state;
    return state;
}

clsImage& elementAt(int index) {
    auto& elements = programState().Elements;
    if (index < 0)
        index = 0;
    if (std::size_t(index) >= elements.size())
        elements.resize(std::size_t(index) + 1);
    auto& slot = elements[std::size_t(index)];
    if (!slot)
        slot = std::make_unique<clsImage>();
    return *slot;
}
