#pragma once
// The one binding of the host's toolbox library, HostExt.dll: every routine of the ordinal table
// (KESTRUNE_HOSTEXT_ROUTINES), bound by ordinal in one go, so that a row added to the table is
// available here without further code. The open procedure installs the binding before anything
// uses it and the last close releases it; every toolbox call of the library goes through it.

#include <abi/HostExt.h>

using HostToolboxRoutines = kestrune::rtas::abi::HostExtRoutines;

// [host thread] Takes a reference on the toolbox module that the host loaded ("HostExt.dll") and
// installs its routines. False, with nothing installed, when the module is missing or lacks a
// routine of the table. While a binding is installed it is kept and the answer is true.
bool InstallHostToolbox();
// [host thread] Uninstalls the binding and gives its module reference back.
void ReleaseHostToolbox();

// [any thread] The installed routines; throws CDAEError -7401 while none are installed.
const HostToolboxRoutines& HostToolbox();
// [any thread] The installed routines, or null while none are installed.
const HostToolboxRoutines* InstalledHostToolbox();

// Installs a copy of a table of routines that the caller supplies for as long as the object
// lives (the tests' own toolboxes); the binding installed before is back afterwards.
class ScopedHostToolbox
{
public:
    explicit ScopedHostToolbox (const HostToolboxRoutines& routines);
    ~ScopedHostToolbox();
    ScopedHostToolbox (const ScopedHostToolbox&) = delete;
    ScopedHostToolbox& operator= (const ScopedHostToolbox&) = delete;

private:
    const HostToolboxRoutines fRoutines;
    const HostToolboxRoutines* fPrevious;
};
