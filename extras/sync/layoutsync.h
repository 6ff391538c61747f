// Keeps the canvas and the layout files in step with other programs that write the
// same files. For each file it keeps its base: the text last read by a load or
// written by a save. Before a save replaces a file, the file is compared with its
// base; when another program changed it, its changes are merged into the canvas
// first: a value the other program changed and the user did not is taken from the
// file, a value the user changed stays. Which values the user changed, the undo
// history knows: those that differ from the placements of the last load or save.
#pragma once

#include "app/savedfile.h"
#include "app/skinlayout.h"
#include "extras/sync/settle.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

class frmMain;
namespace undo {
class LayoutHistory;
}

namespace filesync {

struct CanvasMapping;

class LayoutSync {
public:
    LayoutSync(frmMain& window, undo::LayoutHistory& history);

    // A load is about to read the layout files: their texts become the bases.
    void onLoadBegins();
    // Merges what other programs changed in the files into the canvas (before a save, and
    // when the user keeps the own edits after a change elsewhere). Waits first (bounded,
    // with a busy cursor) for files that are still being written. lastChangeMs: when a
    // change of the files was last noticed (ms since the epoch, 0: never).
    //
    // Before a save it waits until each file is complete too, and a file that still looks
    // incomplete when the wait ends is not merged: the save must not replace it. Otherwise
    // (the user has already waited for the question) an incomplete file is merged as far as
    // it goes: a key it lacks counts as unchanged, never as moved to its default.
    void takeChangesFromFiles(qint64 lastChangeMs, Settled until);
    // What keeps a save from writing the files now: a file that looked incomplete at the
    // last merge, or one that no longer holds the text the merge saw (another program
    // wrote it in the meantime, and a save would replace what nobody merged).
    SaveHold holdBeforeWrite() const;
    // Takes as its base each file that another program changed without moving anything
    // the canvas shows from it (comments, other keys, line endings, the same values
    // written otherwise). Returns whether a file holds changes that do move elements.
    bool takeChangesThatMoveNothing();
    // A save wrote these files: their texts become the bases and their elements count as
    // saved. Gives the names of the elements whose change by another program the save
    // replaced with the user's values.
    QStringList onFilesWritten(const std::vector<SavedFile>& files);

    // Whether the last save failed to write a file completely: it may hold other values
    // than the canvas until a save writes it.
    bool anyFileUnsaved() const;

    // The layout files of the loaded skin with their bases (nothing: missing file).
    std::map<QString, std::optional<std::string>> bases() const;

private:
    struct FileState {
        std::optional<std::string> base;
        std::set<int> conflicts;           // changed by both, not written yet
        bool unsaved = false;              // the last save could not write every value into it
        std::optional<std::string> merged; // the text the last merge saw
        bool stillWritten = false;         // it looked incomplete then, and was not merged
    };

    void mergeFile(FileState& state, const QString& file, const std::string& text);
    // Gives every element the info bar's height from the text of its file and moves the
    // shifted elements' frames accordingly; whether one moved.
    bool takeInfoBarHeight(const QString& file, const skinlayout::KeyReader& read,
                           const CanvasMapping& before);
    bool movesNothing(const QString& file, const std::string& text) const;
    // How the canvas maps the files' values, with the info bar's height of the last read
    // or the one given.
    CanvasMapping mapping(std::optional<std::int32_t> infoBarHeight = std::nullopt) const;
    // The info bar's height in the text, when the file is the info bar's.
    std::optional<std::int32_t> infoBarHeightIn(const QString& file, std::string_view text) const;
    std::optional<std::int32_t> infoBarHeightIn(const QString& file,
                                                const skinlayout::KeyReader& read) const;
    std::vector<int> elementsOf(const QString& file) const;

    frmMain& m_window;
    undo::LayoutHistory& m_history;
    std::map<QString, FileState> m_files;
};

} // namespace filesync
