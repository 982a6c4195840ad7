#include "process/dspclasses/CPrestoChipDSP.h"

namespace
{
constexpr int32_t kCommandBase = 74;
constexpr int32_t kAddressOffset = 0x801800;
constexpr int32_t kDefaultWord1 = 511;
constexpr int32_t kDefaultWord2 = 510;
}

CPrestoChipDSP::CPrestoChipDSP()
{
    SetOnyxCommandBase (kCommandBase);
    SetAddressOffset (kAddressOffset);
    SetDefaultWords (kDefaultWord1, kDefaultWord2);
}
