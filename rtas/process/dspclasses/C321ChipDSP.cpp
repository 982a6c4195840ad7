#include "process/dspclasses/C321ChipDSP.h"

#include "process/dsp/DSIBinding.h"

namespace
{
constexpr int32_t kCommandBase = 58;
constexpr int32_t kAddressOffset = 0x801800;
constexpr int32_t kDefaultWord1 = 511;
constexpr int32_t kDefaultWord2 = 510;
constexpr int32_t kFlagABit = 5;
constexpr int32_t kFlagBBit = 7;

bool HostBitSet (DSIDSPRecord* dsp, int32_t bit)
{
    int32_t value = 0;
    return dsp != nullptr && ShimDsiGetHostBit (dsp, bit, &value) == 0 && value != 0;
}
}

C321ChipDSP::C321ChipDSP()
{
    SetCommandBase (kCommandBase);
    SetAddressOffset (kAddressOffset);
    SetDefaultWords (kDefaultWord1, kDefaultWord2);
}

bool C321ChipDSP::QueryHostFlagA() { return HostBitSet (GetDSP(), kFlagABit); }
bool C321ChipDSP::QueryHostFlagB() { return HostBitSet (GetDSP(), kFlagBBit); }

void C321ChipDSP::RaiseHostFlagA()
{
    if (GetDSP() != nullptr)
        ShimDsiSetHostBit (GetDSP(), kFlagABit, 1);
}

void C321ChipDSP::LowerHostFlagA()
{
    if (GetDSP() != nullptr)
        ShimDsiSetHostBit (GetDSP(), kFlagABit, 0);
}
