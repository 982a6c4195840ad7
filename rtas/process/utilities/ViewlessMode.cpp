#include "process/utilities/ViewlessMode.h"

#include <cstdint>

namespace
{
bool gOpenedWithoutViews = false;
uint8_t gViewlessFlag = 0;
}

void MarkOpenedWithoutViews()
{
    gOpenedWithoutViews = true;
}

bool IsViewlessMode()
{
    return gOpenedWithoutViews || gViewlessFlag != 0;
}

void SetViewlessMode (bool viewless)
{
    gViewlessFlag = viewless ? 1 : 0;
}

void ClearOpenedWithoutViews()
{
    gOpenedWithoutViews = false;
}
