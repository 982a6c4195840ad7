#include "entry/PlugInGroup.h"

#include <limits>
#include <new>

#include "entry/GroupFunctions.h"
#include "entry/PlugInEntry.h"
#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/base/RoutineGuard.h"

namespace
{
CProcessGroupInterface* gPlugInGroup = nullptr;
}

CProcessGroupInterface* PlugInGroup()
{
    return gPlugInGroup;
}

int16_t HostCodeOf (const CDAEError& error)
{
    const int32_t code = error.Code();
    if (code == 0 || code < std::numeric_limits<int16_t>::min() || code > std::numeric_limits<int16_t>::max())
        return PlugInResult::kUnexpected;
    return static_cast<int16_t> (code);
}

int16_t NewPlugIn (int32_t)
{
    if (ModuleAttachFailed())
        return PlugInResult::kNoGroup;
    if (gPlugInGroup != nullptr)
        return 0;
    try
    {
        gPlugInGroup = CreatePlugInGroup();
        if (gPlugInGroup == nullptr)
            return PlugInResult::kNoGroup;
        gPlugInGroup->Initialize();
        return 0;
    }
    catch (const CDAEError& error)
    {
        return HostCodeOf (error);
    }
    catch (...)
    {
        return PlugInResult::kUnexpected;
    }
}

void DestroyPlugInGroup()
{
    RoutineGuard guard (gRoutineLock);
    CProcessGroupInterface* group = gPlugInGroup;
    gPlugInGroup = nullptr;
    try
    {
        delete group;
    }
    catch (...)
    {
    }
}

int32_t CodeOfCaughtException()
{
    try
    {
        throw;
    }
    catch (const std::bad_alloc&)
    {
        return PlugInResult::kOutOfMemory;
    }
    catch (const CDAEError& error)
    {
        return HostCodeOf (error);
    }
    catch (...)
    {
        return PlugInResult::kUnexpected;
    }
}

int32_t CallCatchingErrors (SGenFuncRetLong& function)
{
    try
    {
        return function.Call();
    }
    catch (...)
    {
        return CodeOfCaughtException();
    }
}
