// The instance's view of the host's transport.
#pragma once

#include "ACFPtr.h"

class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;
    virtual int32_t IsPlaying (int32_t* outPlaying) const = 0;
    virtual int32_t GetTempo (double* outBeatsPerMinute) const = 0;
    virtual int32_t GetMeter (int32_t* outNumerator, int32_t* outDenominator) const = 0;
    virtual int32_t GetTickPosition (int64_t* outTicks) const = 0;
    virtual int32_t GetLoop (int32_t* outLooping, int64_t* outStartTick, int64_t* outEndTick) const = 0;
    virtual int32_t GetSamplePosition (int64_t* outSamples) const = 0;
    virtual int32_t GetTickPositionAt (int64_t* outTicks, int64_t samplePosition) const = 0;
    virtual int32_t GetBarBeat (int32_t* outBars, int32_t* outBeats, int64_t* outTicks, int64_t samplePosition) const = 0;
    virtual int32_t GetTicksPerQuarter (uint32_t* outTicks) const = 0;
    virtual int32_t GetTicksPerBeat (uint32_t* outTicks) const = 0;
    virtual int32_t GetSelectionStart (int64_t* outSamples) const = 0;
    virtual int32_t GetTimeCodeFrameRate (int32_t* outRate, int64_t* outOffset) const = 0;
    virtual int32_t GetFeetFramesRate (int32_t* outRate) const = 0;
};

// Forwards to the host's transport; every missing interface, second version included,
// answers -20004. [host thread, message thread: JUCE's play-head reads]
class AAX_VTransport final : public AAX_ITransport
{
public:
    explicit AAX_VTransport (IACFUnknown* host);

    int32_t IsPlaying (int32_t* outPlaying) const override;
    int32_t GetTempo (double* outBeatsPerMinute) const override;
    int32_t GetMeter (int32_t* outNumerator, int32_t* outDenominator) const override;
    int32_t GetTickPosition (int64_t* outTicks) const override;
    int32_t GetLoop (int32_t* outLooping, int64_t* outStartTick, int64_t* outEndTick) const override;
    int32_t GetSamplePosition (int64_t* outSamples) const override;
    int32_t GetTickPositionAt (int64_t* outTicks, int64_t samplePosition) const override;
    int32_t GetBarBeat (int32_t* outBars, int32_t* outBeats, int64_t* outTicks, int64_t samplePosition) const override;
    int32_t GetTicksPerQuarter (uint32_t* outTicks) const override;
    int32_t GetTicksPerBeat (uint32_t* outTicks) const override;
    int32_t GetSelectionStart (int64_t* outSamples) const override;
    int32_t GetTimeCodeFrameRate (int32_t* outRate, int64_t* outOffset) const override;
    int32_t GetFeetFramesRate (int32_t* outRate) const override;

private:
    ACFPtr<AAX_IACFTransport> transport_;
    ACFPtr<AAX_IACFTransport_V2> transport2_;
};
