#include "views/description/PlugInVersion.h"

#include "entry/module/ModuleInformation.h"

std::string PlugInVersionText()
{
    HMODULE module = nullptr;
    if (GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR> (&PlugInVersionText), &module)
        == FALSE)
        return FormatModuleVersion ({});
    return GetModuleVersionText (module);
}
