#pragma once
// A DSP of a Presto card: the Onyx host port with command base 74, addresses from 0x801800 and
// default words 511 and 510.

#include "process/dspclasses/COnyxChipDSP.h"

class CPrestoChipDSP : public COnyxChipDSP
{
public:
    CPrestoChipDSP();
};
