#include "AAX_VTransport.h"

#include "AAX_Forward.h"

AAX_VTransport::AAX_VTransport (IACFUnknown* host)
    : transport_ (QueryACFInterface<AAX_IACFTransport> (host, IID_IACFTransport)),
      transport2_ (QueryACFInterface<AAX_IACFTransport_V2> (host, IID_IACFTransport_V2))
{
}

#define FORWARD1(call) AAX_FORWARD_OR (transport_, AAX_ERROR_NULL_OBJECT, call)
#define FORWARD2(call) AAX_FORWARD_OR (transport2_, AAX_ERROR_NULL_OBJECT, call)

int32_t AAX_VTransport::IsPlaying (int32_t* outPlaying) const
{
    FORWARD1 (IsPlaying (outPlaying));
}
int32_t AAX_VTransport::GetTempo (double* outBeatsPerMinute) const { FORWARD1 (GetTempo (outBeatsPerMinute)); }
int32_t AAX_VTransport::GetMeter (int32_t* outNumerator, int32_t* outDenominator) const { FORWARD1 (GetMeter (outNumerator, outDenominator)); }
int32_t AAX_VTransport::GetTickPosition (int64_t* outTicks) const { FORWARD1 (GetTickPosition (outTicks)); }
int32_t AAX_VTransport::GetLoop (int32_t* outLooping, int64_t* outStartTick, int64_t* outEndTick) const { FORWARD1 (GetLoop (outLooping, outStartTick, outEndTick)); }
int32_t AAX_VTransport::GetSamplePosition (int64_t* outSamples) const { FORWARD1 (GetSamplePosition (outSamples)); }
int32_t AAX_VTransport::GetTickPositionAt (int64_t* outTicks, int64_t samplePosition) const { FORWARD1 (GetTickPositionAt (outTicks, samplePosition)); }
int32_t AAX_VTransport::GetBarBeat (int32_t* outBars, int32_t* outBeats, int64_t* outTicks, int64_t samplePosition) const { FORWARD1 (GetBarBeat (outBars, outBeats, outTicks, samplePosition)); }
int32_t AAX_VTransport::GetTicksPerQuarter (uint32_t* outTicks) const { FORWARD1 (GetTicksPerQuarter (outTicks)); }
int32_t AAX_VTransport::GetTicksPerBeat (uint32_t* outTicks) const { FORWARD1 (GetTicksPerBeat (outTicks)); }
int32_t AAX_VTransport::GetSelectionStart (int64_t* outSamples) const { FORWARD2 (GetSelectionStart (outSamples)); }
int32_t AAX_VTransport::GetTimeCodeFrameRate (int32_t* outRate, int64_t* outOffset) const { FORWARD2 (GetTimeCodeFrameRate (outRate, outOffset)); }
int32_t AAX_VTransport::GetFeetFramesRate (int32_t* outRate) const { FORWARD2 (GetFeetFramesRate (outRate)); }

#undef FORWARD1
#undef FORWARD2
