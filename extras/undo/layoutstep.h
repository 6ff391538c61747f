// One undoable change of the layout: the placements of the elements it moved or
// resized, before and after, and the element that was being edited.
#pragma once

#include <QUndoCommand>
#include <cstdint>
#include <vector>

namespace undo {

// Position and size of an element's picture in twips, exactly as the picture holds them.
struct Placement {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Re-applying a box whose text was rounded to seven digits moves a picture by far
// less than this (twips); such a move is no change of the user's.
inline constexpr double kTolerance = 0.01;

// Whether two placements differ by more than the rounding of the boxes' texts.
bool differs(const Placement& a, const Placement& b);

struct ElementMove {
    int index = 0;
    Placement before;
    Placement after;
};

// What a step acts on when it is undone or redone.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void place(int index, const Placement& placement) = 0;
    // Makes the element the active one; frame, name and boxes follow.
    virtual void select(int index) = 0;
};

// Which steps merge into one: the same kind, element and detail (nudge mode or
// coordinate box) within the same run of edits and, for typing, the same stay
// of the focus in the box.
struct StepKey {
    enum class Kind { Pointer, Nudge, Typing };
    Kind kind = Kind::Pointer;
    int element = 0;
    std::uintptr_t detail = 0;
    std::uint64_t run = 0;
    std::uint64_t focusStay = 0;
    friend bool operator==(const StepKey&, const StepKey&) = default;
};

class LayoutStep : public QUndoCommand {
public:
    LayoutStep(Canvas& canvas, const StepKey& key, std::vector<ElementMove> moves);

    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

    const std::vector<ElementMove>& moves() const { return m_moves; }

private:
    Canvas& m_canvas;
    StepKey m_key;
    std::vector<ElementMove> m_moves;
    bool m_done = true; // the change is on the canvas already when the step is pushed
};

} // namespace undo
