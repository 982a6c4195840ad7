#include "process/utilities/ToolboxServices.h"

#include "process/base/CDAEError.h"

namespace
{
IHostToolboxServices* gHostToolbox = nullptr;
}

void SetHostToolbox (IHostToolboxServices* toolbox)
{
    gHostToolbox = toolbox;
}

IHostToolboxServices& HostToolbox()
{
    if (gHostToolbox == nullptr)
        throw CDAEError (RTASError::kUnexpected);
    return *gHostToolbox;
}
