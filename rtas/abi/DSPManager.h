#pragma once
// The host's DSP manager (DSPManager.dll).
//
// GetDSPManager(group) hands out the manager with one reference for the caller, or null when
// the host has none. The manager is a reference-counted host object:
//   - its first operation gives the group registrar (one reference added), through which a DSP
//     process group registers itself and gets a cookie back;
//   - QueryInterface with IID_IDSPManagerClient gives the client interface: the manager's
//     version, critical regions (unnamed from version 1, named from version 2) and the
//     register / accept / unregister steps of every DSP process instance.
// Objects passed in (process groups, process interfaces) are the library's; the manager only
// keeps their addresses.

#include "HostTypes.h"

using DSPCriticalRegionRef = void*;

class IDSPGroupRegistrar : public IHostUnknown
{
public:
    virtual int32_t RegisterGroup (void* processGroup, int32_t* cookie) = 0;
    virtual int32_t UnregisterGroup (int32_t cookie) = 0;

protected:
    ~IDSPGroupRegistrar() = default;
};

class IDSPManager : public IHostUnknown
{
public:
    virtual IDSPGroupRegistrar* GetGroupRegistrar() = 0;

protected:
    ~IDSPManager() = default;
};

// Operations in slot order after the three reference-counting ones: 1 version, 2 new unnamed
// region, 3 delete region, 4 enter, 5 try to enter, 6 leave, 7 new named region, then the
// process steps. Regions are recursive for the thread that holds them.
class IDSPManagerClient : public IHostUnknown
{
public:
    virtual int32_t GetVersion() = 0;
    virtual DSPCriticalRegionRef NewCriticalRegion() = 0;
    virtual int32_t DeleteCriticalRegion (DSPCriticalRegionRef region) = 0;
    virtual int32_t EnterCriticalRegion (DSPCriticalRegionRef region) = 0;
    virtual int32_t TryEnterCriticalRegion (DSPCriticalRegionRef region) = 0; // 0 when entered
    virtual int32_t LeaveCriticalRegion (DSPCriticalRegionRef region) = 0;
    virtual DSPCriticalRegionRef NewNamedCriticalRegion (const char* name) = 0;
    virtual int32_t RegisterProcess (void* process) = 0;
    virtual int32_t AcceptProcess (void* process) = 0;
    virtual int32_t UnregisterProcess (void* process) = 0;

protected:
    ~IDSPManagerClient() = default;
};

// {27B87CA0-2294-11D2-817A-0160089A8916}
inline constexpr HostGUID IID_IDSPManagerClient = {
    0x27B87CA0,
    0x2294,
    0x11D2,
    { 0x81, 0x7A, 0x01, 0x60, 0x08, 0x9A, 0x89, 0x16 }
};
// The manager's and the registrar's own identifiers.
inline constexpr HostGUID IID_IDSPManager = {
    0x4B535452,
    0x0001,
    0x4D47,
    { 0x81, 0x7A, 0x4B, 0x45, 0x53, 0x54, 0x00, 0x01 }
};
inline constexpr HostGUID IID_IDSPGroupRegistrar = {
    0x4B535452,
    0x0002,
    0x4D47,
    { 0x81, 0x7A, 0x4B, 0x45, 0x53, 0x54, 0x00, 0x02 }
};

// Manager result codes that the stand-in reports.
inline constexpr int32_t kDSPManagerErrUnknownRegion = -9081;
inline constexpr int32_t kDSPManagerErrNotHeld = -9082;
inline constexpr int32_t kDSPManagerErrRegionBusy = -9083;
inline constexpr int32_t kDSPManagerErrUnknownProcess = -9084;
inline constexpr int32_t kDSPManagerErrUnknownCookie = -9085;
inline constexpr int32_t kDSPManagerErrNoRegions = -9086;

extern "C" IDSPManager* GetDSPManager (int32_t group);
