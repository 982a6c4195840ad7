#pragma once
// What the DSP card code asks of the module's plug-in group and, through it, of the host.

#include <abi/DSI.h>

#include <cstdint>

inline constexpr int32_t kNoGroupForDSP = -7026;

// [host thread, driver thread] QueryForDSP of the module's plug-in group with the arguments,
// holding a use of the group while it answers; -7026 when there is no group, or while it is
// being destroyed.
int32_t QueryGroupForDSP (int32_t a, int16_t kind, int16_t* out);

// [host thread] Host request 15 for the DSP's driver type: the block holds the driver type and
// the address of a result word (0 before the request); answers the word the host left there. A
// nonzero status of the request is thrown as CDAEError.
int32_t RequestForDriverType (DSIDSPRecord* dsp);
