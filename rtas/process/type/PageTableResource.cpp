#include "process/type/PageTableResource.h"

#include <cstring>
#include <new>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"
#include "process/utilities/ScopedPlugInResFile.h"

namespace
{
using Routines = kestrune::rtas::abi::HostExtRoutines;

constexpr size_t kTerminatorSize = 2;

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

std::unique_ptr<std::vector<uint8_t>> LoadPageTableResource (uint32_t type, const uint8_t* name)
{
    try
    {
        const ScopedPlugInResFile file;
        if (! file.IsOpen())
            return nullptr;
        const Routines& toolbox = HostToolbox();
        Handle resource = FindExactlyNamed (toolbox, type, name);
        return resource != nullptr ? CopyWithTerminator (toolbox, resource) : nullptr;
    }
    catch (const CDAEError&)
    {
        // No toolbox: no table.
        return nullptr;
    }
}
