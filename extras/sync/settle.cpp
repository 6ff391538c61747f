#include "extras/sync/settle.h"

#include "extras/sync/completeness.h"
#include "extras/sync/layoutfile.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace filesync {

namespace {

constexpr int kPollMs = 20;
// A modification time further ahead than this is the clock of another machine.
constexpr qint64 kClockSkewMs = 1000;

// Shows the busy cursor while it lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

// The file's modification time in ms since the epoch, or 0 when it is unknown or lies
// in the future.
qint64 modifiedMs(const QString& path, qint64 now) {
    const QFileInfo info(path);
    if (!info.exists())
        return 0;
    const qint64 modified = info.lastModified().toMSecsSinceEpoch();
    return modified > now + kClockSkewMs ? 0 : modified;
}

} // namespace

bool mayBeUnfinished(const std::optional<std::string>& text,
                     const std::optional<std::string>& before) {
    return !text || text->empty() || (before && text->size() < before->size());
}

int settleTimeFor(const std::optional<std::string>& text,
                  const std::optional<std::string>& before) {
    return mayBeUnfinished(text, before) ? 2 * kSettleMs : kSettleMs;
}

std::optional<std::string> settledText(const QString& path,
                                       const std::optional<std::string>& before,
                                       qint64 lastChangeMs, const QDeadlineTimer& deadline,
                                       Settled until) {
    std::optional<std::string> text = readLayoutText(path);
    if (text == before)
        return text;
    const auto incomplete = [&] {
        return until == Settled::QuietAndComplete && looksIncomplete(text, before);
    };
    bool waitForRest = incomplete();
    std::optional<BusyCursor> busy;
    qint64 lastChange = lastChangeMs;
    for (;;) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        lastChange = std::max(lastChange, modifiedMs(path, now));
        if ((now - lastChange >= settleTimeFor(text, before) && !waitForRest) ||
            deadline.hasExpired())
            return text;
        if (!busy)
            busy.emplace();
        QThread::msleep(kPollMs);
        std::optional<std::string> again = readLayoutText(path);
        if (again != text) {
            text = std::move(again);
            lastChange = QDateTime::currentMSecsSinceEpoch();
            if (text == before)
                return text; // back as it was: nothing to wait for
            waitForRest = incomplete();
        }
    }
}

} // namespace filesync
