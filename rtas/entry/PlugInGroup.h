#pragma once
// The one plug-in group of the loaded module: its creation, its destruction and the conversion
// of every exception that a group operation raises into the host's 16-bit codes.

#include <cstdint>

#include "entry/PlugInExport.h"
#include "process/group/GlobalPlugInGroup.h"

class CProcessGroupInterface;
class CDAEError;
struct SGenFuncRetLong;

namespace PlugInResult
{
inline constexpr int16_t kNoGroup = -7003;
inline constexpr int16_t kUnexpected = -7401;
inline constexpr int16_t kOutOfMemory = -9006;
}

// Defined by the plug-in: makes its group and answers its interface part, or null.
CProcessGroupInterface* CreatePlugInGroup();

// [host thread] Creates the global group (a second call keeps the existing one) and runs its
// initialisation. 0, -7003 when no group was made, a CDAEError's code, or -7401.
KESTRUNE_RTAS_EXPORT int16_t NewPlugIn (int32_t unused);

// [host thread] Deletes the global group and clears the global (see GlobalPlugInGroup.h: the
// group reaches itself while it is being destroyed); swallows every exception.
void DestroyPlugInGroup();

// [host thread] Runs the functor and answers its result, or the code of its exception.
int32_t CallCatchingErrors (SGenFuncRetLong& function);

// Inside a catch block: the host code of the exception being handled (-9006 for running out of
// memory, a CDAEError's code, -7401 for anything else).
int32_t CodeOfCaughtException();

// The host code of a caught CDAEError: its code, or -7401 where the code would read as success
// once the host narrows it to 16 bits (0, 0x10000, ...).
int32_t HostCodeOf (const CDAEError& error);
