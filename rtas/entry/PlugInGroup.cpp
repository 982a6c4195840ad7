#include "entry/PlugInGroup.h"

#include <new>

#include "entry/GroupFunctions.h"
#include "entry/PlugInEntry.h"
#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/base/RoutineGuard.h"

int32_t HostCodeOf (const CDAEError& error)
{
    const int32_t code = error.Code();
    return static_cast<int16_t> (code) == 0 ? PlugInResult::kUnexpected : code;
}

int16_t NewPlugIn (int32_t)
{
    if (ModuleAttachFailed())
        return PlugInResult::kNoGroup;
    if (PlugInGroup() != nullptr)
        return 0;
    try
    {
        SetPlugInGroup (CreatePlugInGroup());
        if (PlugInGroup() == nullptr)
            return PlugInResult::kNoGroup;
        PlugInGroup()->Initialize();
        return 0;
    }
    catch (const CDAEError& error)
    {
        return static_cast<int16_t> (HostCodeOf (error));
    }
    catch (...)
    {
        return PlugInResult::kUnexpected;
    }
}

void DestroyPlugInGroup()
{
    RoutineGuard guard (gRoutineLock);
    try
    {
        DeletePlugInGroup();
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
