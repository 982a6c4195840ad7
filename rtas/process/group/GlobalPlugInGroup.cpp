#include "process/group/GlobalPlugInGroup.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "process/group/CProcessGroupInterface.h"

namespace
{
// Written on the host thread; read there and by the driver's callbacks on the driver's thread.
std::atomic<CProcessGroupInterface*> gPlugInGroup { nullptr };
std::atomic<bool> gBeingDestroyed { false };

// The uses other threads hold, counted under their lock; the destruction waits for none.
std::mutex gUsesLock;
std::condition_variable gUsesEnded;
int gUses = 0;

// Clears the global when the destructor has finished, whichever way it left.
struct ClearWhenDestroyed
{
    ~ClearWhenDestroyed()
    {
        const std::lock_guard guard (gUsesLock);
        gPlugInGroup = nullptr;
        gBeingDestroyed = false;
    }
};
}

CProcessGroupInterface* PlugInGroup()
{
    return gPlugInGroup;
}

CProcessGroupInterface* LivePlugInGroup()
{
    return gBeingDestroyed ? nullptr : gPlugInGroup.load();
}

bool IsPlugInGroupBeingDestroyed()
{
    return gBeingDestroyed;
}

void SetPlugInGroup (CProcessGroupInterface* group)
{
    gPlugInGroup = group;
}

void DeletePlugInGroup()
{
    CProcessGroupInterface* group = gPlugInGroup;
    if (group == nullptr || gBeingDestroyed)
        return;
    {
        std::unique_lock guard (gUsesLock);
        gBeingDestroyed = true;
        gUsesEnded.wait (guard, [] { return gUses == 0; });
    }
    const ClearWhenDestroyed clear;
    delete group;
}

PlugInGroupUse::PlugInGroupUse()
{
    const std::lock_guard guard (gUsesLock);
    if (gBeingDestroyed)
        return;
    fGroup = gPlugInGroup;
    if (fGroup != nullptr)
        ++gUses;
}

PlugInGroupUse::~PlugInGroupUse()
{
    if (fGroup == nullptr)
        return;
    const std::lock_guard guard (gUsesLock);
    if (--gUses == 0)
        gUsesEnded.notify_all();
}
