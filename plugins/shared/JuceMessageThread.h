// JUCE's message thread inside a plug-in module (either file). Linux gives a plug-in no run loop
// of the host's, so the module runs JUCE's message dispatch on a thread of its own while any
// editor of it exists; the host's window calls reach the editor through it, one at a time, in
// order.
#pragma once

#include <functional>
#include <memory>

class JuceMessageThread
{
public:
    // Starts the thread with the first holder, stops it when the last one goes. [host thread]
    static std::shared_ptr<JuceMessageThread> Acquire();
    JuceMessageThread (const JuceMessageThread&) = delete;
    JuceMessageThread& operator= (const JuceMessageThread&) = delete;
    ~JuceMessageThread();

    // Runs the call on JUCE's message thread and waits for it; exceptions come back out.
    // [any thread]
    void Run (const std::function<void()>& call);

private:
    JuceMessageThread();
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
