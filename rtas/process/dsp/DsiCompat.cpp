#include "process/dsp/DsiCompat.h"

#include "process/base/CDAEError.h"
#include "process/dsp/DSIBinding.h"

#include <cstring>

namespace
{
constexpr int32_t kCardKind18 = 18;
constexpr int32_t kCardKind21 = 21;
constexpr int32_t kCardKindAnyTDM2 = 29;
constexpr int32_t kNoNumber = -1;

struct DriverType
{
    int32_t cardKind;
    int32_t driverType;
};
constexpr DriverType kDriverTypes[] = {
    { 10, 1072 },
    { 18, 60960 },
    { 20, 61056 },
    { 21, 61072 },
    { 25, 61120 },
    { 26, 61120 },
    { 28, 61120 },
    { 29, 61120 },
    { 31, 61120 },
};

const DSICardRecord* CardOf (const DSIDSPRecord* dsp)
{
    return dsp != nullptr ? dsp->fCard : nullptr;
}

int32_t RecordCardKind (const DSIDSPRecord* dsp)
{
    const DSICardRecord* card = CardOf (dsp);
    return card != nullptr ? card->fKind : kNoNumber;
}

// An entry point's number answer, or -1 when it gives none.
template <typename Shim, typename Handle>
int32_t NumberFrom (Shim shim, Handle handle)
{
    int32_t value = kNoNumber;
    return shim (handle, &value) == 0 ? value : kNoNumber;
}

template <typename Shim, typename Handle>
bool FlagFrom (Shim shim, Handle handle)
{
    int32_t value = 0;
    return shim (handle, &value) == 0 && value != 0;
}

template <typename Result, typename Shim, typename Handle>
Result* PointerFrom (Shim shim, Handle handle)
{
    Result* value = nullptr;
    return shim (handle, &value) == 0 ? value : nullptr;
}

bool AnyDSPOnTDM2Card()
{
    for (DSIDSPRecord* dsp = GetDSPList(); dsp != nullptr; dsp = DsiCompat_GetNextDSP (dsp))
        if (FlagFrom (ShimDsiIsTDM2, dsp))
            return true;
    return false;
}
}

bool DsiCompat_UseDsiEntries()
{
    return DSIEntriesInUse();
}

bool DsiCompat_FindCard (int32_t kind)
{
    ThrowIfError (InitSADriver());
    DSICardRecord* card = GetCardList();
    if (! DsiCompat_UseDsiEntries())
    {
        for (; card != nullptr; card = card->fNext)
            if (card->fKind == kind)
                return true;
        return false;
    }
    if (kind == kCardKindAnyTDM2)
        return AnyDSPOnTDM2Card();
    for (; card != nullptr; card = PointerFrom<DSICardRecord> (ShimDsiGetNextCard, card))
        if (NumberFrom (ShimDsiGetCardType, card) == kind)
            return true;
    return false;
}

bool DsiCompat_HasDSP321()
{
    for (DSIDSPRecord* dsp = GetDSPList(); dsp != nullptr; dsp = DsiCompat_GetNextDSP (dsp))
        if (DsiCompat_IsDSP321 (dsp))
            return true;
    return false;
}

int32_t DsiCompat_GetDSPInfoRecord (DSIDSPRecord* dsp, DSIDSPInfoRecord* info)
{
    if (DsiCompat_UseDsiEntries())
        return ShimDsiGetDSPInfoRecord (dsp, info);
    if (dsp == nullptr || info == nullptr)
        return RTASError::kNullPointer;
    std::memcpy (info, &dsp->fInfo, sizeof (DSIDSPInfoRecord));
    return 0;
}

void* DsiCompat_GetDSPClient (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return PointerFrom<void> (ShimDsiGetDSPClient, dsp);
    return dsp != nullptr ? dsp->fClient : nullptr;
}

void* DsiCompat_GetDSPClientVal (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return PointerFrom<void> (ShimDsiGetDSPClientVal, dsp);
    return dsp != nullptr ? dsp->fClientValue : nullptr;
}

int32_t DsiCompat_SetDSPClientVal (DSIDSPRecord* dsp, void* value)
{
    if (DsiCompat_UseDsiEntries())
        return ShimDsiSetDSPClientVal (dsp, value);
    if (dsp == nullptr)
        return RTASError::kNullPointer;
    dsp->fClientValue = value;
    return 0;
}

int32_t DsiCompat_GetCardTypeFromDSP (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return NumberFrom (ShimDsiGetCardTypeFromDSP, dsp);
    return RecordCardKind (dsp);
}

DSIDSPRecord* DsiCompat_GetNextDSP (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return PointerFrom<DSIDSPRecord> (ShimDsiGetNextDSP, dsp);
    return dsp != nullptr ? dsp->fNext : nullptr;
}

DSIShellRecord* DsiCompat_GetDSPShell (DSIDSPRecord* dsp)
{
    return PointerFrom<DSIShellRecord> (ShimDsiGetDSPShell, dsp);
}

int32_t DsiCompat_GetDSPCoreType (DSIDSPRecord* dsp)
{
    return NumberFrom (ShimDsiGetDSPCoreType, dsp);
}

int32_t DsiCompat_SetShellID (DSIShellRecord* shell, uint32_t id)
{
    return ShimDsiSetShellID (shell, id);
}

int32_t DsiCompat_SetShellIsStandard (DSIShellRecord* shell, int32_t standard)
{
    return ShimDsiSetShellIsStandard (shell, standard);
}

int32_t DsiCompat_SetShellMaxLocation (DSIShellRecord* shell, int32_t location)
{
    return ShimDsiSetShellMaxLocation (shell, location);
}

int32_t DsiCompat_SetShellDSPCode (DSIShellRecord* shell, void* code)
{
    return ShimDsiSetShellDSPCode (shell, code);
}

int32_t DsiCompat_SetShellHostCodeHandler (DSIShellRecord* shell, DSIHostCodeHandler handler)
{
    return ShimDsiSetShellHostCodeHandler (shell, handler);
}

bool DsiCompat_IsDSP321 (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return FlagFrom (ShimDsiIsDSP321, dsp);
    return dsp != nullptr && (dsp->fFlags & kDSIFlagDSP321) != 0;
}

bool DsiCompat_IsPresto (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return FlagFrom (ShimDsiIsPresto, dsp);
    const DSICardRecord* card = CardOf (dsp);
    if (card == nullptr)
        return false;
    return card->fKind == 26 || (card->fKind == 28 && card->fRevision < 3) || (card->fKind == 31 && card->fRevision <= 3);
}

bool DsiCompat_IsTDM2 (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return FlagFrom (ShimDsiIsTDM2, dsp);
    switch (RecordCardKind (dsp))
    {
        case 25:
        case 26:
        case 28:
        case 30:
        case 31:
            return true;
        default:
            return false;
    }
}

bool DsiCompat_IsCardType21 (DSIDSPRecord* dsp)
{
    return DsiCompat_GetCardTypeFromDSP (dsp) == kCardKind21;
}

bool DsiCompat_IsCardType18 (DSIDSPRecord* dsp)
{
    return DsiCompat_GetCardTypeFromDSP (dsp) == kCardKind18;
}

int32_t DsiCompat_DriverTypeOfCardKind (int32_t kind)
{
    for (const DriverType& entry : kDriverTypes)
        if (entry.cardKind == kind)
            return entry.driverType;
    return kNoNumber;
}

int32_t DsiCompat_DSPToDriverType (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return NumberFrom (ShimDsiDSPToDriverType, dsp);
    return DsiCompat_DriverTypeOfCardKind (RecordCardKind (dsp));
}

DSIShellRecord* DsiCompat_CreateShell()
{
    if (DsiCompat_UseDsiEntries())
    {
        DSIShellRecord* shell = nullptr;
        return ShimDsiCreateShell (&shell) == 0 ? shell : nullptr;
    }
    return new DSIShellRecord {};
}

void DsiCompat_DestroyShell (DSIShellRecord* shell)
{
    if (DsiCompat_UseDsiEntries())
        ShimDsiDestroyShell (shell);
    else
        delete shell;
}

bool DsiCompat_ShellDSPCodeIsNULL (DSIShellRecord* shell)
{
    if (DsiCompat_UseDsiEntries())
        return FlagFrom (ShimDsiShellDSPCodeIsNULL, shell);
    return shell == nullptr || shell->fDSPCode == nullptr;
}

int32_t DsiCompat_GetDSPIndexField (DSIDSPRecord* dsp)
{
    if (DsiCompat_UseDsiEntries())
        return 0;
    const DSICardRecord* card = CardOf (dsp);
    return card != nullptr ? card->fCardIndex : kNoNumber;
}
