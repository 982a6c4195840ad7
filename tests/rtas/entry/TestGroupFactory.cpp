#include "TestGroupFactory.h"

#include "entry/PlugInGroup.h"

std::function<CProcessGroupInterface*()> gTestGroupFactory;

CProcessGroupInterface* CreatePlugInGroup()
{
    return gTestGroupFactory ? gTestGroupFactory() : nullptr;
}
