#pragma once
// A DSP 321 chip: command base 58, addresses from 0x801800, default words 511 and 510, and the
// host flags as the driver's host bits (flag A: bit 5, flag B: bit 7).

#include "process/dspclasses/CGenericDSP.h"

class C321ChipDSP : public CGenericDSP
{
public:
    C321ChipDSP();

    bool QueryHostFlagA() override;
    bool QueryHostFlagB() override;
    void RaiseHostFlagA() override;
    void LowerHostFlagA() override;
};
