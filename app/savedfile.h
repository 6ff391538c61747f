// What a save did with one layout file.
#pragma once

#include <QString>
#include <string>

struct SavedFile {
    QString path;          // as the save named it: the skin folder and the file name
    bool written = false;  // the file holds `text` now
    bool complete = false; // written, with every value the save computed
    std::string text;      // the file's text, as the profile functions read it
};
