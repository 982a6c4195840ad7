#include "process/utilities/HostExtToolbox.h"

#include <atomic>

#include "process/base/CDAEError.h"

namespace
{
inline constexpr const char* kToolboxModuleName = "HostExt.dll";

// The module reference and the routines bound from it; written on the host thread before the
// routines are published, read by any thread through the published pointer.
struct ToolboxBinding
{
    HMODULE module = nullptr;
    HostToolboxRoutines routines;
};

ToolboxBinding gBinding;
std::atomic<const HostToolboxRoutines*> gInstalled { nullptr };
}

bool InstallHostToolbox()
{
    if (gBinding.module != nullptr)
        return true;
    const HMODULE module = LoadLibraryA (kToolboxModuleName);
    if (module == nullptr)
        return false;
    HostToolboxRoutines routines;
    if (kestrune::rtas::abi::bindHostExtRoutines (module, routines) != 0)
    {
        FreeLibrary (module);
        return false;
    }
    gBinding.module = module;
    gBinding.routines = routines;
    gInstalled.store (&gBinding.routines, std::memory_order_release);
    return true;
}

void ReleaseHostToolbox()
{
    if (gBinding.module == nullptr)
        return;
    const HostToolboxRoutines* expected = &gBinding.routines;
    gInstalled.compare_exchange_strong (expected, nullptr, std::memory_order_acq_rel);
    FreeLibrary (gBinding.module);
    gBinding = {};
}

const HostToolboxRoutines& HostToolbox()
{
    const HostToolboxRoutines* routines = InstalledHostToolbox();
    if (routines == nullptr)
        throw CDAEError (RTASError::kUnexpected);
    return *routines;
}

const HostToolboxRoutines* InstalledHostToolbox()
{
    return gInstalled.load (std::memory_order_acquire);
}

ScopedHostToolbox::ScopedHostToolbox (const HostToolboxRoutines& routines)
    : fRoutines (routines), fPrevious (gInstalled.exchange (&fRoutines, std::memory_order_acq_rel))
{
}

ScopedHostToolbox::~ScopedHostToolbox()
{
    gInstalled.store (fPrevious, std::memory_order_release);
}
