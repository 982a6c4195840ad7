#pragma once
// The host's object tracker, with which every object of the plug-in object model registers and
// to which it publishes its description. The tracker is the host's record of routines
// (abi/ObjectTracker.h); CObjectTracker calls it with the library's own types.
//
// The library asks the host for the tracker once, lazily, at the first registration: through the
// host callback with request 18. A refusal (a non-zero result) or a null tracker marks the
// tracker failed for good: the host is not asked again and every call does nothing (0). While
// the host has not handed in its callback yet, nothing is asked and nothing is marked: the
// calls do nothing and a later call asks again.

#include <cstdint>

#include <abi/ObjectTracker.h>

class CWordBuffer;

class CObjectTracker
{
public:
    explicit CObjectTracker (const SObjectTrackerRoutines& routines) : fRoutines (routines) {}

    int32_t Register (void* object, ETrackedKind kind) const;
    int32_t Unregister (void* object) const;
    // The tracker may write host addresses through pointer words of the description.
    int32_t Publish (void* object, const CWordBuffer& description) const;

private:
    const SObjectTrackerRoutines& fRoutines;
};

// [host thread] The host's tracker; null while there is none (not yet obtainable, or failed).
const CObjectTracker* GetObjectTracker();
// [host thread] True once the host refused the tracker or handed in none.
bool ObjectTrackerFailed();
// [host thread] Forgets the tracker and the failed mark, so that the next registration asks the
// host again: the close that ends the plug-in's session calls it.
void ForgetObjectTracker();

// [host thread] Forward to the host's tracker; 0 without one.
int32_t TrackerRegister (void* object, ETrackedKind kind);
int32_t TrackerUnregister (void* object);
int32_t TrackerPublish (void* object, const CWordBuffer& description);
