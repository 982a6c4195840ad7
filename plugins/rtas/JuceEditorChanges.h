#pragma once
// The editor's parameter changes on their way to the host. The editor runs on the module's JUCE
// message thread, but the process and the library under it are the host thread's alone: changes
// made there wait here, in the order made, until the host thread takes them (at the process's
// next idle call). [any thread]

#include <mutex>
#include <vector>

class JuceEditorChanges
{
public:
    enum class Kind
    {
        gestureBegin,
        value,
        gestureEnd
    };

    struct Change
    {
        Kind kind;
        int parameter;
        float value; // for Kind::value
    };

    // [message thread] Adds a change; a value that follows a value of the same parameter replaces
    // it, so that a drag between two idle calls leaves one value per parameter.
    void Post (const Change& change);
    // [host thread] Takes every change posted so far, oldest first.
    std::vector<Change> Take();

private:
    std::mutex fLock;
    std::vector<Change> fChanges;
};
