#include "process/group/GlobalPlugInGroup.h"

#include "process/group/CProcessGroupInterface.h"

namespace
{
CProcessGroupInterface* gPlugInGroup = nullptr;
bool gBeingDestroyed = false;

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
    return gBeingDestroyed ? nullptr : gPlugInGroup;
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
    if (gPlugInGroup == nullptr || gBeingDestroyed)
        return;
    gBeingDestroyed = true;
    const ClearWhenDestroyed clear;
    delete gPlugInGroup;
}
