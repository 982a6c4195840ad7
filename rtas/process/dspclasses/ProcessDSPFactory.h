#pragma once
// The DSP object for a DSP, by what the card library says of it, in this order: card type 18 ->
// CProcessDSP, card type 21 -> COnyxChipDSP, a Presto card -> CPrestoChipDSP, a DSP 321 chip ->
// C321ChipDSP. Anything else throws std::runtime_error ("unrecognized card type in
// GetNewCProcessDSP()"), which the host boundary turns into -7401. The DSP process group's
// factory. [host thread]

#include "process/dspclasses/CProcessDSP.h"

#include <memory>

std::unique_ptr<CProcessDSP> GetNewCProcessDSP (DSIDSPRecord* dsp);
