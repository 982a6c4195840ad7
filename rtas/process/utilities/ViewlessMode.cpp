#include "process/utilities/ViewlessMode.h"

#include <cstdint>

namespace
{
bool gOpenedByWinPlugInOpen = false;
uint8_t gViewlessFlag = 0;
}

void SetOpenedByWinPlugInOpen (bool opened)
{
    gOpenedByWinPlugInOpen = opened;
}

bool OpenedByWinPlugInOpen()
{
    return gOpenedByWinPlugInOpen;
}

bool IsViewlessMode()
{
    return gOpenedByWinPlugInOpen || gViewlessFlag != 0;
}

void SetViewlessMode (bool viewless)
{
    gViewlessFlag = viewless ? 1 : 0;
}
