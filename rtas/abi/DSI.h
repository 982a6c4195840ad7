#pragma once
// The host's card library (DSI.dll): the card, DSP and shell records it hands out, the host-port
// registers behind a DSP, the callbacks a loaded shell asks for, and the one table of every
// function of the library that the plug-in library calls.
//
// Functions. KESTRUNE_DSI_LIBRARY is the only list of them; the plug-in library's declarations
// and run-time binding and the stand-in library's exports are all generated from it, so they
// cannot drift apart. Three kinds:
//   - IMPORTED(role, result, parameters): plain C exports imported by name; the plug-in library
//     leaves them unresolved and they bind against the card library the host has loaded.
//   - SHELL(selector, role, parameters, arguments): the shell services, exported as the C
//     function S<role>(DSP, parameters...) with a 16-bit status; the host-callback selector that
//     asks the plug-in for the same service comes first.
//   - BOUND(role, decorated name, parameters, arguments): the newer entry points, which an older
//     DSI.dll may lack, bound by their decorated names ("_Name@<bytes of arguments>") at run time;
//     standard calling convention, a 32-bit status.
//
// Records are the library's (packed on 2-byte boundaries, 32-bit fields and pointers). The
// plug-in library reads only the fields named below; the others are DSI.dll's own.

#include <cstddef>
#include <cstdint>

#define KESTRUNE_DSI_CALL __attribute__ ((stdcall))

struct DSIDSPRecord;
struct DSIShellRecord;

// A shell's host-code handler answers a 16-bit selector with a host callback (or null); the
// driver calls the callback as the function type of the same selector's shell service.
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

// The DSP information record. On the register road its bytes are the DSP's host-port registers
// (DSIHostPortBytes); on an Onyx DSP it begins with the addresses of its five 32-bit registers
// (DSIOnyxPort).
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
    DSIShellRecord* fShell; // the shell loaded into the DSP
    int32_t fCoreType;
    int32_t fReserved[8];
    DSIDSPInfoRecord fInfo;
    int32_t fReserved136;
    uint32_t fFlags;
};

// A shell: 286 bytes, of which the plug-in library reads only the code pointer.
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

// A word of the host port: its low 24 bits, sign-extended (worked out unsigned).
constexpr int32_t DSISignExtend24 (uint32_t word)
{
    word &= 0xFFFFFFu;
    if ((word & 0x800000u) != 0)
        word |= 0xFF000000u;
    return static_cast<int32_t> (word);
}
static_assert (DSISignExtend24 (0x800001u) == -8388607);
static_assert (DSISignExtend24 (0xFF7FFFFFu) == 0x7FFFFF);

// The byte registers of the host port: each the last byte of a 32-bit word of the information
// record.
namespace DSIHostPortBytes
{
inline constexpr int kControl = 3;
inline constexpr int kCommandVector = 7;
inline constexpr int kStatus = 11;
inline constexpr int kInterruptVector = 15;
inline constexpr int kDataHigh = 23;
inline constexpr int kDataMiddle = 27;
inline constexpr int kDataLow = 31;

inline constexpr uint8_t kStatusReceiveFull = 0x01;
inline constexpr uint8_t kStatusTransmitEmpty = 0x02;
inline constexpr uint8_t kStatusPortEmpty = 0x04; // checked before a command
inline constexpr uint8_t kCommandPending = 0x80; // in the command-vector register
} // namespace DSIHostPortBytes

// The Onyx host port: the information record begins with the addresses of its five 32-bit
// registers, in this order.
namespace DSIOnyxPort
{
inline constexpr int kControl = 0;
inline constexpr int kStatus = 1;
inline constexpr int kCommand = 2;
inline constexpr int kTransmit = 3;
inline constexpr int kReceive = 4;
inline constexpr int kRegisterCount = 5;

inline constexpr uint32_t kStatusCommandReady = 0x01;
inline constexpr uint32_t kStatusTransmitEmpty = 0x02;
inline constexpr uint32_t kStatusReceiveFull = 0x04;
inline constexpr uint32_t kCommandPending = 0x01; // in the command register
// Control flags 0x08, 0x10, 0x20 are the driver's host bits 4, 5 and 6.
inline constexpr int kFirstFlagHostBit = 4;
inline constexpr int kFirstFlagShift = 3;
} // namespace DSIOnyxPort

// Helpers of the table: a shell service's parameters after its DSP.
#define KESTRUNE_DSI_AFTER_DSP(...) __VA_OPT__ (, ) __VA_ARGS__

// clang-format off
#define KESTRUNE_DSI_LIBRARY(IMPORTED, SHELL, BOUND) \
    /* Imported by name. */ \
    IMPORTED (InitSADriver, int16_t, ()) /* 0 when the driver is ready */ \
    IMPORTED (GetCardList, DSICardRecord*, ()) \
    IMPORTED (GetDSPList, DSIDSPRecord*, ()) \
    IMPORTED (GetShellList, DSIShellRecord*, ()) /* the standard shell list */ \
    IMPORTED (DsiLoadShell, int16_t, (DSIDSPRecord * dsp, DSIShellRecord * shell)) \
    IMPORTED (ResetDSP, int16_t, (DSIDSPRecord * dsp)) \
    /* Block transfers of 24-bit words (their low 24 bits), with a wait bound per word. */ \
    IMPORTED (DsiSendBlock, int16_t, (DSIDSPRecord * dsp, const int32_t* words, int32_t count, int32_t timeout)) \
    IMPORTED (DsiReceiveBlock, int16_t, (DSIDSPRecord * dsp, int32_t* words, int32_t count, int32_t timeout)) \
    /* Shell services (S<role>), by host-callback selector. */ \
    SHELL (256, GetXWord, (int32_t address, int32_t * word), (address, word)) \
    SHELL (257, GetYWord, (int32_t address, int32_t * word), (address, word)) \
    SHELL (258, GetPWord, (int32_t address, int32_t * word), (address, word)) \
    SHELL (259, ChangeXBits, (int32_t address, int32_t clearBits, int32_t setBits), (address, clearBits, setBits)) \
    SHELL (260, ChangeYBits, (int32_t address, int32_t clearBits, int32_t setBits), (address, clearBits, setBits)) \
    SHELL (261, ChangePBits, (int32_t address, int32_t clearBits, int32_t setBits), (address, clearBits, setBits)) \
    SHELL (262, Execute, (int16_t routine), (routine)) \
    SHELL (263, SetLeftRightBit, (int32_t value), (value)) \
    SHELL (264, GetControlLatch, (int32_t * value), (value)) \
    SHELL (265, SetControlLatch, (int32_t value), (value)) \
    SHELL (266, InitShell, (), ()) \
    SHELL (267, StartShell, (), ()) \
    SHELL (268, PauseShell, (), ()) \
    SHELL (269, ResumeShell, (), ()) \
    SHELL (270, SetInputDelay, (int32_t delay), (delay)) \
    SHELL (271, SetOutputDelay, (int32_t delay), (delay)) \
    SHELL (272, UpdateDSPPeripheral, (), ()) \
    SHELL (273, GetDSPCodeInfo, (int16_t selector, void* buffer), (selector, buffer)) \
    /* Bound by decorated name at run time, in binding order. */ \
    BOUND (IsDSP321, "_DsiIsDSP321@8", (DSIDSPRecord * dsp, int32_t * isDSP321), (dsp, isDSP321)) \
    BOUND (GetDSPCardIndex, "_DsiGetDSPCardIndex@8", (DSIDSPRecord * dsp, int32_t * index), (dsp, index)) \
    BOUND (IsPresto, "_DsiIsPresto@8", (DSIDSPRecord * dsp, int32_t * isPresto), (dsp, isPresto)) \
    BOUND (IsTDM2, "_DsiIsTDM2@8", (DSIDSPRecord * dsp, int32_t * isTDM2), (dsp, isTDM2)) \
    BOUND (GetCardTypeFromDSP, "_DsiGetCardTypeFromDSP@8", (DSIDSPRecord * dsp, int32_t * cardType), (dsp, cardType)) \
    BOUND (DSPToDriverType, "_DsiDSPToDriverType@8", (DSIDSPRecord * dsp, int32_t * driverType), (dsp, driverType)) \
    BOUND (GetNextDSP, "_DsiGetNextDSP@8", (DSIDSPRecord * dsp, DSIDSPRecord * *next), (dsp, next)) \
    BOUND (GetDSPClient, "_DsiGetDSPClient@8", (DSIDSPRecord * dsp, void** client), (dsp, client)) \
    BOUND (GetDSPClientVal, "_DsiGetDSPClientVal@8", (DSIDSPRecord * dsp, void** value), (dsp, value)) \
    BOUND (SetDSPClientVal, "_DsiSetDSPClientVal@8", (DSIDSPRecord * dsp, void* value), (dsp, value)) \
    BOUND (GetDSPShell, "_DsiGetDSPShell@8", (DSIDSPRecord * dsp, DSIShellRecord * *shell), (dsp, shell)) \
    BOUND (GetDSPInfoRecord, "_DsiGetDSPInfoRecord@8", (DSIDSPRecord * dsp, DSIDSPInfoRecord * info), (dsp, info)) \
    BOUND (GetDSPCoreType, "_DsiGetDSPCoreType@8", (DSIDSPRecord * dsp, int32_t * coreType), (dsp, coreType)) \
    BOUND (GetNextCard, "_DsiGetNextCard@8", (DSICardRecord * card, DSICardRecord * *next), (card, next)) \
    BOUND (GetCardClient, "_DsiGetCardClient@8", (DSICardRecord * card, void** client), (card, client)) \
    BOUND (SetCardClient, "_DsiSetCardClient@8", (DSICardRecord * card, void* client), (card, client)) \
    BOUND (GetCardClientVal, "_DsiGetCardClientVal@8", (DSICardRecord * card, void** value), (card, value)) \
    BOUND (SetCardClientVal, "_DsiSetCardClientVal@8", (DSICardRecord * card, void* value), (card, value)) \
    BOUND (GetCardType, "_DsiGetCardType@8", (DSICardRecord * card, int32_t * cardType), (card, cardType)) \
    BOUND (GetFirstDSPOnCard, "_DsiGetFirstDSPOnCard@8", (DSICardRecord * card, DSIDSPRecord * *dsp), (card, dsp)) \
    BOUND (GetNumDSPsOnCard, "_DsiGetNumDSPsOnCard@8", (DSICardRecord * card, int32_t * count), (card, count)) \
    BOUND (IsCardTDM2, "_DsiIsCardTDM2@8", (DSICardRecord * card, int32_t * isTDM2), (card, isTDM2)) \
    BOUND (DoHostCommand, "_DsiDoHostCommand@12", (DSIDSPRecord * dsp, int32_t vector, int32_t timeout), (dsp, vector, timeout)) \
    BOUND (DoHostCommandOnEmptyHostPort, "_DsiDoHostCommandOnEmptyHostPort@12", (DSIDSPRecord * dsp, int32_t command, int32_t timeout), (dsp, command, timeout)) \
    BOUND (DoHostCommandWithDataList, "_DsiDoHostCommandWithDataList@28", \
           (DSIDSPRecord * dsp, int32_t command, int32_t sendFirst, int32_t readCount, int32_t * readWords, int32_t sendCount, const int32_t* sendWords), \
           (dsp, command, sendFirst, readCount, readWords, sendCount, sendWords)) \
    BOUND (WaitHostBit, "_DsiWaitHostBit@16", (DSIDSPRecord * dsp, int32_t bit, int32_t value, int32_t timeout), (dsp, bit, value, timeout)) \
    BOUND (SendLo24of32, "_DsiSendLo24of32@12", (DSIDSPRecord * dsp, int32_t word, int32_t timeout), (dsp, word, timeout)) \
    BOUND (GetLo24ofS32, "_DsiGetLo24ofS32@12", (DSIDSPRecord * dsp, int32_t * word, int32_t timeout), (dsp, word, timeout)) \
    BOUND (SendLo24of32Check, "_DsiSendLo24of32Check@16", (DSIDSPRecord * dsp, int32_t word, int32_t timeout, int32_t * sent), (dsp, word, timeout, sent)) \
    BOUND (GetLo24ofS32Check, "_DsiGetLo24ofS32Check@16", (DSIDSPRecord * dsp, int32_t * word, int32_t timeout, int32_t * received), (dsp, word, timeout, received)) \
    BOUND (SetHostBit, "_DsiSetHostBit@12", (DSIDSPRecord * dsp, int32_t bit, int32_t value), (dsp, bit, value)) \
    BOUND (GetHostBit, "_DsiGetHostBit@12", (DSIDSPRecord * dsp, int32_t bit, int32_t * value), (dsp, bit, value)) \
    BOUND (CreateShell, "_DsiCreateShell@4", (DSIShellRecord * *shell), (shell)) \
    BOUND (DestroyShell, "_DsiDestroyShell@4", (DSIShellRecord * shell), (shell)) \
    BOUND (GetShellClient, "_DsiGetShellClient@8", (DSIShellRecord * shell, void** client), (shell, client)) \
    BOUND (GetShellClientVal, "_DsiGetShellClientVal@8", (DSIShellRecord * shell, void** value), (shell, value)) \
    BOUND (SetShellID, "_DsiSetShellID@8", (DSIShellRecord * shell, uint32_t id), (shell, id)) \
    BOUND (GetShellID, "_DsiGetShellID@8", (DSIShellRecord * shell, uint32_t * id), (shell, id)) \
    BOUND (SetShellIsStandard, "_DsiSetShellIsStandard@8", (DSIShellRecord * shell, int32_t standard), (shell, standard)) \
    BOUND (SetShellMaxLocation, "_DsiSetShellMaxLocation@8", (DSIShellRecord * shell, int32_t location), (shell, location)) \
    BOUND (SetShellDSPCode, "_DsiSetShellDSPCode@8", (DSIShellRecord * shell, void* code), (shell, code)) \
    BOUND (ShellDSPCodeIsNULL, "_DsiShellDSPCodeIsNULL@8", (DSIShellRecord * shell, int32_t * isNull), (shell, isNull)) \
    BOUND (SetShellHostCodeHandler, "_DsiSetShellHostCodeHandler@8", (DSIShellRecord * shell, DSIHostCodeHandler handler), (shell, handler))
// clang-format on

#define KESTRUNE_DSI_IGNORE(...)

// The rows of one kind.
#define KESTRUNE_DSI_IMPORTED_FUNCTIONS(X) KESTRUNE_DSI_LIBRARY (X, KESTRUNE_DSI_IGNORE, KESTRUNE_DSI_IGNORE)
#define KESTRUNE_DSI_SHELL_SERVICES(X) KESTRUNE_DSI_LIBRARY (KESTRUNE_DSI_IGNORE, X, KESTRUNE_DSI_IGNORE)
#define KESTRUNE_DSI_ENTRY_POINTS(X) KESTRUNE_DSI_LIBRARY (KESTRUNE_DSI_IGNORE, KESTRUNE_DSI_IGNORE, X)

inline constexpr int16_t kDSIFirstShellSelector = 256;
inline constexpr int16_t kDSILastShellSelector = 273;

extern "C"
{
#define KESTRUNE_DSI_DECLARE_IMPORTED(role, result, params) result role params;
#define KESTRUNE_DSI_DECLARE_SHELL(selector, role, params, args) int16_t S##role (DSIDSPRecord* dsp KESTRUNE_DSI_AFTER_DSP params);
    KESTRUNE_DSI_IMPORTED_FUNCTIONS (KESTRUNE_DSI_DECLARE_IMPORTED)
    KESTRUNE_DSI_SHELL_SERVICES (KESTRUNE_DSI_DECLARE_SHELL)
#undef KESTRUNE_DSI_DECLARE_IMPORTED
#undef KESTRUNE_DSI_DECLARE_SHELL
} // extern "C"
