#pragma once
// The test side of the stand-in DSP manager (DSPManager.dll).
//
// KestruneDSPManagerStandIn() gives the control; a test that loads DSPManager.dll at run time
// reaches it with GetProcAddress(module, kDSPManagerControlEntry).
//
// A reset manager: available, version 2, no references held, no regions, groups or processes,
// no calls recorded and nothing scripted. The manager, its group registrar and its client are
// one host object with one reference count.
// Recorded calls: "GetDSPManager" (argument: the group), "Manager.QueryInterface",
// "Manager.GetGroupRegistrar", "Registrar.RegisterGroup", "Registrar.UnregisterGroup",
// "Client.GetVersion", "Client.NewCriticalRegion", "Client.NewNamedCriticalRegion" (text: the
// name), "Client.DeleteCriticalRegion", "Client.EnterCriticalRegion",
// "Client.TryEnterCriticalRegion", "Client.LeaveCriticalRegion", "Client.RegisterProcess",
// "Client.AcceptProcess", "Client.UnregisterProcess".
// injectFailure: "GetDSPManager" and the two region creations give null; "Manager.QueryInterface"
// answers no interface; every other operation with a result returns the injected code (an
// accept refused this way leaves the process registered but not accepted).
// Regions: none below version 1; unnamed ones from version 1, named ones from version 2. A region
// is a recursive lock with an owner: its holder enters again at once, any other thread waits
// (or, trying, is refused), and only the holder may leave it.

#include <abi/DSPManager.h>

#include "StandInScript.h"

#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kestrune::host::rtas
{

struct DSPRegion
{
    std::string name; // empty for an unnamed region
    bool named = false;
    int depth = 0; // levels held now
    std::thread::id owner; // the thread that holds it; none while it is free
    bool deleted = false;
};

class DSPManagerControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    virtual void setAvailable (bool available) = 0;
    virtual void setVersion (int32_t version) = 0;
    // References the users hold on the manager object now (handed out minus released).
    virtual int32_t references() = 0;

    virtual std::vector<DSPRegion> regions() = 0;
    virtual std::vector<void*> registeredProcesses() = 0;
    virtual std::vector<void*> acceptedProcesses() = 0;
    virtual std::vector<std::pair<void*, int32_t>> registeredGroups() = 0; // group, cookie

protected:
    ~DSPManagerControl() = default;
};

inline constexpr const char* kDSPManagerControlEntry = "KestruneDSPManagerStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::DSPManagerControl* KestruneDSPManagerStandIn();
