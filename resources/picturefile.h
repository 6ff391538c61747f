#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace ui {

// Reads a picture of the program's own, named by its suffix (".bmp", ".gif",
// ".png"). The format is taken from the name, not guessed from the contents:
// guessing asks every image plugin installed on the machine, which is most of
// the start-up time the pictures cost. A file that cannot be read gives a null
// pixmap.
QPixmap readPicture(const QString& path);

// An icon from pictures of the given sizes, "<stem>-<size>.png" each.
QIcon readIcon(const QString& stem, std::initializer_list<int> sizes);

} // namespace ui
