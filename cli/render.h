// tessel --render: the views of a skin drawn as the editor's canvas shows them, into
// PNG or BMP files, by the editor's own window without showing it.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <vector>

class QTextStream;
struct CommandLine;

namespace cli {

// The 240 x 320 canvas (its frame and the street map included) with the element
// pictures of each view (1 to 3) as a load of that view places them, without the
// selection frame; every screen pixel becomes scale x scale picture pixels. Needs an
// application object.
std::vector<QImage> renderViews(const QString& folder, const std::vector<int>& views, bool infobar,
                                int scale);

// The files a render writes: FILE itself for one view; for all three, FILE-1.png to
// FILE-3.png, with FILE's ending (".png" or ".bmp", spelt as given) moved behind the
// number.
std::vector<QByteArray> renderFiles(const QByteArray& output, const std::vector<int>& views);

// The whole command, on Qt's offscreen platform whatever the environment says, in the
// user's language. Problems go to `err`, and so do the skin's findings, as --check prints
// them (nothing for a clean skin). Returns the exit status: 0; 1 when the command is
// strict and the skin has an error (nothing is written then); 2 when nothing or not all
// could be written. A name with another ending, and a target that is no regular file or
// is a layout file of the skin, are refused before anything is written.
int runRender(int argc, char* argv[], const CommandLine& command, QTextStream& err);

} // namespace cli
