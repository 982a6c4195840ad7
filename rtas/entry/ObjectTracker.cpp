#include "entry/ObjectTracker.h"

namespace
{
IObjectTracker* gObjectTracker = nullptr;
}

void SetObjectTracker (IObjectTracker* tracker)
{
    gObjectTracker = tracker;
}

IObjectTracker* GetObjectTracker()
{
    return gObjectTracker;
}

int32_t TrackerRegister (void* object, ETrackedKind kind)
{
    return gObjectTracker != nullptr ? gObjectTracker->Register (object, static_cast<int32_t> (kind)) : 0;
}

int32_t TrackerUnregister (void* object)
{
    return gObjectTracker != nullptr ? gObjectTracker->Unregister (object) : 0;
}

int32_t TrackerPublish (void* object, const CWordBuffer& description)
{
    return gObjectTracker != nullptr ? gObjectTracker->Publish (object, description) : 0;
}
