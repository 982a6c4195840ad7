#pragma once
// The host engine's side of an RTAS plug-in's start-up and shut-down, for tests and tools: loads
// the stand-in engine (DAE.dll), when given its card library (DSI.dll) and DSP manager
// (DSPManager.dll), and the toolbox (HostExt.dll), then a plug-in module; opens it on
// one of the engine's two roads (the open and close procedures that the module registered, or
// WinPlugInOpen); fetches routines by selector and calls them with 32-bit stack words; closes
// the plug-in and unloads everything again, last loaded first.

#include <DSPManagerControl.h>
#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>
#include <HostExtControl.h>
#include <dsi/DsiControl.h>

#include <win/Win32.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

// A routine as _PI_GetRoutineDescriptor hands it out: a stdcall function of 32-bit words.
using PlugInRoutine = void (*)();

// Calls a routine with the given stack words and answers its result. The stack pointer is
// checked around the call: a routine that takes more or fewer words off the stack than it was
// given (a wrong argument count or calling convention) throws std::logic_error.
int32_t callPlugInRoutine (PlugInRoutine routine, const std::vector<uint32_t>& words);

struct PlugInLoaderPaths
{
    std::string engine; // DAE.dll (either build)
    std::string toolbox; // HostExt.dll; empty: the host runs without its toolbox
    std::string plugIn; // the plug-in module
    std::string cardLibrary; // DSI.dll; empty: the host runs without it
    std::string dspManager; // DSPManager.dll; empty: the host runs without it
};

enum class StartUpRoad
{
    kRegisteredProcedures, // the engine calls the procedures that the module registered
    kWinPlugInOpen // the host calls the module's WinPlugInOpen and WinPlugInClose
};

class PlugInLoader
{
public:
    explicit PlugInLoader (PlugInLoaderPaths paths);
    ~PlugInLoader();
    PlugInLoader (const PlugInLoader&) = delete;
    PlugInLoader& operator= (const PlugInLoader&) = delete;

    // Loads the engine and (when given) the card library, the DSP manager and the toolbox, and
    // resets their controls; false when one of them could not be loaded.
    bool loadHost();
    DaeControl& engine();
    // The engine's object tracker, through which the host renders a plug-in's processes.
    DaeObjectTrackerControl& objectTracker();
    HostExtControl* toolbox(); // null without a toolbox
    DsiControl* cardLibrary(); // null without a card library
    DSPManagerControl* dspManager(); // null without a DSP manager
    HMODULE toolboxModule() const { return toolbox_; }

    // Maps the plug-in module (its entry point runs as it loads); false when it did not load.
    bool loadPlugIn();
    HMODULE plugInModule() const { return plugIn_; }
    // An export of the plug-in module other than the four, for tests that look inside.
    FARPROC plugInSymbol (const char* name) const;

    // Opens on the road: the registered open procedure (-1 when the module registered none), or
    // WinPlugInOpen with the key.
    int32_t open (StartUpRoad road, int32_t key = 73);
    // Closes on the road: the registered close procedure (-1 when none), or WinPlugInClose.
    int32_t close (StartUpRoad road);

    // The module's exports (a missing export answers -1).
    int32_t newPlugIn();
    int32_t routineDescriptor (uint32_t selector, PlugInRoutine* routine);

    // The selector's routine, fetched through _PI_GetRoutineDescriptor.
    std::optional<PlugInRoutine> routine (uint32_t selector);
    // Fetches the selector's routine and calls it; nothing when there is no routine.
    std::optional<int32_t> call (uint32_t selector, const std::vector<uint32_t>& words);

    // Frees the plug-in module (its entry point runs as it unloads); true when it is gone.
    bool unloadPlugIn();
    void unloadHost();

private:
    template <typename Function>
    Function plugInExport (const char* name) const
    {
        return plugIn_ == nullptr ? nullptr : reinterpret_cast<Function> (GetProcAddress (plugIn_, name));
    }

    PlugInLoaderPaths paths_;
    // A host library and its control, loaded from the path when one is given.
    template <typename Control>
    bool loadLibrary (const std::string& path, const char* controlEntry, HMODULE& module, Control*& control);

    HMODULE engine_ = nullptr;
    HMODULE cardLibrary_ = nullptr;
    HMODULE dspManager_ = nullptr;
    HMODULE toolbox_ = nullptr;
    HMODULE plugIn_ = nullptr;
    DaeControl* engineControl_ = nullptr;
    DaeObjectTrackerControl* trackerControl_ = nullptr;
    HostExtControl* toolboxControl_ = nullptr;
    DsiControl* cardLibraryControl_ = nullptr;
    DSPManagerControl* dspManagerControl_ = nullptr;
};

} // namespace kestrune::host::rtas
