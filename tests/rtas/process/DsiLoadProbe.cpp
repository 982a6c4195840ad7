// A module that carries the card library binding as the plug-in does: loaded after the host has
// loaded DSI.dll, its imports of DSI.dll bind against that library.

#include "process/dsp/DSIBinding.h"

extern "C" __attribute__ ((visibility ("default"))) int16_t ProbeLoadDSIEntryPoints()
{
    return LoadDSIEntryPoints();
}

extern "C" __attribute__ ((visibility ("default"))) void ProbeUnloadDSIEntryPoints()
{
    UnloadDSIEntryPoints();
}
