#include "process/process/ProcessView.h"

namespace
{
DefaultProcessViewMaker gDefaultViewMaker = nullptr;
}

void SetDefaultProcessViewMaker (DefaultProcessViewMaker maker)
{
    gDefaultViewMaker = maker;
}

DefaultProcessViewMaker GetDefaultProcessViewMaker()
{
    return gDefaultViewMaker;
}
