#pragma once
// The host's toolbox (HostExt.dll), reached by ordinal only.
//
// Ordinal scheme. HostExt.dll exports each routine under the symbol "HostExt_Ordinal_<N>"
// (N in decimal, no padding) and under no other name. GetProcAddress(module,
// MAKEINTRESOURCEA(N)) of our Windows layer maps ordinal N of any module whose file is named
// "<Stem>.<ext>" to the symbol "<Stem>_Ordinal_<N>" of that module (see win/Win32.h), so the
// library binds the toolbox exactly as it would by ordinal. KESTRUNE_HOSTEXT_ROUTINES below is
// the one table of ordinals: the library's binding (HostExtRoutines) and the stand-in's exports
// (KESTRUNE_HOSTEXT_DECLARE_EXPORT) are both generated from it.
//
// Families in this table: memory blocks (1-19), resource files and resources (20-39),
// strings (40-49), events and time (50-59), files (60-69). Drawing, controls and text editing
// take the ordinals from 100 on when they are added.
//
// Semantics callers rely on: a missing resource gives null and sets the resource error; a handle
// is a pointer to the block's data pointer, and a locked block's data does not move; every
// resource loaded from a file opened with a swap routine is passed to that routine once, right
// after it is read and before the caller sees it.

#include "HostTypes.h"

#include <win/Win32.h>

// Called for every resource loaded from a resource file opened with it: the file, the type,
// the id, the resource's bytes and their number. Answers 1 for a type whose byte order it
// fixes, else 0; it touches no byte past the size.
using ResourceSwapProc = int32_t (*) (int16_t file, ResType type, int16_t id, void* data, int32_t size);

// Resource file permission values.
inline constexpr int8_t fsCurPerm = 0;
inline constexpr int8_t fsRdPerm = 1;

// X(ordinal, role, result type, parameter list)
#define KESTRUNE_HOSTEXT_ROUTINES(X)                                                \
    /* Memory blocks. */                                                            \
    X (1, NewHandle, Handle, (int32_t size))                                        \
    X (2, NewHandleClear, Handle, (int32_t size))                                   \
    X (3, DisposeHandle, void, (Handle block))                                      \
    X (4, GetHandleSize, int32_t, (Handle block))                                   \
    X (5, SetHandleSize, void, (Handle block, int32_t size))                        \
    X (6, HLock, void, (Handle block))                                              \
    X (7, HUnlock, void, (Handle block))                                            \
    X (8, MoveHHi, void, (Handle block))                                            \
    X (9, MemError, OSErr, ())                                                      \
    /* Resource files and resources. */                                             \
    X (20, OpenResFileWithSwap, int16_t, (const char* path, ResourceSwapProc swap)) \
    X (21, CloseResFileByPath, void, (const char* path))                            \
    X (22, FSpOpenResFile, int16_t, (const FSSpec* spec, int8_t permission))        \
    X (23, CloseResFile, void, (int16_t file))                                      \
    X (24, CurResFile, int16_t, ())                                                 \
    X (25, UseResFile, void, (int16_t file))                                        \
    X (26, GetResource, Handle, (ResType type, int16_t id))                         \
    X (27, GetNamedResource, Handle, (ResType type, ConstStr255Param name))         \
    X (28, CountResources, int16_t, (ResType type))                                 \
    X (29, GetIndResource, Handle, (ResType type, int16_t index))                   \
    X (30, LoadResource, void, (Handle resource))                                   \
    X (31, ReleaseResource, void, (Handle resource))                                \
    X (32, ResError, OSErr, ())                                                     \
    X (33, ClearResError, void, ())                                                 \
    X (34, GetIndString, void, (StringPtr text, int16_t listId, int16_t index))     \
    /* Strings. */                                                                  \
    X (40, CStrToPStrInPlace, StringPtr, (char* text))                              \
    X (41, NumToString, void, (int32_t number, StringPtr text))                     \
    X (42, StringToNum, void, (ConstStr255Param text, int32_t * number))            \
    X (43, HandleData, Ptr, (Handle block))                                         \
    /* Events and time. */                                                          \
    X (50, TickCount, uint32_t, ())                                                 \
    X (51, Microseconds, void, (uint64_t * microseconds))                           \
    X (52, GetKeys, void, (uint8_t * keyMap))                                       \
    X (53, GetCurrentKeyModifiers, uint16_t, ())                                    \
    X (54, EventAvail, uint8_t, (uint16_t eventMask, EventRecord * event))          \
    /* Files. */                                                                    \
    X (60, FSMakeFSSpecFromPath, OSErr, (ConstStr255Param path, FSSpec * spec))

namespace kestrune::rtas::abi
{

enum class HostExtOrdinal : uint16_t
{
#define KESTRUNE_HOSTEXT_ENUM(ordinal, role, result, params) role = ordinal,
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_ENUM)
#undef KESTRUNE_HOSTEXT_ENUM
};

// One pointer per routine, named by its role; null when the module lacks it.
struct HostExtRoutines
{
#define KESTRUNE_HOSTEXT_POINTER(ordinal, role, result, params) result (*role) params = nullptr;
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_POINTER)
#undef KESTRUNE_HOSTEXT_POINTER
};

// Binds every routine of the table from a loaded toolbox module by ordinal; returns the number
// of routines that the module does not export (0 when the binding is complete).
inline int bindHostExtRoutines (HMODULE toolbox, HostExtRoutines& routines)
{
    int missing = 0;
#define KESTRUNE_HOSTEXT_BIND(ordinal, role, result, params)                                                    \
    routines.role = reinterpret_cast<result (*) params> (GetProcAddress (toolbox, MAKEINTRESOURCEA (ordinal))); \
    missing += routines.role == nullptr ? 1 : 0;
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_BIND)
#undef KESTRUNE_HOSTEXT_BIND
    return missing;
}

} // namespace kestrune::rtas::abi

// For the toolbox module itself: declares the C function HostExt_<role> whose exported symbol
// is the ordinal's, so that the module exports the routine by ordinal only.
#define KESTRUNE_HOSTEXT_DECLARE_EXPORT(ordinal, role, result, params) \
    extern "C" __attribute__ ((visibility ("default"))) result HostExt_##role params __asm__("HostExt_Ordinal_" #ordinal);
