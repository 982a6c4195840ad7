#pragma once
// The card library's newer entry points, bound by name at run time because an older DSI.dll may
// lack them, and one shim per entry point.
//
// Every entry point returns a 32-bit status (0 = success) and hands its answer out through its
// last pointer argument. A shim calls its entry point and returns the entry point's status; when
// the entry point is not bound it returns -1 (kDSIShimMissing), apart from the two shims with a
// fallback below. All of it runs on the [host thread] that drives the plug-in, except the
// host-port shims, which the DSP objects also call on the driver's thread.

#include "process/dsp/DSIInterface.h"

#include <array>

// X(role, decorated name, parameter list, argument list), in binding order: the one table of
// the 43 run-time entry points.
#define KESTRUNE_DSI_ENTRY_POINTS(X)                                                                                   \
    X (IsDSP321, "_DsiIsDSP321@8", (DSIDSPRecord * dsp, int32_t * isDSP321), (dsp, isDSP321))                          \
    X (GetDSPCardIndex, "_DsiGetDSPCardIndex@8", (DSIDSPRecord * dsp, int32_t * index), (dsp, index))                  \
    X (IsPresto, "_DsiIsPresto@8", (DSIDSPRecord * dsp, int32_t * isPresto), (dsp, isPresto))                          \
    X (IsTDM2, "_DsiIsTDM2@8", (DSIDSPRecord * dsp, int32_t * isTDM2), (dsp, isTDM2))                                  \
    X (GetCardTypeFromDSP, "_DsiGetCardTypeFromDSP@8", (DSIDSPRecord * dsp, int32_t * cardType), (dsp, cardType))      \
    X (DSPToDriverType, "_DsiDSPToDriverType@8", (DSIDSPRecord * dsp, int32_t * driverType), (dsp, driverType))        \
    X (GetNextDSP, "_DsiGetNextDSP@8", (DSIDSPRecord * dsp, DSIDSPRecord * *next), (dsp, next))                        \
    X (GetDSPClient, "_DsiGetDSPClient@8", (DSIDSPRecord * dsp, void** client), (dsp, client))                         \
    X (GetDSPClientVal, "_DsiGetDSPClientVal@8", (DSIDSPRecord * dsp, void** value), (dsp, value))                     \
    X (SetDSPClientVal, "_DsiSetDSPClientVal@8", (DSIDSPRecord * dsp, void* value), (dsp, value))                      \
    X (GetDSPShell, "_DsiGetDSPShell@8", (DSIDSPRecord * dsp, DSIShellRecord * *shell), (dsp, shell))                  \
    X (GetDSPInfoRecord, "_DsiGetDSPInfoRecord@8", (DSIDSPRecord * dsp, DSIDSPInfoRecord * info), (dsp, info))         \
    X (GetDSPCoreType, "_DsiGetDSPCoreType@8", (DSIDSPRecord * dsp, int32_t * coreType), (dsp, coreType))              \
    X (GetNextCard, "_DsiGetNextCard@8", (DSICardRecord * card, DSICardRecord * *next), (card, next))                  \
    X (GetCardClient, "_DsiGetCardClient@8", (DSICardRecord * card, void** client), (card, client))                    \
    X (SetCardClient, "_DsiSetCardClient@8", (DSICardRecord * card, void* client), (card, client))                     \
    X (GetCardClientVal, "_DsiGetCardClientVal@8", (DSICardRecord * card, void** value), (card, value))                \
    X (SetCardClientVal, "_DsiSetCardClientVal@8", (DSICardRecord * card, void* value), (card, value))                 \
    X (GetCardType, "_DsiGetCardType@8", (DSICardRecord * card, int32_t * cardType), (card, cardType))                 \
    X (GetFirstDSPOnCard, "_DsiGetFirstDSPOnCard@8", (DSICardRecord * card, DSIDSPRecord * *dsp), (card, dsp))         \
    X (GetNumDSPsOnCard, "_DsiGetNumDSPsOnCard@8", (DSICardRecord * card, int32_t * count), (card, count))             \
    X (IsCardTDM2, "_DsiIsCardTDM2@8", (DSICardRecord * card, int32_t * isTDM2), (card, isTDM2))                       \
    X (DoHostCommand, "_DsiDoHostCommand@12", (DSIDSPRecord * dsp, int32_t vector, int32_t timeout),                   \
       (dsp, vector, timeout))                                                                                         \
    X (DoHostCommandOnEmptyHostPort, "_DsiDoHostCommandOnEmptyHostPort@12",                                            \
       (DSIDSPRecord * dsp, int32_t command, int32_t timeout), (dsp, command, timeout))                                \
    X (DoHostCommandWithDataList, "_DsiDoHostCommandWithDataList@28",                                                  \
       (DSIDSPRecord * dsp, int32_t command, int32_t sendFirst, int32_t readCount, int32_t * readWords,                \
        int32_t sendCount, const int32_t* sendWords),                                                                  \
       (dsp, command, sendFirst, readCount, readWords, sendCount, sendWords))                                          \
    X (WaitHostBit, "_DsiWaitHostBit@16", (DSIDSPRecord * dsp, int32_t bit, int32_t value, int32_t timeout),           \
       (dsp, bit, value, timeout))                                                                                     \
    X (SendLo24of32, "_DsiSendLo24of32@12", (DSIDSPRecord * dsp, int32_t word, int32_t timeout),                       \
       (dsp, word, timeout))                                                                                           \
    X (GetLo24ofS32, "_DsiGetLo24ofS32@12", (DSIDSPRecord * dsp, int32_t * word, int32_t timeout),                     \
       (dsp, word, timeout))                                                                                           \
    X (SendLo24of32Check, "_DsiSendLo24of32Check@16",                                                                  \
       (DSIDSPRecord * dsp, int32_t word, int32_t timeout, int32_t * sent), (dsp, word, timeout, sent))                \
    X (GetLo24ofS32Check, "_DsiGetLo24ofS32Check@16",                                                                  \
       (DSIDSPRecord * dsp, int32_t * word, int32_t timeout, int32_t * received), (dsp, word, timeout, received))      \
    X (SetHostBit, "_DsiSetHostBit@12", (DSIDSPRecord * dsp, int32_t bit, int32_t value), (dsp, bit, value))           \
    X (GetHostBit, "_DsiGetHostBit@12", (DSIDSPRecord * dsp, int32_t bit, int32_t * value), (dsp, bit, value))         \
    X (CreateShell, "_DsiCreateShell@4", (DSIShellRecord * *shell), (shell))                                           \
    X (DestroyShell, "_DsiDestroyShell@4", (DSIShellRecord * shell), (shell))                                          \
    X (GetShellClient, "_DsiGetShellClient@8", (DSIShellRecord * shell, void** client), (shell, client))               \
    X (GetShellClientVal, "_DsiGetShellClientVal@8", (DSIShellRecord * shell, void** value), (shell, value))           \
    X (SetShellID, "_DsiSetShellID@8", (DSIShellRecord * shell, uint32_t id), (shell, id))                             \
    X (GetShellID, "_DsiGetShellID@8", (DSIShellRecord * shell, uint32_t * id), (shell, id))                           \
    X (SetShellIsStandard, "_DsiSetShellIsStandard@8", (DSIShellRecord * shell, int32_t standard), (shell, standard))  \
    X (SetShellMaxLocation, "_DsiSetShellMaxLocation@8", (DSIShellRecord * shell, int32_t location),                   \
       (shell, location))                                                                                              \
    X (SetShellDSPCode, "_DsiSetShellDSPCode@8", (DSIShellRecord * shell, void* code), (shell, code))                  \
    X (ShellDSPCodeIsNULL, "_DsiShellDSPCodeIsNULL@8", (DSIShellRecord * shell, int32_t * isNull), (shell, isNull))    \
    X (SetShellHostCodeHandler, "_DsiSetShellHostCodeHandler@8", (DSIShellRecord * shell, DSIHostCodeHandler handler), \
       (shell, handler))

inline constexpr int kDSIEntryPointCount = 43;
inline constexpr int32_t kDSIShimMissing = -1;
// The wait bound that the shims' fallbacks pass to the single-word transfers.
inline constexpr int32_t kDSIWaitBound = 1000000000;

// The decorated names in binding order.
const std::array<const char*, kDSIEntryPointCount>& DSIEntryPointNames();

// [host thread] Loads "DSI.dll" and binds the entry points in the order of the table. Returns
// -7053 when the library is missing or lacks the last entry point (the entry points before it
// stay bound); otherwise 0. The entries are used by the compatibility layer only when every one
// of them is bound and no card of kind 18 is installed. A second load first gives back what the
// first one holds. Starting the card driver may throw its error (CDAEError).
int16_t LoadDSIEntryPoints();
// [host thread] Frees the library and forgets every bound entry point.
void UnloadDSIEntryPoints();
// Whether the compatibility layer goes through the entry points.
bool DSIEntriesInUse();

#define KESTRUNE_DSI_DECLARE_SHIM(role, name, params, args) int32_t ShimDsi##role params;
KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_DECLARE_SHIM)
#undef KESTRUNE_DSI_DECLARE_SHIM
// ShimDsiDoHostCommandOnEmptyHostPort without its entry point: waits for host bit 2 to be 1, then
// sends the command (ShimDsiDoHostCommand).
// ShimDsiDoHostCommandWithDataList without its entry point: sends the words before the command
// when sendFirst is set, else after it, the command through ShimDsiDoHostCommandOnEmptyHostPort,
// then reads readCount words; each word with kDSIWaitBound. The first error ends it.

// Waits (kDSIWaitBound) for the host bit that a status mask stands for: 1, 2, 4, 8, 16 or 32;
// any other mask, or no _DsiWaitHostBit entry point, gives -1.
int32_t ShimDsiWaitHostBitTimed (DSIDSPRecord* dsp, int32_t mask);
