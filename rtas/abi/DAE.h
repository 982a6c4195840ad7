#pragma once
// The host engine's services (DAE.dll) that the RTAS library calls, and the records they pass.
//
// Every function is a plain C export of DAE.dll with the default calling convention of the
// build. Results are 16-bit codes, 0 for success. The library leaves these imports unresolved
// and they bind at first use against the engine that the host has loaded (globally visible),
// like delay-loaded imports.
//
// Engine objects (servers, SDS tasks and listeners) are 32-bit references, 0 for none.
// SDS names are length-prefixed strings (a length byte and up to 255 characters).

#include "HostTypes.h"

using FicObjectRef = int32_t;

#pragma pack(push, 2)

// The plug-in spec record that FicCreatePlugInSpec fills. Bytes 32, 36 and 40 hold the
// manufacturer, product and plug-in IDs, byte 48 a 32-bit instance word; the rest is the
// engine's own (the stand-in engine writes its signature and a serial number at bytes 0 and 4).
struct SFicPlugInSpec
{
    uint32_t fEngineSignature;
    uint32_t fEngineSerial;
    uint8_t fEngineReserved[24];
    uint32_t fManufacturerID;
    uint32_t fProductID;
    uint32_t fPlugInID;
    uint32_t fReserved44;
    uint32_t fInstanceWord;
};

// The header of a host chunk record; the chunk's data follows at byte 56.
struct SFicPlugInChunk
{
    int32_t fSize; // header plus data
    int32_t fVersion;
    uint32_t fManufacturerID;
    uint32_t fProductID;
    uint32_t fPlugInID;
    uint32_t fChunkID;
    uint8_t fName[32]; // length-prefixed chunk name
    uint8_t fData[1];
};

// The host's time-code information: two 32-bit words.
struct SFicTimeCodeInfo
{
    int32_t fFirst;
    int32_t fSecond;
};

// The stem formats of a process: input, output and a third word (-100 for none).
struct SFicPlugInStemFormats
{
    int32_t fInputFormat;
    int32_t fOutputFormat;
    int32_t fThirdWord;
};

// One connection group (stem) of a process, as the host asks for it by index: whether the entry
// is there (1) or not (0), its first connection index, its stem-format index and its name
// (zero-terminated, at most 255 characters).
struct SFicPlugInStemInfo
{
    int32_t fPresent;
    int32_t fFirstConnectionIndex;
    int32_t fStemFormatIndex;
    char fName[256];
};

// A ramp of one control's automation: the values at its two ends and the samples it spans.
struct SFicAutoTimeRampData
{
    int32_t fStartValue;
    int32_t fEndValue;
    uint32_t fStartSample;
    uint32_t fSampleCount;
};

// A region of the host's timeline: its first sample and its length in samples (64-bit each, as
// high and low words), and the region's identifier.
struct SASPRegion
{
    uint32_t fStartHigh;
    uint32_t fStartLow;
    uint32_t fLengthHigh;
    uint32_t fLengthLow;
    int32_t fRegionID;
};

#pragma pack(pop)

static_assert (sizeof (SFicPlugInSpec) == 52);
static_assert (offsetof (SFicPlugInSpec, fManufacturerID) == 32);
static_assert (offsetof (SFicPlugInSpec, fProductID) == 36);
static_assert (offsetof (SFicPlugInSpec, fPlugInID) == 40);
static_assert (offsetof (SFicPlugInSpec, fInstanceWord) == 48);
static_assert (offsetof (SFicPlugInChunk, fChunkID) == 20);
static_assert (offsetof (SFicPlugInChunk, fName) == 24);
static_assert (offsetof (SFicPlugInChunk, fData) == 56);
static_assert (sizeof (SFicTimeCodeInfo) == 8);
static_assert (sizeof (SFicPlugInStemFormats) == 12);
static_assert (offsetof (SFicPlugInStemFormats, fOutputFormat) == 4);
static_assert (offsetof (SFicPlugInStemFormats, fThirdWord) == 8);
static_assert (sizeof (SFicPlugInStemInfo) == 268);
static_assert (offsetof (SFicPlugInStemInfo, fFirstConnectionIndex) == 4);
static_assert (offsetof (SFicPlugInStemInfo, fStemFormatIndex) == 8);
static_assert (offsetof (SFicPlugInStemInfo, fName) == 12);
static_assert (sizeof (SFicAutoTimeRampData) == 16);
static_assert (offsetof (SFicAutoTimeRampData, fEndValue) == 4);
static_assert (offsetof (SFicAutoTimeRampData, fStartSample) == 8);
static_assert (offsetof (SFicAutoTimeRampData, fSampleCount) == 12);
static_assert (sizeof (SASPRegion) == 20);
static_assert (offsetof (SASPRegion, fStartLow) == 4);
static_assert (offsetof (SASPRegion, fLengthHigh) == 8);
static_assert (offsetof (SASPRegion, fLengthLow) == 12);
static_assert (offsetof (SASPRegion, fRegionID) == 16);

// The engine information service, answered by FicGestalt for 'pisi' as the address of this
// record. Its first operation gives the service's version (the library uses no lock below 1 and
// named locks from 2 on). Locks are recursive, owned by the caller and disposed of by it.
using PISILockRef = void*;
struct SPISIService
{
    int32_t (*GetVersion)();
    PISILockRef (*NewLock)();
    PISILockRef (*NewNamedLock) (const char* name);
    void (*Lock) (PISILockRef lock);
    uint8_t (*TryLock) (PISILockRef lock); // 1 when the lock was taken
    void (*Unlock) (PISILockRef lock);
    void (*DisposeLock) (PISILockRef lock);
};

// Gestalt selectors the library asks for.
inline constexpr uint32_t kFicGestaltPISI = 0x70697369; // 'pisi': SPISIService*
inline constexpr uint32_t kFicGestaltHostSDS = 0x68736473; // 'hsds': SDS available
inline constexpr uint32_t kFicGestaltPrecHook = 0x70726563; // 'prec': a routine int16_t(*)()
inline constexpr uint32_t kFicGestaltVariableQuanta = 0x76717461; // 'vqta'
inline constexpr uint32_t kFicGestaltConnectionManager = 0x636d7663; // 'cmvc'
inline constexpr uint32_t kFicGestaltFastHardware = 0x66736877; // 'fshw'

// Engine result codes that the stand-in engine reports.
inline constexpr int16_t kFicErrUnknownSelector = -5551;
inline constexpr int16_t kFicErrBadArgument = -9070;
inline constexpr int16_t kFicErrUnknownObject = -9071;
inline constexpr int16_t kFicErrNameInUse = -9072;
inline constexpr int16_t kFicErrUnknownName = -9073;
inline constexpr int16_t kFicErrUnknownToken = -9074;
inline constexpr int16_t kFicErrClientInUse = -9075;

// The open and close procedures that the plug-in hands to the engine when the engine offers
// "SetPlugInOpenAndCloseProcs" (found at run time; older engines lack it).
using PlugInOpenProc = int16_t (*)();
using PlugInCloseProc = int16_t (*)();
using SetPlugInOpenAndCloseProcsProc = void (*) (PlugInOpenProc open, PlugInCloseProc close);
inline constexpr const char* kSetPlugInOpenAndCloseProcsName = "SetPlugInOpenAndCloseProcs";

extern "C"
{
    // Engine queries: 0 means the response is valid.
    int16_t FicGestalt (uint32_t selector, int32_t* response);

    // Engine objects.
    uint8_t FicIsAlive();
    FicObjectRef FicNewServer();
    uint32_t FicFindStandardType (FicObjectRef server, int32_t number);
    FicObjectRef FicNewObject (FicObjectRef server, uint32_t standardType);
    int16_t FicDelete (FicObjectRef object);
    int16_t FicPersonalityDoIdle();

    // Plug-in specs.
    int16_t FicCreatePlugInSpec (uint32_t manufacturerID, uint32_t productID, uint32_t plugInID,
                                 SFicPlugInSpec* spec);

    // Stream data service: names. A parent of 0 is the root; FicSDSGetNameId(0, "", id) gives the
    // root's own ID. FicSDSFreeName with a null name frees the parent name itself.
    int16_t FicSDSReserveName (int32_t parentId, ConstStr255Param name, int32_t* nameId);
    int16_t FicSDSGetNameId (int32_t parentId, ConstStr255Param name, int32_t* nameId);
    int16_t FicSDSFreeName (int32_t parentId, ConstStr255Param name);

    // Stream data service: the ten listener setters (the listener is an SDS object).
    int16_t FicSDSSetListenerName (FicObjectRef listener, int32_t nameId);
    int16_t FicSDSSetListenerType (FicObjectRef listener, uint32_t type);
    int16_t FicSDSSetListenerSubType (FicObjectRef listener, uint32_t subType);
    int16_t FicSDSSetListenerGoal (FicObjectRef listener, int32_t goal);
    int16_t FicSDSSetListenerCritical (FicObjectRef listener, uint8_t critical);
    int16_t FicSDSSetListenerLatest (FicObjectRef listener, uint8_t latest);
    int16_t FicSDSSetListenerTaskVal (FicObjectRef listener, void* taskValue);
    int16_t FicSDSSetListenerTask (FicObjectRef listener, FicObjectRef task);
    int16_t FicSDSSetListenerProtocol (FicObjectRef listener, uint32_t protocol);
    int16_t FicSDSSetListenerManufacturer (FicObjectRef listener, uint32_t manufacturer);

    // Stream data service: tokens. A token is a byte record whose 16-bit total length is at byte 36.
    // FicSDSGetTokenAndTaskVal answers 0 and a null token when the task has none queued; each token
    // handed out is given back with FicSDSDoneWithToken.
    int16_t FicSDSGetTokenAndTaskVal (FicObjectRef task, uint8_t** token, void** taskValue);
    int16_t FicSDSDispatchToken (const uint8_t* token);
    int16_t FicSDSDoneWithToken (uint8_t* token);

    // Talkers and listeners of a plug-in's audio ports.
    int16_t FicDeactivateListener (const SFicPlugInSpec* spec, int16_t port);
    int16_t FicReactivateListener (const SFicPlugInSpec* spec, int16_t port);
    int16_t FicDeactivateTalker (const SFicPlugInSpec* spec, int16_t port);
    int16_t FicReactivateTalker (const SFicPlugInSpec* spec, int16_t port);

    // Connection preparation: flag 1 opens it, 0 closes it; the status is 1 while it is open.
    int16_t FicPrepareForConnections (int32_t reserved, int16_t flag);
    int16_t FicPrepareForConnectionsStatus (int32_t reserved);

    // DirectMIDI clients. The client record belongs to the caller.
    int16_t FicRegisterDirectMIDIClient (void* client, void* object, const SFicPlugInSpec* spec, void* context);
    int16_t FicUnRegisterDirectMIDIClient (void* client);

} // extern "C"
