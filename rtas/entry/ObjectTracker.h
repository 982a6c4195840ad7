#pragma once
// The host's object tracker, with which every object of the plug-in object model registers and
// to which it publishes its description. The object model obtains the tracker from the host and
// installs it here; while none is installed (or obtaining it failed) every call does nothing.

#include <cstdint>

class CWordBuffer;

enum class ETrackedKind : int32_t
{
    kPlugInGroup = 1,
    kPlugInType = 2,
    kPlugIn = 3,
    kPlugInInput = 4,
    kPlugInOutput = 5,
    kPlugInControl = 6,
    kPlugInWorker = 7,
    kPlugInData = 8
};

// Operations in the host tracker's table order.
class IObjectTracker
{
public:
    virtual ~IObjectTracker() = default;
    virtual int32_t Register (void* object, int32_t kind) = 0;
    virtual int32_t Unregister (void* object) = 0;
    // The tracker may write host addresses through pointer words of the description.
    virtual int32_t Publish (void* object, const CWordBuffer& description) = 0;
};

// Not owned; null removes it.
void SetObjectTracker (IObjectTracker* tracker);
IObjectTracker* GetObjectTracker();

// [host thread] Forward to the installed tracker; 0 without one.
int32_t TrackerRegister (void* object, ETrackedKind kind);
int32_t TrackerUnregister (void* object);
int32_t TrackerPublish (void* object, const CWordBuffer& description);
