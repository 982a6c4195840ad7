// Compiled into the plug-in module only (kestrune_rtas_module): the dynamic loader runs the
// module's entry point when it maps and unmaps the module, as the Windows loader does. A load
// cannot fail once the module is mapped, so the outcome of a failed attach is kept instead,
// the detach that the Windows loader sends after it is given at once, and the exports refuse.

#include "entry/PlugInEntry.h"
#include "entry/PlugInModuleMain.h"

namespace
{
bool gAttached = false;

HINSTANCE ThisModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                        reinterpret_cast<LPCSTR> (&gAttached), &module);
    return module;
}

__attribute__ ((constructor)) void AttachModule()
{
    const HINSTANCE module = ThisModule();
    gAttached = module != nullptr && DllMain (module, kDllProcessAttach, nullptr) != FALSE;
    RecordModuleAttach (gAttached);
    if (! gAttached && module != nullptr)
        DllMain (module, kDllProcessDetach, nullptr);
}

__attribute__ ((destructor)) void DetachModule()
{
    if (gAttached)
        DllMain (ThisModule(), kDllProcessDetach, nullptr);
    gAttached = false;
}
}
