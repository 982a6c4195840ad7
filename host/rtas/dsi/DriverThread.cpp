#include "DriverThread.h"

namespace kestrune::host::rtas
{

DriverThread::~DriverThread()
{
    {
        std::lock_guard guard (lock_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void DriverThread::run (const std::function<void()>& task)
{
    std::unique_lock guard (lock_);
    if (! thread_.joinable())
        thread_ = std::thread ([this] { serve(); });
    changed_.wait (guard, [this] { return task_ == nullptr; });
    task_ = &task;
    changed_.notify_all();
    changed_.wait (guard, [this, &task] { return task_ != &task; });
}

void DriverThread::serve()
{
    std::unique_lock guard (lock_);
    for (;;)
    {
        changed_.wait (guard, [this] { return task_ != nullptr || stopping_; });
        if (task_ == nullptr)
            return;
        const std::function<void()>* task = task_;
        guard.unlock();
        (*task)();
        guard.lock();
        task_ = nullptr;
        changed_.notify_all();
    }
}

} // namespace kestrune::host::rtas
