#pragma once
// The card driver's own thread, on which the driver calls the plug-in's host callbacks.

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace kestrune::host::rtas
{

class DriverThread
{
public:
    DriverThread() = default;
    ~DriverThread();
    DriverThread (const DriverThread&) = delete;
    DriverThread& operator= (const DriverThread&) = delete;

    // Runs the task on the driver's thread (started on first use) and waits until it is done.
    void run (const std::function<void()>& task);

private:
    void serve();

    std::mutex lock_;
    std::condition_variable changed_;
    std::thread thread_;
    const std::function<void()>* task_ = nullptr;
    bool stopping_ = false;
};

} // namespace kestrune::host::rtas
