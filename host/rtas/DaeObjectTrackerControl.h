#pragma once
// The test side of the stand-in engine's object tracker (part of DAE.dll).
//
// KestruneDaeObjectTracker() gives the control; a test that loads DAE.dll at run time reaches it
// with GetProcAddress(module, kDaeObjectTrackerEntry). Resetting the engine resets the tracker.
//
// The engine hands its tracker out through its host callback (hostCallback()), which a host
// gives the plug-in's group (routine selector 14): request 18 writes the address of the
// tracker's routine record through the block pointer and answers 0; every other request is
// answered with kFicErrUnknownSelector. A reset tracker: offered, no objects, no data blocks,
// no calls recorded, nothing scripted.
//
// Recorded: "HostCallback" {request}, "Tracker.Register" {object, kind}, "Tracker.Unregister"
// {object}, "Tracker.Publish" {object, word count}. injectFailure on each of these names makes
// the call answer the code and keep nothing.
//
// What the tracker keeps of a publication:
// - {1, s}: the object's state s (a plug-in brackets its publishing with 2 and 3).
// - a data object's (kind 8) {1, kind, size, address of its published-block pointer}: the
//   tracker gives the object a zeroed block of that size (1 to 65536 bytes), kept while the
//   object is registered and reused while the size stays, and writes the block's address
//   through the pointer. Any other data description is refused (kFicErrBadArgument).
// - any other description is kept as the object's last description; a plug-in's (kind 3) and a
//   worker's (kind 7) are read as their layouts (abi/ObjectTracker.h), and a description that
//   does not read as its layout is refused (kFicErrBadArgument) and not kept.
// Unknown objects answer kFicErrUnknownObject, a second registration kFicErrClientInUse.

#include <abi/DAE.h>
#include <abi/ObjectTracker.h>

#include "StandInScript.h"

#include <array>
#include <optional>
#include <vector>

namespace kestrune::host::rtas
{

using StandInHostCallback = int16_t (__attribute__ ((stdcall)) *) (int16_t request, void* component, char** block);

struct TrackedObject
{
    void* object = nullptr;
    int32_t kind = 0;
    int32_t state = 0; // the last {1, s} publication; 0 before any
    std::vector<int32_t> description; // the last description
    size_t publications = 0;
};

struct TrackedPlugIn
{
    std::array<int32_t, 5> spec {};
    std::vector<void*> inputs;
    std::vector<void*> outputs;
    std::vector<void*> workers;
};

struct TrackedWorker
{
    PlugInRenderCallback callback = nullptr;
    std::vector<void*> dataObjects; // the first list
    const void* userWord = nullptr;
    int32_t state = 0;
};

class DaeObjectTrackerControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    virtual StandInHostCallback hostCallback() = 0;
    virtual const SObjectTrackerRoutines* routines() = 0;
    // When false, request 18 answers 0 but hands out no tracker.
    virtual void setOffersTracker (bool offers) = 0;

    // Registered objects in registration order.
    virtual std::vector<TrackedObject> liveObjects() = 0;
    virtual std::optional<TrackedObject> object (void* object) = 0;
    virtual std::optional<TrackedPlugIn> plugIn (void* object) = 0;
    virtual std::optional<TrackedWorker> worker (void* object) = 0;
    // The block the tracker gave a data object; null when none.
    virtual void* dataBlock (void* dataObject) = 0;

    // Renders one block as the engine does: calls the worker's callback with an instance record
    // {0, 0, the published block of the worker's first data object, the cells} and a context
    // record that holds the silent buffer, the frame count and the variable block size. The
    // callback's answer; kFicErrUnknownObject when the worker, its callback or its first data
    // object's block is missing.
    virtual int32_t render (void* worker, const std::vector<RenderChannelCell*>& cells, int32_t frameCount,
                            int32_t variableBlockSize) = 0;
    // The engine's silent buffer (kSilentBufferFrames zeroes).
    virtual const float* silentBuffer() = 0;

protected:
    ~DaeObjectTrackerControl() = default;
};

inline constexpr int32_t kSilentBufferFrames = 4096;
inline constexpr const char* kDaeObjectTrackerEntry = "KestruneDaeObjectTracker";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::DaeObjectTrackerControl* KestruneDaeObjectTracker();
