#pragma once
// Work that would hold the window's thread (tenths of a second on a chart at
// the size caps), run on a thread of the pool, its result handed back on the
// window's thread unless the object that asked for it has gone by then.
// Nothing ever waits for the work: it holds only what it was given.
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

    // work() on the pool, then done(its result) here.
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
