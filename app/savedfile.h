// What a save did with one layout file, and what keeps a save from writing.
#pragma once

#include <QString>
#include <string>

struct SavedFile {
    QString path;          // as the save named it: the skin folder and the file name
    bool written = false;  // the file holds `text` now
    bool complete = false; // written, with every value the save computed
    std::string text;      // the file's text, as the profile functions read it
};

// Why a save must not write the layout files now.
struct SaveHold {
    enum class Reason {
        None,
        StillBeingWritten, // another program has not finished writing `file`
        ChangedSinceMerge, // another program wrote `file` after the save merged it
    };
    Reason reason = Reason::None;
    QString file;
};
