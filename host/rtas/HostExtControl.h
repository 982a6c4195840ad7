#pragma once
// The test side of the stand-in toolbox (HostExt.dll).
//
// KestruneHostExtStandIn() gives the control; a test that loads HostExt.dll at run time reaches
// it with GetProcAddress(module, kHostExtControlEntry).
//
// A reset toolbox: no blocks, no resource files (the current file is 0), resource and memory
// errors 0, the clock following real time from the reset on (60 ticks a second), no keys or
// modifiers down, no calls recorded and nothing scripted.
// Every routine is recorded under its role name in the ordinal table (abi/HostExt.h), with a
// path, file spec or name as its text.
// injectFailure: "NewHandle", "NewHandleClear" (null; the memory error is the code),
// "SetHandleSize" (unchanged; memory error), "OpenResFileWithSwap", "FSpOpenResFile" (-1; the
// resource error), "GetResource", "GetNamedResource", "GetIndResource" (null; the resource
// error), "FSMakeFSSpecFromPath" (the code). scriptResult: "TickCount".
//
// Memory: a handle's data stays put while the block is locked; SetHandleSize, MoveHHi and
// compactMemory move every unlocked block they touch, so code that keeps a data pointer across
// them without locking sees it change. A locked block cannot grow (memLockedErr).
// Resource files: opening a file again (by path or by file spec) counts one more open
// of the same file and makes it current; each close counts one down and the last closes it and
// releases its resources. A file spec of a module that has no resource container of
// its own opens "<module>.rsr". Resources are searched from the current file back through the
// files opened before it. A resource is loaded once, given to its file's swap routine, and
// keeps its handle until released or its file is closed.

#include <abi/HostExt.h>

#include "StandInScript.h"

#include <string>
#include <vector>

namespace kestrune::host::rtas
{

struct HostExtResourceFile
{
    int16_t reference = 0;
    std::string path;
    int opens = 0;
    size_t loadedResources = 0;
};

class HostExtControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    // Memory blocks.
    virtual size_t liveHandles() = 0;
    virtual bool isLocked (Handle block) = 0;
    virtual void compactMemory() = 0;

    // Resource files, oldest first.
    virtual std::vector<HostExtResourceFile> openResourceFiles() = 0;

    // The clock: setClock switches to a clock that moves only when told to (and by `step`
    // microseconds on each read, so that busy waits end); useRealClock goes back.
    virtual void setClock (uint64_t microseconds, uint64_t stepPerRead = 0) = 0;
    virtual void advanceClock (uint64_t microseconds) = 0;
    virtual void useRealClock() = 0;

    // Keys: the 16-byte key map and the modifier bits that the toolbox reports.
    virtual void setKeyMap (const uint8_t* keyMap) = 0;
    virtual void setModifiers (uint16_t modifiers) = 0;

protected:
    ~HostExtControl() = default;
};

inline constexpr const char* kHostExtControlEntry = "KestruneHostExtStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::HostExtControl* KestruneHostExtStandIn();
