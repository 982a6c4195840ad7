#include "process/utilities/PlugInFileRecord.h"

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"

#include <win/Win32.h>

namespace
{
FSSpec gPlugInFileSpec {};
bool gHaveFileSpec = false;

// The module's file name, at most 255 characters and a terminator, turned into a
// length-prefixed string in the same buffer (which therefore holds one byte more).
void ModuleFileNameAsPString (char (&buffer)[257])
{
    HMODULE module = nullptr;
    ThrowIfFalse (GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                      reinterpret_cast<LPCSTR> (&GetPlugInFileSpec), &module)
                  != FALSE);
    buffer[0] = 0;
    ThrowIfFalse (GetModuleFileNameA (module, buffer, 256) != 0);
    HostToolbox().CStrToPStrInPlace (buffer);
}
}

const FSSpec& GetPlugInFileSpec()
{
    if (! gHaveFileSpec)
    {
        char name[257] = {};
        ModuleFileNameAsPString (name);
        FSSpec spec {};
        const int16_t error = HostToolbox().FSMakeFSSpecFromPath (reinterpret_cast<const uint8_t*> (name), &spec);
        if (error != 0)
            throw CDAEError (error);
        gPlugInFileSpec = spec;
        gHaveFileSpec = true;
    }
    return gPlugInFileSpec;
}

void SetPlugInFileSpec (const FSSpec& spec)
{
    gPlugInFileSpec = spec;
    gHaveFileSpec = true;
}
