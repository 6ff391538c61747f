// Keeps the canvas and the layout files in step with other programs that write the
// same files. For each file it keeps its base: the text last read by a load or
// written by a save. Before a save replaces a file, the file is compared with its
// base; when another program changed it, its changes are merged into the canvas
// first: a value the other program changed and the user did not is taken from the
// file, a value the user changed stays. Which values the user changed, the undo
// history knows: those that differ from the placements of the last load or save.
#pragma once

#include "app/savedfile.h"

#include <QString>
#include <QStringList>
#include <map>
#include <optional>
#include <set>
#include <string>
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
    void takeChangesFromFiles(qint64 lastChangeMs);
    // Whether a file no longer holds the text the last merge saw: another program
    // wrote it in the meantime, and a save would replace what nobody merged.
    bool changedSinceMerge() const;
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
    };

    void mergeFile(FileState& state, const QString& file, const std::string& text);
    CanvasMapping mapping() const;
    std::vector<int> elementsOf(const QString& file) const;

    frmMain& m_window;
    undo::LayoutHistory& m_history;
    std::map<QString, FileState> m_files;
};

} // namespace filesync
