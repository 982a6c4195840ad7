#pragma once
// A host for the object tracker in one test: installs a host callback that answers request 18
// with a routine record of its own, records every tracker call, and (when given a host block)
// stores it through the published-block pointer word of a data description (word 3), as the
// engine does. Restores the host callback and forgets the tracker when it goes.

#include <cstdint>
#include <cstring>
#include <vector>

#include <abi/ObjectTracker.h>

#include "entry/ObjectTracker.h"
#include "process/group/CProcessGroupInterface.h"

class FakeObjectTracker
{
public:
    struct Call
    {
        char what; // 'r' register, 'u' unregister, 'p' publish
        void* object;
        int32_t kind;
        std::vector<int32_t> words;
    };

    FakeObjectTracker() : fSavedCallback (gHostCallback)
    {
        sCurrent = this;
        gHostCallback = &HostCallback;
        ForgetObjectTracker();
    }

    ~FakeObjectTracker()
    {
        ForgetObjectTracker();
        gHostCallback = fSavedCallback;
        sCurrent = nullptr;
    }

    FakeObjectTracker (const FakeObjectTracker&) = delete;
    FakeObjectTracker& operator= (const FakeObjectTracker&) = delete;

    // How the host answers request 18: refuse with a code, or hand out no record.
    int16_t refusal = 0;
    bool handsOutNone = false;
    bool handsOutIncomplete = false; // a record without its publish routine
    int requests = 0;
    std::vector<Call> calls;
    void* hostBlock = nullptr;

    // How many calls of one sort ('r', 'u' or 'p') were made.
    int CountOf (char what) const
    {
        int count = 0;
        for (const auto& call : calls)
            count += call.what == what;
        return count;
    }

    std::vector<Call> CallsOf (void* object) const
    {
        std::vector<Call> matching;
        for (const auto& call : calls)
            if (call.object == object)
                matching.push_back (call);
        return matching;
    }

    // The words of every publication of the object, in order.
    std::vector<std::vector<int32_t>> PublicationsOf (void* object) const
    {
        std::vector<std::vector<int32_t>> words;
        for (const auto& call : CallsOf (object))
            if (call.what == 'p')
                words.push_back (call.words);
        return words;
    }

private:
    static int16_t __attribute__ ((stdcall)) HostCallback (int16_t request, ComponentRecord*, char** block)
    {
        ++sCurrent->requests;
        if (request != kHostRequestObjectTracker)
            return -1;
        if (sCurrent->refusal != 0)
            return sCurrent->refusal;
        const SObjectTrackerRoutines* handed = sCurrent->handsOutNone         ? nullptr
                                               : sCurrent->handsOutIncomplete ? &kIncompleteRoutines
                                                                              : &kRoutines;
        std::memcpy (block, &handed, sizeof handed);
        return 0;
    }

    static int32_t KESTRUNE_TRACKER_CALL Register (void* object, int32_t kind)
    {
        sCurrent->calls.push_back ({ 'r', object, kind, {} });
        return 0;
    }

    static int32_t KESTRUNE_TRACKER_CALL Unregister (void* object)
    {
        sCurrent->calls.push_back ({ 'u', object, 0, {} });
        return 0;
    }

    static int32_t KESTRUNE_TRACKER_CALL Publish (void* object, const int32_t* words, int32_t count)
    {
        sCurrent->calls.push_back ({ 'p', object, 0, std::vector<int32_t> (words, words + count) });
        if (sCurrent->hostBlock != nullptr && count == 4 && words[1] == 0)
            *reinterpret_cast<void**> (static_cast<uintptr_t> (static_cast<uint32_t> (words[3]))) = sCurrent->hostBlock;
        return 0;
    }

    static inline FakeObjectTracker* sCurrent = nullptr;
    static inline const SObjectTrackerRoutines kRoutines { &Register, &Unregister, &Publish };
    static inline const SObjectTrackerRoutines kIncompleteRoutines { &Register, &Unregister, nullptr };
    HostCallbackProc fSavedCallback;
};
