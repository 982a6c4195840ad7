#include "process/group/GlobalPlugInGroup.h"

#include <atomic>

#include "process/group/CProcessGroupInterface.h"

namespace
{
// Written on the host thread; read there and by the driver's callbacks on the driver's thread.
std::atomic<CProcessGroupInterface*> gPlugInGroup { nullptr };
std::atomic<bool> gBeingDestroyed { false };

// Clears the global when the destructor has finished, whichever way it left.
struct ClearWhenDestroyed
{
    ~ClearWhenDestroyed()
    {
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
    gBeingDestroyed = true;
    const ClearWhenDestroyed clear;
    delete group;
}
