#include "process/utilities/HostUtilities.h"

#include <cstring>

#include "process/base/PointerWords.h"
#include "process/utilities/HostExtToolbox.h"

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
            gPISIService = PointerOfWord<SPISIService> (response);
    }
    return gPISIService;
}

namespace
{
uint64_t HostClock (const HostToolboxRoutines& toolbox)
{
    uint64_t microseconds = 0;
    toolbox.Microseconds (&microseconds);
    return microseconds;
}

// A control is a toolbox handle whose data begins with its 16-byte record; false (record
// untouched) when the handle holds no whole record.
bool CopyControlRecord (void* control, uint8_t (&record)[kControlRecordSize])
{
    const auto handle = static_cast<Handle> (control);
    if (handle == nullptr)
        return false;
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (toolbox.GetHandleSize (handle) < kControlRecordSize)
        return false;
    const Ptr data = toolbox.HandleData (handle);
    if (data == nullptr)
        return false;
    std::memcpy (record, data, kControlRecordSize);
    return true;
}
}

void WaitMicroseconds (uint32_t microseconds)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    const uint64_t start = HostClock (toolbox);
    while (HostClock (toolbox) - start < microseconds)
    {
    }
}

bool GetControlFlagBit (void* control)
{
    uint8_t record[kControlRecordSize] = {};
    if (! CopyControlRecord (control, record))
        return false;
    return (record[kControlFlagByte] & kControlFlagMask) != 0;
}
