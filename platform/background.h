// Work done on a thread of its own, so that a call that hangs (a dead network mount) holds
// only that thread. The caller may wait for the result a short while, and otherwise take it
// later from the future (QFuture::then with a context object runs on that object's thread).
#pragma once

#include <QFuture>
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
