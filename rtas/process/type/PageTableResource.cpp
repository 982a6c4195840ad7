#include "process/type/PageTableResource.h"

#include <cstring>
#include <new>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/PlugInFileRecord.h"

namespace
{
using Routines = kestrune::rtas::abi::HostExtRoutines;

constexpr size_t kTerminatorSize = 2;

// The plug-in's resource file made current for as long as the object lives: the file the group
// holds open when it does, else the file opened here. Afterwards the file that was current
// before is current again, and only a file opened here is closed, after that.
class CurrentPlugInResourceFile
{
public:
    CurrentPlugInResourceFile (const Routines& toolbox, int16_t heldFile)
        : fToolbox (toolbox),
          fSaved (toolbox.CurResFile()),
          fOpenedHere (heldFile <= 0),
          fFile (fOpenedHere ? toolbox.FSpOpenResFile (&GetPlugInFileSpec(), fsRdPerm) : heldFile)
    {
        if (IsOpen())
            fToolbox.UseResFile (fFile);
    }

    ~CurrentPlugInResourceFile()
    {
        fToolbox.UseResFile (fSaved);
        if (fOpenedHere && IsOpen())
            fToolbox.CloseResFile (fFile);
    }

    CurrentPlugInResourceFile (const CurrentPlugInResourceFile&) = delete;
    CurrentPlugInResourceFile& operator= (const CurrentPlugInResourceFile&) = delete;

    bool IsOpen() const { return fFile > 0; }

private:
    const Routines& fToolbox;
    const int16_t fSaved;
    const bool fOpenedHere;
    const int16_t fFile;
};

bool HasName (const Routines& toolbox, Handle resource, const uint8_t* name)
{
    if (resource == nullptr)
        return false;
    int16_t id = 0;
    ResType type = 0;
    uint8_t found[kPStrMaxLength + 1] = {};
    toolbox.GetResInfo (resource, &id, &type, found);
    return PStrEqual (found, name);
}

Handle FindExactlyNamed (const Routines& toolbox, uint32_t type, const uint8_t* name)
{
    Handle named = toolbox.GetNamedResource (type, name);
    if (HasName (toolbox, named, name))
        return named;
    for (int16_t index = toolbox.CountResources (type); index >= 1; --index)
    {
        Handle candidate = toolbox.GetIndResource (type, index);
        if (HasName (toolbox, candidate, name))
            return candidate;
    }
    return nullptr;
}

std::unique_ptr<std::vector<uint8_t>> CopyWithTerminator (const Routines& toolbox, Handle resource)
{
    toolbox.HLock (resource);
    std::unique_ptr<std::vector<uint8_t>> copy;
    const int32_t size = toolbox.GetHandleSize (resource);
    if (size >= 0 && *resource != nullptr)
    {
        try
        {
            copy = std::make_unique<std::vector<uint8_t>> (static_cast<size_t> (size) + kTerminatorSize, 0);
            std::memcpy (copy->data(), *resource, static_cast<size_t> (size));
        }
        catch (const std::bad_alloc&)
        {
            copy.reset();
        }
    }
    toolbox.HUnlock (resource);
    toolbox.ReleaseResource (resource);
    return copy;
}
}

std::unique_ptr<std::vector<uint8_t>> LoadPageTableResource (uint32_t type, const uint8_t* name, int16_t heldFile)
{
    try
    {
        const Routines& toolbox = HostToolbox();
        CurrentPlugInResourceFile file (toolbox, heldFile);
        if (! file.IsOpen())
            return nullptr;
        Handle resource = FindExactlyNamed (toolbox, type, name);
        return resource != nullptr ? CopyWithTerminator (toolbox, resource) : nullptr;
    }
    catch (const CDAEError&)
    {
        // No toolbox or no file spec of the plug-in: no table.
        return nullptr;
    }
}
