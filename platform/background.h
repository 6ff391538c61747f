// Work done on a thread of its own, so that a call that hangs (a dead network mount) holds
// only that thread. The caller may wait for the result a short while, and otherwise take it
// later through whenDone, on the receiver's thread.
#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

namespace platform {

template <typename T> class Background {
public:
    template <typename Work> explicit Background(Work work) : m_done(std::make_shared<Done>()) {
        QPromise<T> promise;
        m_future = promise.future();
        promise.start();
        std::thread([promise = std::move(promise), done = m_done,
                     work = std::move(work)]() mutable {
            promise.addResult(work());
            promise.finish();
            const std::lock_guard lock(done->mutex);
            done->done = true;
            done->changed.notify_all();
        }).detach();
    }

    // Waits at most this long; true when the result is there.
    bool waitFor(std::chrono::milliseconds budget) const {
        std::unique_lock lock(m_done->mutex);
        return m_done->changed.wait_for(lock, budget, [this] { return m_done->done; });
    }

    QFuture<T> future() const { return m_future; }

    // Calls use(result) on the receiver's thread once the result is there; never once the
    // receiver is gone. The watcher is the receiver's child, so it goes with it.
    template <typename Use> void whenDone(QObject& receiver, Use use) const {
        auto* watcher = new QFutureWatcher<T>(&receiver); // owned by the receiver
        QObject::connect(watcher, &QFutureWatcherBase::finished, &receiver,
                         [watcher, use = std::move(use)]() mutable {
                             use(watcher->result());
                             watcher->deleteLater();
                         });
        watcher->setFuture(m_future);
    }

private:
    struct Done {
        std::mutex mutex;
        std::condition_variable changed;
        bool done = false;
    };
    std::shared_ptr<Done> m_done;
    QFuture<T> m_future;
};

} // namespace platform
