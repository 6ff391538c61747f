// The program-wide state that the main window and the element objects share:
// the element catalogue, the current view, the changed flag and the elements.
#pragma once

#include "elements/draghook.h"
#include "elements/editnotice.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class clsImage;

inline constexpr int kElementCount = 25;

struct ElementCatalogueEntry {
    QString iniFile;               // layout file name, without folder
    QString iniName;               // element name and section name
    bool bDepend = false;          // shifted by the info bar
    std::array<bool, 3> bInView{}; // shown in view 0, 1, 2
};

struct ProgramState {
    ProgramState();
    ~ProgramState();
    ProgramState(const ProgramState&) = delete;
    ProgramState& operator=(const ProgramState&) = delete;

    std::int16_t CurrentView = 0; // 0, 1, 2: "Kartenansicht 1" to "Kartenansicht 3"
    bool bChanged = false;        // the layout changed since the last load or save
    std::vector<std::unique_ptr<clsImage>> Elements; // empty until the first load
    std::array<ElementCatalogueEntry, kElementCount> ElementCatalogue;
    // Told by the element objects when an edit begins and ends (may be empty).
    std::function<void(const EditNotice&)> editObserver;
    // Sees each drag step with the left button before the element applies it (may be empty).
    std::function<void(DragStep&)> dragObserver;

    // Passes a notice on to the observer, if there is one.
    void notifyEdit(const EditNotice& notice) const;
    // Lets the drag observer, if there is one, adjust a drag step.
    void adjustDrag(DragStep& step) const;

    // Back to the state at program start (used when a main window goes away, and by tests).
    void reset();
};

// The one instance of the program.
ProgramState& programState();

// The element object in slot i, created empty when the slot has none.
clsImage& elementAt(int index);
