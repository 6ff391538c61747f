// One undoable change of the layout: per element, the keys (x, y, width, height) it
// changed, with their values before and after, and the element that was being edited.
#pragma once

#include <QUndoCommand>
#include <array>
#include <cstdint>
#include <memory>
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

// The four keys of a placement, as bits of a set of keys.
enum Key : unsigned { Left = 1, Top = 2, Width = 4, Height = 8 };
inline constexpr std::array<std::pair<Key, double Placement::*>, 4> kKeys{{
    {Left, &Placement::left},
    {Top, &Placement::top},
    {Width, &Placement::width},
    {Height, &Placement::height},
}};

// Re-applying a box whose text was rounded to seven digits moves a picture by far
// less than this (twips); such a move is no change of the user's.
inline constexpr double kTolerance = 0.01;

// The keys in which two placements differ by more than the rounding of the boxes' texts.
unsigned changedKeys(const Placement& a, const Placement& b);
// Whether they differ in any key.
bool differs(const Placement& a, const Placement& b);

struct ElementMove {
    int index = 0;
    Placement before;
    Placement after;
    unsigned keys = 0; // the keys the step changed
};

// What the merges of other programs' changes did since a step was recorded: the keys
// they took from the files, and how far they moved an element's canvas frame (a new
// info-bar height moves the elements shown with its shift). Shared by a history and its
// steps, which leave a key taken after them as the file has it.
class MergeLedger {
public:
    static constexpr int kElements = 25;

    // How many merges there have been; a step remembers it when it is recorded.
    std::uint64_t count() const { return m_count; }
    void mergeBegins() { ++m_count; }
    // The merge under way took these keys of the element from its file.
    void take(int element, unsigned keys);
    // The element's keys that a merge took after the count `since`.
    unsigned takenSince(int element, std::uint64_t since) const;
    // How far the element's frame has moved down, in twips, since the history began.
    double frameTop(int element) const;
    void moveFrame(int element, double twips);

private:
    std::uint64_t m_count = 0;
    std::array<std::array<std::uint64_t, kKeys.size()>, kElements> m_taken{};
    std::array<double, kElements> m_frameTop{};
};

// What a step acts on when it is undone or redone.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual Placement placement(int index) const = 0;
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
    // The moves as the canvas shows them now.
    LayoutStep(Canvas& canvas, std::shared_ptr<const MergeLedger> ledger, const StepKey& key,
               std::vector<ElementMove> moves);

    int id() const override;
    bool mergeWith(const QUndoCommand* other) override;
    void undo() override;
    void redo() override;

    // Whether undoing (or redoing) it would still move anything.
    bool hasWork(bool redo) const;

private:
    // The keys of the move that are still the step's own.
    unsigned ownKeys(const ElementMove& move) const;
    // Where the element stands with the step's own keys put to one side.
    Placement target(const ElementMove& move, bool after) const;
    // Puts its own keys to one side; whether anything moved.
    bool put(bool after);

    Canvas& m_canvas;
    std::shared_ptr<const MergeLedger> m_ledger;
    std::uint64_t m_recorded; // the ledger's count when the step was recorded
    StepKey m_key;
    std::vector<ElementMove> m_moves; // tops as if no frame had moved
    bool m_done = true;               // the change is on the canvas already when the step is pushed
};

} // namespace undo
