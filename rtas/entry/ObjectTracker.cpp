#include "entry/ObjectTracker.h"

#include <optional>

#include "entry/CWordBuffer.h"
#include "process/group/CProcessGroupInterface.h"

namespace
{
std::optional<CObjectTracker> gObjectTracker;
bool gObjectTrackerFailed = false;

bool IsComplete (const SObjectTrackerRoutines* routines)
{
    return routines != nullptr && routines->Register != nullptr && routines->Unregister != nullptr
           && routines->Publish != nullptr;
}
}

int32_t CObjectTracker::Register (void* object, ETrackedKind kind) const
{
    return fRoutines.Register (object, static_cast<int32_t> (kind));
}

int32_t CObjectTracker::Unregister (void* object) const
{
    return fRoutines.Unregister (object);
}

int32_t CObjectTracker::Publish (void* object, const CWordBuffer& description) const
{
    return fRoutines.Publish (object, description.Words().data(), description.GetCount());
}

const CObjectTracker* GetObjectTracker()
{
    if (gObjectTracker.has_value())
        return &*gObjectTracker;
    if (gObjectTrackerFailed)
        return nullptr;
    const HostCallbackProc callback = CProcessGroupInterface::GetHostCallback();
    if (callback == nullptr)
        return nullptr;
    // The host writes the address of its record into the pointer.
    SObjectTrackerRoutines* routines = nullptr;
    const int16_t result = callback (kHostRequestObjectTracker, nullptr, reinterpret_cast<char**> (&routines));
    // A record with a missing routine is as good as none: nothing half bound is called.
    if (result != 0 || ! IsComplete (routines))
    {
        gObjectTrackerFailed = true;
        return nullptr;
    }
    gObjectTracker.emplace (*routines);
    return &*gObjectTracker;
}

bool ObjectTrackerFailed()
{
    return gObjectTrackerFailed;
}

void ForgetObjectTracker()
{
    gObjectTracker.reset();
    gObjectTrackerFailed = false;
}

int32_t TrackerRegister (void* object, ETrackedKind kind)
{
    const CObjectTracker* tracker = GetObjectTracker();
    return tracker != nullptr ? tracker->Register (object, kind) : 0;
}

int32_t TrackerUnregister (void* object)
{
    const CObjectTracker* tracker = GetObjectTracker();
    return tracker != nullptr ? tracker->Unregister (object) : 0;
}

int32_t TrackerPublish (void* object, const CWordBuffer& description)
{
    const CObjectTracker* tracker = GetObjectTracker();
    return tracker != nullptr ? tracker->Publish (object, description) : 0;
}
