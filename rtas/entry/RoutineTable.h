#pragma once
// The routines that the host engine fetches by selector: one for every selector from 0 to 173
// except 11, 13, 21, 26, 34, 60, 61, 106 and 107 (165 in all). Each forwards the host's arguments
// to one operation of the global plug-in group, or takes its arguments and answers 0.

#include <cstdint>

#include "entry/PlugInExport.h"

// A host routine: a stdcall function of 32-bit stack words answering a signed 32-bit result.
using PlugInRoutinePtr = void (*)();

inline constexpr uint32_t kRoutineSelectorCount = 174;
inline constexpr int32_t kNoRoutine = -9007;

// [host thread] Stores the selector's routine and answers 0; for a selector without one (or a
// null place to store it), stores nothing there and answers -9007.
KESTRUNE_RTAS_EXPORT int32_t KESTRUNE_RTAS_STDCALL _PI_GetRoutineDescriptor (uint32_t selector, PlugInRoutinePtr* routine);
