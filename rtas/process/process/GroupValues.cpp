#include "process/process/GroupValues.h"

#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"

int32_t CurrentGroupSampleRate()
{
    CProcessGroupInterface* group = PlugInGroup();
    return group != nullptr ? group->GetSampleRate() : kStartingSampleRate;
}

SFicTimeCodeInfo CurrentGroupSettingPair()
{
    CProcessGroupInterface* group = PlugInGroup();
    return group != nullptr ? SFicTimeCodeInfo { group->GetTimeCodeFirst(), group->GetTimeCodeSecond() } : kStartingTimeCodeInfo;
}
