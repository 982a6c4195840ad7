#include "entry/GroupFunctions.h"

#include "entry/PlugInGroup.h"
#include "process/base/CDAEError.h"
#include "process/base/RoutineGuard.h"

namespace
{
int32_t RunCall (SGenFuncRetLong& function, uint8_t lockFlag)
{
    if (lockFlag == 0)
        return CallCatchingErrors (function);
    RoutineGuard guard (gRoutineLock);
    return CallCatchingErrors (function);
}
}

void ThrowNoPlugInGroup()
{
    throw CDAEError (PlugInResult::kNoGroup);
}

int32_t RunGroupFunc (SGenFuncRetLong& function, uint8_t lockFlag, bool bracket)
{
    CProcessGroupInterface* group = LivePlugInGroup();
    if (group == nullptr)
        return PlugInResult::kNoGroup;
    if (! bracket || gHostLevel == 0)
        return RunCall (function, lockFlag);

    // Lock and Unlock run outside the call's own conversion; what they throw is converted here,
    // so that nothing crosses into the host. A failed Lock runs nothing.
    try
    {
        group->Lock();
    }
    catch (...)
    {
        return CodeOfCaughtException();
    }
    const int32_t result = RunCall (function, lockFlag);
    // The operation may have destroyed the group (the last close); its lock went with it.
    if (LivePlugInGroup() == group)
    {
        try
        {
            group->Unlock();
        }
        catch (...)
        {
        }
    }
    return result;
}

int32_t RunGroupFuncGuarded (SGenFuncRetLong& function, uint8_t lockFlag)
{
    return RunGroupFunc (function, lockFlag, true);
}

int32_t RunGroupFuncUnguarded (SGenFuncRetLong& function, uint8_t lockFlag)
{
    return RunGroupFunc (function, lockFlag, false);
}
