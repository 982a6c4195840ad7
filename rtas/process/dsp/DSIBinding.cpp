#include "process/dsp/DSIBinding.h"

#include "process/base/CDAEError.h"
#include "process/dsp/DsiCompat.h"

#include <win/Win32.h>

namespace
{
constexpr int32_t kCardKind18 = 18;

struct DSIEntryPoints
{
#define KESTRUNE_DSI_POINTER(role, name, params, args) int32_t (KESTRUNE_DSI_CALL* role) params = nullptr;
    KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_POINTER)
#undef KESTRUNE_DSI_POINTER
};

struct DSIBindingState
{
    HMODULE module = nullptr;
    DSIEntryPoints entries;
    bool useEntries = false;
};

DSIBindingState gBinding;

enum class DSIEntry
{
#define KESTRUNE_DSI_ENUM(role, name, params, args) role,
    KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_ENUM)
#undef KESTRUNE_DSI_ENUM
};

template <DSIEntry>
struct Entry
{
};

// What a shim answers when its entry point is not bound: -1, unless it has a fallback below.
template <DSIEntry E, typename... Args>
int32_t WithoutEntry (Entry<E>, Args...)
{
    return kDSIShimMissing;
}

int32_t WithoutEntry (Entry<DSIEntry::DoHostCommandOnEmptyHostPort>, DSIDSPRecord* dsp, int32_t command, int32_t timeout)
{
    constexpr int32_t kHostPortEmptyBit = 2;
    if (const int32_t error = ShimDsiWaitHostBit (dsp, kHostPortEmptyBit, 1, timeout); error != 0)
        return error;
    return ShimDsiDoHostCommand (dsp, command, timeout);
}

int32_t SendWords (DSIDSPRecord* dsp, int32_t count, const int32_t* words)
{
    for (int32_t i = 0; i < count; ++i)
        if (const int32_t error = ShimDsiSendLo24of32 (dsp, words[i], kDSIWaitBound); error != 0)
            return error;
    return 0;
}

int32_t WithoutEntry (Entry<DSIEntry::DoHostCommandWithDataList>, DSIDSPRecord* dsp, int32_t command, int32_t sendFirst,
                      int32_t readCount, int32_t* readWords, int32_t sendCount, const int32_t* sendWords)
{
    if (sendWords == nullptr)
        sendCount = 0;
    if (readWords == nullptr)
        readCount = 0;
    if (sendFirst != 0)
        if (const int32_t error = SendWords (dsp, sendCount, sendWords); error != 0)
            return error;
    if (const int32_t error = ShimDsiDoHostCommandOnEmptyHostPort (dsp, command, kDSIWaitBound); error != 0)
        return error;
    if (sendFirst == 0)
        if (const int32_t error = SendWords (dsp, sendCount, sendWords); error != 0)
            return error;
    for (int32_t i = 0; i < readCount; ++i)
        if (const int32_t error = ShimDsiGetLo24ofS32 (dsp, &readWords[i], kDSIWaitBound); error != 0)
            return error;
    return 0;
}

void ForgetEntryPoints()
{
    gBinding.entries = DSIEntryPoints {};
    gBinding.useEntries = false;
}

// The host bit and the value to wait for, by status mask.
struct TimedWait
{
    int32_t mask;
    int32_t hostBit;
    int32_t value;
};
constexpr TimedWait kTimedWaits[] = {
    { 1, 2, 1 }, // host port empty
    { 2, 1, 1 }, // transmit data empty
    { 4, 0, 1 }, // receive data full
    { 8, 7, 0 }, // command no longer pending
    { 16, 8, 1 }, // host flag
    { 32, 9, 1 }, // host flag
};
}

#define KESTRUNE_DSI_EXPAND(...) __VA_ARGS__
#define KESTRUNE_DSI_DEFINE_SHIM(role, name, params, args)                                                        \
    int32_t ShimDsi##role params                                                                                  \
    {                                                                                                             \
        const auto entry = gBinding.entries.role;                                                                 \
        return entry != nullptr ? entry args : WithoutEntry (Entry<DSIEntry::role> {}, KESTRUNE_DSI_EXPAND args); \
    }
KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_DEFINE_SHIM)
#undef KESTRUNE_DSI_DEFINE_SHIM
#undef KESTRUNE_DSI_EXPAND

const std::array<const char*, kDSIEntryPointCount>& DSIEntryPointNames()
{
    static constexpr std::array<const char*, kDSIEntryPointCount> names = {
#define KESTRUNE_DSI_NAME(role, name, params, args) name,
        KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_NAME)
#undef KESTRUNE_DSI_NAME
    };
    return names;
}

int16_t LoadDSIEntryPoints()
{
    UnloadDSIEntryPoints();
    gBinding.module = LoadLibraryA ("DSI.dll");
    if (gBinding.module == nullptr)
        return RTASError::kNullPointer;

    int missing = 0;
#define KESTRUNE_DSI_BIND(role, name, params, args)                                                                      \
    gBinding.entries.role = reinterpret_cast<decltype (gBinding.entries.role)> (GetProcAddress (gBinding.module, name)); \
    missing += gBinding.entries.role == nullptr ? 1 : 0;
    KESTRUNE_DSI_ENTRY_POINTS (KESTRUNE_DSI_BIND)
#undef KESTRUNE_DSI_BIND

    if (gBinding.entries.SetShellHostCodeHandler == nullptr)
        return RTASError::kNullPointer;
    // Only a complete set replaces the records: a shim without its entry point answers -1, which
    // the compatibility layer must never take for an answer.
    if (missing == 0 && ! DsiCompat_FindCard (kCardKind18))
        gBinding.useEntries = true;
    return 0;
}

void UnloadDSIEntryPoints()
{
    ForgetEntryPoints();
    if (gBinding.module != nullptr)
        FreeLibrary (gBinding.module);
    gBinding.module = nullptr;
}

bool DSIEntriesInUse()
{
    return gBinding.useEntries;
}

int32_t ShimDsiWaitHostBitTimed (DSIDSPRecord* dsp, int32_t mask)
{
    for (const TimedWait& wait : kTimedWaits)
        if (wait.mask == mask)
            return ShimDsiWaitHostBit (dsp, wait.hostBit, wait.value, kDSIWaitBound);
    return kDSIShimMissing;
}

int32_t ShimDsiHostStatus (DSIDSPRecord* dsp, int32_t mask, bool* holds)
{
    for (const TimedWait& wait : kTimedWaits)
    {
        if (wait.mask != mask)
            continue;
        int32_t value = 0;
        const int32_t status = ShimDsiGetHostBit (dsp, wait.hostBit, &value);
        if (status == 0 && holds != nullptr)
            *holds = (value != 0 ? 1 : 0) == wait.value;
        return status;
    }
    return kDSIShimMissing;
}
