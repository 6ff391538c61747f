// Waiting for a file that another program is still writing. A change is acted on only
// once the file has stayed the same for kSettleMs; a file that is empty or shorter than
// before may be half written (cut first, then filled) and waits twice as long.
#pragma once

#include <QDeadlineTimer>
#include <QString>
#include <optional>
#include <string>

namespace filesync {

inline constexpr int kSettleMs = 500;
// The longest a save waits for files that keep changing.
inline constexpr int kMaxSaveWaitMs = 3000;

// Whether a text may be a file caught in the middle of being rewritten: empty (or gone),
// or shorter than the text before.
bool mayBeUnfinished(const std::optional<std::string>& text,
                     const std::optional<std::string>& before);

// How long a text has to stay the same before it counts as complete.
int settleTimeFor(const std::optional<std::string>& text, const std::optional<std::string>& before);

// What a text has to be to count as final: unchanged for its settle time, or also
// complete as compared with the text before (see completeness.h).
enum class Settled { Quiet, QuietAndComplete };

// The file's text once it has stopped changing. When it differs from `before`, reads it
// again and again (with a busy cursor) until it has stayed the same for its settle time
// since its last change: seen here, its modification time, or lastChangeMs (ms since the
// epoch, 0 for none), whichever is latest; with QuietAndComplete, also until it no longer
// looks incomplete. Gives up at the deadline with the last text read.
std::optional<std::string> settledText(const QString& path,
                                       const std::optional<std::string>& before,
                                       qint64 lastChangeMs, const QDeadlineTimer& deadline,
                                       Settled until = Settled::Quiet);

} // namespace filesync
