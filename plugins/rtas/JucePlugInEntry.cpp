// The plug-in module's entry point. The library's entry glue runs only inside the host's engine:
// while no module named "DAE.DLL" is loaded in the process (a program that merely looks at the
// file), the module loads and unloads without opening anything.

#include <entry/PlugInEntry.h>
#include <entry/PlugInModuleMain.h>

namespace
{
// Whether the attach was passed on, so that only such an attach's detach is passed on too.
bool gPassedOn = false;
}

// [host thread] Called as the module is mapped and unmapped.
extern "C" BOOL __attribute__ ((stdcall)) DllMain (HINSTANCE module, DWORD reason, LPVOID)
{
    if (reason == kDllProcessAttach)
        gPassedOn = GetModuleHandleA ("DAE.DLL") != nullptr;
    if (! gPassedOn)
        return TRUE;
    if (reason == kDllProcessDetach)
        gPassedOn = false;
    return PlugInDllEntry (module, reason);
}
