#include "process/dsp/DSPGroupRequests.h"

#include "process/base/CDAEError.h"
#include "process/dsp/DsiCompat.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/group/HostRequests.h"

namespace
{
constexpr int32_t kDriverTypeRequestSize = 8;
}

int32_t QueryGroupForDSP (int32_t a, int16_t kind, int16_t* out)
{
    const PlugInGroupUse use;
    return use.Group() != nullptr ? use.Group()->QueryForDSP (a, kind, out) : kNoGroupForDSP;
}

int32_t RequestForDriverType (DSIDSPRecord* dsp)
{
    int32_t result = 0;
    const int32_t driverType = DsiCompat_DSPToDriverType (dsp);
    const int32_t status = SendHostRequest (HostRequestCode::k15, kDriverTypeRequestSize, HostRequestBlockMove::kMovedHigh,
                                            [&] (HostRequestBlock& block) {
                                                block.Put32 (0, driverType);
                                                block.PutPointer (4, &result);
                                            });
    ThrowIfError (static_cast<int16_t> (status));
    return result;
}
