#pragma once
// The host's card library (DSI.dll) as the library meets it: the card, DSP and shell records it
// hands out, the functions imported by name, and the calling convention of the entry points that
// are bound by name at run time (DSIBinding.h).
//
// The imported functions are plain C exports of DSI.dll; like the engine's, the library leaves
// them unresolved and they bind against the card library that the host has loaded. The run-time
// entry points use the standard calling convention that their decorated names ("_Name@<bytes of
// arguments>") stand for.
//
// Records are the library's (packed on 2-byte boundaries, 32-bit fields and pointers). The
// library reads only the fields named below; the others are DSI.dll's own.

#include <cstddef>
#include <cstdint>

#define KESTRUNE_DSI_CALL __attribute__ ((stdcall))

struct DSIDSPRecord;
struct DSIShellRecord;

// A shell's host-code handler answers a 16-bit selector with a host callback (or null).
using DSIHostCallback = void (*)();
using DSIHostCodeHandler = DSIHostCallback (*) (int16_t selector);

#pragma pack(push, 2)

// A card: next card at the first field, kind at the fourth, revision at the fifth, card index at
// the tenth; the client fields and the card's DSPs are DSI.dll's.
struct DSICardRecord
{
    DSICardRecord* fNext;
    void* fClient;
    void* fClientValue;
    int32_t fKind;
    int32_t fRevision;
    DSIDSPRecord* fFirstDSP;
    int32_t fDSPCount;
    int32_t fReserved[2];
    int32_t fCardIndex;
};

// The DSP information record (its bytes are the DSP's host-port registers on the register road).
struct DSIDSPInfoRecord
{
    uint8_t fBytes[80];
};

// A DSP: next DSP, client, client value and card at the first four fields, the information
// record from the fifteenth field on, and a flags word at byte 140 (bit 9: a DSP 321 chip).
struct DSIDSPRecord
{
    DSIDSPRecord* fNext;
    void* fClient;
    void* fClientValue;
    DSICardRecord* fCard;
    DSIShellRecord* fShell;
    int32_t fCoreType;
    int32_t fReserved[8];
    DSIDSPInfoRecord fInfo;
    int32_t fReserved136;
    uint32_t fFlags;
};

// A shell: 286 bytes, of which the library reads only the code pointer.
struct DSIShellRecord
{
    uint32_t fID;
    int32_t fIsStandard;
    int32_t fMaxLocation;
    void* fDSPCode;
    DSIHostCodeHandler fHostCodeHandler;
    void* fClient;
    void* fClientValue;
    DSIShellRecord* fNext; // the next shell of the driver's list
    uint8_t fReserved[254];
};

#pragma pack(pop)

static_assert (offsetof (DSICardRecord, fNext) == 0);
static_assert (offsetof (DSICardRecord, fKind) == 12);
static_assert (offsetof (DSICardRecord, fRevision) == 16);
static_assert (offsetof (DSICardRecord, fCardIndex) == 36);
static_assert (sizeof (DSIDSPInfoRecord) == 80);
static_assert (offsetof (DSIDSPRecord, fClient) == 4);
static_assert (offsetof (DSIDSPRecord, fClientValue) == 8);
static_assert (offsetof (DSIDSPRecord, fCard) == 12);
static_assert (offsetof (DSIDSPRecord, fInfo) == 56);
static_assert (offsetof (DSIDSPRecord, fFlags) == 140);
static_assert (sizeof (DSIShellRecord) == 286);

inline constexpr uint32_t kDSIFlagDSP321 = 1u << 9;

extern "C"
{
    // Starts the card driver: 0 when it is ready.
    int16_t InitSADriver();
    // The first record of the driver's card, DSP and standard shell lists (null when empty).
    DSICardRecord* GetCardList();
    DSIDSPRecord* GetDSPList();
    DSIShellRecord* GetShellList();

} // extern "C"
