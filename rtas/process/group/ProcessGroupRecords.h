#pragma once
// The host records that the process group interface receives: the specifier records that name a
// process, a control or a parameter; the host's own records are in abi/DAE.h, or passed on by
// pointer without looking inside.

#include <cstddef>
#include <cstdint>

#include <abi/DAE.h>
#include <abi/HostTypes.h>

#pragma pack(push, 2)

struct SProcessSpecifier
{
    uint32_t fTypeID;
    int32_t fProcess;
};

struct SControlSpecifier
{
    uint32_t fTypeID;
    int32_t fProcess;
    uint32_t fControl;
};

struct SParamSpecifier
{
    uint32_t fTypeID;
    int32_t fProcess;
    uint16_t fA;
    uint16_t fB;
    uint16_t fC;
};

struct SStemSpecifier
{
    uint32_t fFirst;
    uint32_t fSecond;
};

#pragma pack(pop)

static_assert (sizeof (SProcessSpecifier) == 8);
static_assert (sizeof (SControlSpecifier) == 12);
static_assert (offsetof (SControlSpecifier, fControl) == 8);
static_assert (sizeof (SParamSpecifier) == 14);
static_assert (offsetof (SParamSpecifier, fA) == 8);
static_assert (offsetof (SParamSpecifier, fB) == 10);
static_assert (offsetof (SParamSpecifier, fC) == 12);
static_assert (sizeof (SStemSpecifier) == 8);

// Host records handed through untouched.
struct ComponentRecord;
struct OpaqueGrafPtr;
struct SFicTDMAutoElem;
struct SFileList;
struct IACFUnknown;

enum EMeterOrientation : int32_t
{
};

enum EMeterType : int32_t
{
};

// The host's callback procedure: request code, component (always null here) and the request's
// memory block; answers a 16-bit result.
using HostCallbackProc = int16_t (__attribute__ ((stdcall)) *) (int16_t request, ComponentRecord* component, char** block);

// A procedure that the host calls back for request 15, with its user data.
using HostRequestProc = void (*) (void* userData);
