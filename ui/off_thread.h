#pragma once
// Work that would hold the window's thread, run on a thread of the pool, its
// result handed back on the window's thread unless the asker has gone by then.
#include <QMetaObject>
#include <QObject>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <mutex>

namespace vantrel::ui {

class OffThread : public QObject {
public:
    explicit OffThread(QObject* parent) : QObject(parent), guard_(std::make_shared<Guard>()) { guard_->owner = this; }
    ~OffThread() override {
        std::lock_guard lock(guard_->mutex);
        guard_->owner = nullptr;
    }

    // work() on the pool, then done(its result) here. Nothing ever waits for
    // the work, so it must hold only what it was given.
    template <class Result>
    void Run(std::function<Result()> work, std::function<void(Result)> done) {
        auto task = [guard = guard_, work = std::move(work), done = std::move(done)]() mutable {
            auto result = std::make_shared<Result>(work());
            std::lock_guard lock(guard->mutex);
            // Posted while the asker is known to live; Qt drops it if the asker goes before delivery.
            if (guard->owner)
                QMetaObject::invokeMethod(
                    guard->owner, [result, done = std::move(done)] { done(std::move(*result)); }, Qt::QueuedConnection);
        };
        QThreadPool::globalInstance()->start(std::move(task));
    }

private:
    struct Guard {
        std::mutex mutex;
        OffThread* owner = nullptr;  // null once gone
    };
    std::shared_ptr<Guard> guard_;
};

}  // namespace vantrel::ui
