// A mutex that the thread holding it may take again without waiting, like a Windows mutex.
// Lock and Unlock pair up per thread; the mutex is free when every Lock has its Unlock.
#pragma once

#include <mutex>

namespace kestrune::sync
{
class RecursiveMutex
{
public:
    RecursiveMutex() = default;
    RecursiveMutex (const RecursiveMutex&) = delete;
    RecursiveMutex& operator= (const RecursiveMutex&) = delete;

    // Waits without time-out unless the calling thread holds the mutex already.
    void Lock() { mutex_.lock(); }
    void Unlock() { mutex_.unlock(); }
    bool TryLock() { return mutex_.try_lock(); }

private:
    std::recursive_mutex mutex_;
};
} // namespace kestrune::sync
