#pragma once
// The host toolbox routines that the group's host requests and the entry glue call, bound by
// ordinal from the HostExt.dll that the host has loaded into the process.

#include <optional>

#include <abi/HostExt.h>

// [any thread] The routines of the loaded toolbox (a routine the module lacks stays null);
// nothing while no toolbox is loaded. Bound again when a different toolbox module is loaded.
std::optional<kestrune::rtas::abi::HostExtRoutines> LoadedToolboxRoutines();
