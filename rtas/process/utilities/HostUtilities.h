#pragma once
// Utilities that ask the host: the engine information record, a busy wait on the host clock and
// a control's flag bit.

#include <cstdint>

#include "abi/DAE.h"

// [host thread] The engine's information record (selector 'pisi'). Kept once a query succeeds;
// null while none has, and a failed query is asked again on the next call.
SPISIService* GetPISIGestalt();

// [host thread] Busy-waits until the host toolbox's microsecond clock has advanced by the given
// amount (clock wrap-around included).
void WaitMicroseconds (uint32_t microseconds);

// [window thread] Bit 2 of the eighth byte of the control's 16-byte toolbox record; false when
// the toolbox has no record for it.
bool GetControlFlagBit (void* control);
