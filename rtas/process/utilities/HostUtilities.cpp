#include "process/utilities/HostUtilities.h"

#include "process/utilities/ToolboxServices.h"

namespace
{
SPISIService* gPISIService = nullptr;

constexpr int kControlRecordSize = 16;
constexpr int kControlFlagByte = 7;
constexpr uint8_t kControlFlagMask = 0x04;
}

SPISIService* GetPISIGestalt()
{
    if (gPISIService == nullptr)
    {
        int32_t response = 0;
        if (FicGestalt (kFicGestaltPISI, &response) == 0)
            gPISIService = reinterpret_cast<SPISIService*> (static_cast<intptr_t> (response));
    }
    return gPISIService;
}

void WaitMicroseconds (uint32_t microseconds)
{
    IHostToolboxServices& toolbox = HostToolbox();
    const uint64_t start = toolbox.Microseconds();
    while (toolbox.Microseconds() - start < microseconds)
    {
    }
}

bool GetControlFlagBit (void* control)
{
    uint8_t record[kControlRecordSize] = {};
    if (! HostToolbox().ControlRecord (control, record))
        return false;
    return (record[kControlFlagByte] & kControlFlagMask) != 0;
}
