#pragma once
// The first code of the library that runs: the DLL entry glue, the open and close procedures
// that create and destroy the plug-in group, the exports through which the host may open and
// close the plug-in itself, and the resource file with its byte-order fix-up.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include <abi/HostTypes.h>
#include <win/Win32.h>

#include "entry/PlugInExport.h"
#include "process/utilities/ViewlessMode.h"

inline constexpr DWORD kDllProcessDetach = 0;
inline constexpr DWORD kDllProcessAttach = 1;

// The key that WinPlugInOpen accepts.
inline constexpr int32_t kWinPlugInOpenKey = 73;
inline constexpr int32_t kWinPlugInOpenRefused = -1;

// Module paths as the library keeps them: GetModuleFileNameA with this limit.
inline constexpr size_t kModulePathSize = 256;
inline constexpr const char* kResourceFileSuffix = ".rsr";

// [host thread] Called by the plug-in's DLL entry point (only while "DAE.DLL" is loaded): on
// attach registers the open and close procedures with the engine, or opens at once when the
// engine does not offer to take them (a failed open fails the load); on detach closes what the
// attach opened. 1 for success, 0 to fail the load.
BOOL PlugInDllEntry (HINSTANCE module, DWORD reason);

// [host thread] The open procedure: an open while no group exists installs the toolbox binding,
// opens the resource file and creates the group (a failure undoes all three); later ones only
// count. Every call counts, a failed one too. 0 or the group creation's code.
int16_t PlugInOpen();
// [host thread] The close procedure: the close that matches the last open destroys the group,
// forgets the host's object tracker, closes the resource file and releases the toolbox binding. Always 0; the count never goes
// below 0.
int16_t PlugInClose();

// [host thread] Opens the plug-in without views, for the key 73 only (else -1).
KESTRUNE_RTAS_EXPORT int32_t WinPlugInOpen (int32_t key);
// [host thread] Closes what WinPlugInOpen opened; 0.
KESTRUNE_RTAS_EXPORT int32_t WinPlugInClose();

// [host thread] Called by the toolbox for each resource it loads from the plug-in's resource
// file: turns the big-endian fields of 'thng' and 'cfrg' that lie inside the resource's size
// into the host's order and answers 1; leaves any other type alone and answers 0.
int32_t SwapPlugInResource (int16_t file, ResType type, int16_t id, void* data, int32_t size);

// The resource file of a module: its path with ".rsr" appended; nothing when the module path
// is empty or does not fit the library's path buffer.
std::optional<std::string> ResourcePathOf (const char* modulePath, size_t pathLength);

// The outcome of the module's attach, kept because a load cannot fail once the module is
// mapped: after a failed attach the exports refuse (no group, no routines, no open).
void RecordModuleAttach (bool attached);
bool ModuleAttachFailed();
