#pragma once
// The card library's newer entry points, bound by name at run time because an older DSI.dll may
// lack them, and one shim per entry point.
//
// Every entry point returns a 32-bit status (0 = success) and hands its answer out through its
// last pointer argument. A shim calls its entry point and returns the entry point's status; when
// the entry point is not bound it returns -1 (kDSIShimMissing), apart from the two shims with a
// fallback below. All of it runs on the [host thread] that drives the plug-in, except the
// host-port shims, which the DSP objects also call on the driver's thread.

#include <abi/DSI.h>

#include <array>

#define KESTRUNE_DSI_COUNT_ENTRY(...) +1
inline constexpr int kDSIEntryPointCount = 0 KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_COUNT_ENTRY);
#undef KESTRUNE_DSI_COUNT_ENTRY
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
// Whether the status that a mask stands for holds now (the host bit has the value that the wait
// above waits for): 0 and the answer in `holds`, or the entry point's error; any other mask, or
// no _DsiGetHostBit entry point, gives -1.
int32_t ShimDsiHostStatus (DSIDSPRecord* dsp, int32_t mask, bool* holds);
