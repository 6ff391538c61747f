// The undo history of the layout on the canvas. The editor tells it when an
// edit begins and ends; it compares the placements of all element pictures
// before and after and keeps what changed as one step, merging consecutive
// nudges and consecutive key releases in one box. What a merge takes from the
// layout files stays as the files have it: no step puts such a key back.
#pragma once

#include "extras/undo/layoutstep.h"

#include <QPointer>
#include <QUndoStack>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace ui {
class ImageControl;
class MainForm;
} // namespace ui

namespace undo {

class LayoutHistory {
public:
    explicit LayoutHistory(ui::MainForm& form);
    ~LayoutHistory();
    LayoutHistory(const LayoutHistory&) = delete;
    LayoutHistory& operator=(const LayoutHistory&) = delete;

    // An edit is about to change the layout.
    void begin();
    // The edit has ended; what it changed becomes a step (or joins the last one).
    void endPointer(int element);
    void endNudge(int element, int mode);
    void endTyping(int element, const void* box);
    // The next key release in a box starts a step of its own (the focus moved).
    void endTypingRun();

    // A new layout was loaded: the history starts afresh, at a saved state.
    void restart();
    // The layout on the canvas was saved.
    void markSaved();
    // Only these elements were saved (their file was written, another one was not).
    void markSaved(const std::vector<int>& elements);
    // The element's file now holds this placement for it (another program wrote it):
    // the element counts as changed while it stands elsewhere.
    void rebase(int element, const Placement& saved);

    // A merge of what another program wrote into the files begins: no step recorded
    // before it merges with one after it.
    void mergeBegins();
    // The merge moved the element's canvas frame down by this many twips (a new info-bar
    // height): the element goes along, and so do its saved placement and every step.
    void moveFrame(int element, double twips);
    // The merge put these keys of the element as its file has them: no step recorded
    // before puts them back.
    void takenFromFile(int element, unsigned keys);

    // Where the element stands now, and where it stood at the last load or save.
    Placement current(int element) const { return m_canvas.placement(element); }
    Placement saved(int element) const { return m_saved[std::size_t(element)]; }

    // Both return false when there is nothing to undo or redo. A step with nothing
    // left to do is passed over.
    bool undo();
    bool redo();
    // Whether every picture stands where it stood at the last load or save. The
    // stack's own clean state is not enough: passing the pointer over "from"
    // pulls its dummy along without a step of its own.
    bool isClean() const;
    const QUndoStack& stack() const { return m_stack; }

private:
    static constexpr int kElements = 25;
    using Snapshot = std::array<Placement, kElements>;

    class FormCanvas : public Canvas {
    public:
        explicit FormCanvas(ui::MainForm& form);
        Placement placement(int index) const override;
        void place(int index, const Placement& placement) override;
        void select(int index) override;

    private:
        std::array<QPointer<ui::ImageControl>, kElements> m_pictures;
    };

    Snapshot snapshot() const;
    void end(StepKey key);
    bool step(bool redo);

    FormCanvas m_canvas;
    std::shared_ptr<MergeLedger> m_ledger = std::make_shared<MergeLedger>();
    QUndoStack m_stack;
    std::optional<Snapshot> m_before;
    Snapshot m_saved{};            // the placements at the last load or save
    std::uint64_t m_run = 0;       // bumped when no step may merge with the last
    std::uint64_t m_focusStay = 0; // bumped when the focus leaves a box
};

} // namespace undo
