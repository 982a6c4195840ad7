#pragma once
// The test side of the stand-in engine (DAE.dll).
//
// KestruneDaeStandIn() gives the engine's control; a test that loads DAE.dll at run time
// reaches it with GetProcAddress(module, kDaeControlEntry). Every operation is virtual, so
// a test needs no link to the library.
//
// A reset engine: every gestalt selector unanswered except 'pisi' (the PISI service, version
// 2), the engine alive, no servers, objects, names, tokens, MIDI clients or open and close
// procedures, connection preparation closed, no calls recorded and nothing scripted.
// Every Fic* call is recorded under its own name, and each one takes injectFailure: a routine
// with a result code returns the injected code; FicNewServer and FicNewObject return 0;
// FicIsAlive answers 0. FicPrepareForConnectionsStatus takes scriptResult.
// The PISI service's operations are recorded as "PISI.GetVersion", "PISI.NewLock", ... and
// "PISI.NewLock" / "PISI.NewNamedLock" (no lock made) and "PISI.TryLock" (not taken) take
// injectFailure.
// SDS names: a reserved name gets the next ID from 100 on; the root's ID is 1.

#include <abi/DAE.h>

#include "StandInScript.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

struct DaeListener
{
    int32_t nameId = 0;
    uint32_t type = 0;
    uint32_t subType = 0;
    int32_t goal = 0;
    uint8_t critical = 0;
    uint8_t latest = 0;
    void* taskValue = nullptr;
    FicObjectRef task = 0;
    uint32_t protocol = 0;
    uint32_t manufacturer = 0;
};

struct DaeObject
{
    FicObjectRef ref = 0;
    FicObjectRef server = 0; // 0 for a server itself
    uint32_t standardType = 0; // 0 for a server
    DaeListener listener; // the settings of an SDS listener
};

struct DaeLock
{
    std::string name; // empty for an unnamed lock
    bool named = false;
    int depth = 0; // levels held now
    bool disposed = false;
};

class DaeControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    virtual void setGestalt (uint32_t selector, int32_t response) = 0;
    virtual void removeGestalt (uint32_t selector) = 0;
    virtual void setAlive (bool alive) = 0;
    virtual void setPISIVersion (int32_t version) = 0;
    virtual const SPISIService* pisiService() = 0;
    virtual std::vector<DaeLock> locks() = 0;

    virtual std::vector<DaeObject> liveObjects() = 0;
    // The standard type that FicFindStandardType answers for a number.
    virtual uint32_t standardType (int32_t number) = 0;

    // SDS names: the ID of a reserved name (length-prefixed names are given here as text).
    virtual std::optional<int32_t> nameId (int32_t parentId, const std::string& name) = 0;
    virtual size_t reservedNameCount() = 0;

    // SDS tokens: a token queued for a task is handed out by FicSDSGetTokenAndTaskVal. A dispatched
    // token is kept (dispatchedTokens) and queued for every listener that hears it (abi/DAE.h).
    virtual void queueToken (FicObjectRef task, void* taskValue, std::vector<uint8_t> token) = 0;
    virtual size_t queuedTokens() = 0; // queued and not yet handed out
    virtual std::vector<std::vector<uint8_t>> dispatchedTokens() = 0;
    virtual size_t tokensHandedOut() = 0; // handed out and not yet given back

    virtual bool connectionsPrepared() = 0;
    virtual std::vector<void*> midiClients() = 0;

    // The procedures given to SetPlugInOpenAndCloseProcs (null until then).
    virtual bool offersOpenAndCloseProcs() = 0; // false in the engine build without it
    virtual PlugInOpenProc openProc() = 0;
    virtual PlugInCloseProc closeProc() = 0;

protected:
    ~DaeControl() = default;
};

inline constexpr const char* kDaeControlEntry = "KestruneDaeStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::DaeControl* KestruneDaeStandIn();
