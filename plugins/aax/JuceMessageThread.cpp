#include "JuceMessageThread.h"

#include <juce_events/juce_events.h>

#include <exception>
#include <mutex>
#include <thread>

namespace AAXClasses
{
struct JuceMessageThread::Impl
{
    std::thread thread;
    juce::WaitableEvent started;
    juce::WaitableEvent stopPosted;
};

JuceMessageThread::JuceMessageThread() : impl_ (std::make_unique<Impl>())
{
    impl_->thread = std::thread ([this] {
        juce::initialiseJuce_GUI();
        juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
        impl_->started.signal();
        juce::MessageManager::getInstance()->runDispatchLoop();
        // The poster of the stop may still be inside the message queue: shut down only once
        // it has left.
        impl_->stopPosted.wait();
        juce::shutdownJuce_GUI();
    });
    impl_->started.wait();
}

JuceMessageThread::~JuceMessageThread()
{
    // Stopped from its own thread: stopping posts a quit message and then writes a flag of the
    // message manager, which the thread deletes as soon as it has seen that message. The thread
    // also waits until this posting has returned, since it deletes the queue we post into.
    juce::MessageManager::callAsync ([] { juce::MessageManager::getInstance()->stopDispatchLoop(); });
    impl_->stopPosted.signal();
    impl_->thread.join();
}

std::shared_ptr<JuceMessageThread> JuceMessageThread::Acquire()
{
    static std::mutex mutex;
    static std::weak_ptr<JuceMessageThread> current;
    const std::lock_guard lock (mutex);
    auto thread = current.lock();
    if (thread == nullptr)
    {
        thread = std::shared_ptr<JuceMessageThread> (new JuceMessageThread);
        current = thread;
    }
    return thread;
}

void JuceMessageThread::Run (const std::function<void()>& call)
{
    if (juce::MessageManager::getInstance()->isThisTheMessageThread())
    {
        call();
        return;
    }
    juce::WaitableEvent done;
    std::exception_ptr failure;
    juce::MessageManager::callAsync ([&] {
        try
        {
            call();
        }
        catch (...)
        {
            failure = std::current_exception();
        }
        done.signal();
    });
    done.wait();
    if (failure)
        std::rethrow_exception (failure);
}
} // namespace AAXClasses
