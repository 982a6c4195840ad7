#pragma once
// The host's object tracker: the engine's record of the plug-in objects that describe themselves
// to it (groups, types, plug-ins, ports, controls, workers and data blocks), and the records
// with which the engine calls a plug-in's render callback.
//
// The plug-in obtains the tracker through the host callback: request 18, no component, and the
// address of a pointer into which the host writes the address of its routine record. Each
// object registers with its kind when it is built, unregisters when it is destroyed and
// publishes its description as 32-bit words (the first word is always 1). Pointers travel as
// one word. Every routine is stdcall and answers a 16-bit code in 32 bits, 0 for success.

#include "HostTypes.h"

// The host callback's request for the tracker.
inline constexpr int16_t kHostRequestObjectTracker = 18;

#define KESTRUNE_TRACKER_CALL __attribute__ ((stdcall))

// The kind of a registered object.
enum class ETrackedKind : int32_t
{
    kPlugInGroup = 1,
    kPlugInType = 2,
    kPlugIn = 3,
    kPlugInInput = 4,
    kPlugInOutput = 5,
    kPlugInControl = 6,
    kPlugInWorker = 7,
    kPlugInData = 8
};

// The host's routines, in the tracker's table order. Publish may write host addresses through
// pointer words of the description (a data block's published-block pointer).
struct SObjectTrackerRoutines
{
    int32_t (KESTRUNE_TRACKER_CALL* Register) (void* object, int32_t kind);
    int32_t (KESTRUNE_TRACKER_CALL* Unregister) (void* object);
    int32_t (KESTRUNE_TRACKER_CALL* Publish) (void* object, const int32_t* words, int32_t wordCount);
};

// Descriptions, word by word:
//   plug-in   1, five spec words, inputs (count, ports), outputs (count, ports), workers (count, workers)
//   state     1, 2 (publishing begins) or 1, 3 (publishing ends), published for the plug-in
//   port      1, owning plug-in, port number
//   worker    1, render callback, 4, four lists (count, elements; the first holds the worker's
//             data blocks), user word, state word
//   data      1, kind, declared size in bytes, address of the published-block pointer
inline constexpr int32_t kDescriptionVersion = 1;
inline constexpr int32_t kPlugInStatePublishing = 2;
inline constexpr int32_t kPlugInStatePublished = 3;
inline constexpr int32_t kWorkerListCount = 4;

// A plug-in's render callback, as the engine calls it on its real-time thread.
using PlugInRenderCallback = int32_t (KESTRUNE_TRACKER_CALL*) (void* instance, void* context);

#pragma pack(push, 2)

// The instance record of a render call: word 2 is the published block of the worker's first data
// block; from word 3 on (RenderChannelCells), one pointer per channel to the host's cell that
// holds the channel's buffer pointer: the inputs, the side-chain when there is one, the outputs.
// The plug-in may point an output's cell at the silent buffer.
struct SRenderInstance
{
    int32_t fReserved[2];
    void* fUserData;
};

// A host cell holding one channel's buffer pointer.
using RenderChannelCell = float*;

// The context record of a render call.
struct SRenderContext
{
    int32_t fReserved0[3];
    float* fSilentBuffer;
    int32_t fReserved4[17];
    int32_t fFrameCount; // for the render operation
    int32_t fVariableBlockSize;
};

// A process's connection record, which the render callbacks fill before each block.
struct SConnectionRecord
{
    float* fBuffer;
    int32_t fSampleCount;
};

#pragma pack(pop)

static_assert (sizeof (SObjectTrackerRoutines) == 12);
static_assert (offsetof (SRenderInstance, fUserData) == 8);
static_assert (sizeof (SRenderInstance) == 12);
static_assert (offsetof (SRenderContext, fSilentBuffer) == 12);
static_assert (offsetof (SRenderContext, fFrameCount) == 84);
static_assert (offsetof (SRenderContext, fVariableBlockSize) == 88);
static_assert (sizeof (SRenderContext) == 92);
static_assert (offsetof (SConnectionRecord, fSampleCount) == 4);
static_assert (sizeof (SConnectionRecord) == 8);

// The channel cells that follow an instance record's header.
inline RenderChannelCell** RenderChannelCells (SRenderInstance& instance)
{
    return reinterpret_cast<RenderChannelCell**> (&instance + 1);
}
