#include "process/utilities/ToolboxRoutines.h"

#include <mutex>

namespace
{
inline constexpr const char* kToolboxModuleName = "HostExt.dll";

struct BoundToolbox
{
    std::mutex lock;
    HMODULE module = nullptr;
    kestrune::rtas::abi::HostExtRoutines routines;
};

BoundToolbox& Bound()
{
    static BoundToolbox bound;
    return bound;
}
}

std::optional<kestrune::rtas::abi::HostExtRoutines> LoadedToolboxRoutines()
{
    const HMODULE module = GetModuleHandleA (kToolboxModuleName);
    if (module == nullptr)
        return std::nullopt;
    BoundToolbox& bound = Bound();
    std::lock_guard guard (bound.lock);
    if (bound.module != module)
    {
        bound.routines = {};
        kestrune::rtas::abi::bindHostExtRoutines (module, bound.routines);
        bound.module = module;
    }
    return bound.routines;
}
