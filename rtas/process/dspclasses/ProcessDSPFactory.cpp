#include "process/dspclasses/ProcessDSPFactory.h"

#include "process/dsp/DsiCompat.h"
#include "process/dspclasses/C321ChipDSP.h"
#include "process/dspclasses/CPrestoChipDSP.h"

#include <stdexcept>

std::unique_ptr<CProcessDSP> GetNewCProcessDSP (DSIDSPRecord* dsp)
{
    if (DsiCompat_IsCardType18 (dsp))
        return std::make_unique<CProcessDSP>();
    if (DsiCompat_IsCardType21 (dsp))
        return std::make_unique<COnyxChipDSP>();
    if (DsiCompat_IsPresto (dsp))
        return std::make_unique<CPrestoChipDSP>();
    if (DsiCompat_IsDSP321 (dsp))
        return std::make_unique<C321ChipDSP>();
    throw std::runtime_error ("unrecognized card type in GetNewCProcessDSP()");
}
