// The instance's view of the host's controller.
#pragma once

#include "ACFPtr.h"

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;
    virtual int32_t GetEffectId (AAX_IString* outId) const = 0;
    virtual int32_t GetSampleRate (double* outRate) const = 0;
    virtual int32_t GetInputStemFormat (int32_t* outFormat) const = 0;
    virtual int32_t GetOutputStemFormat (int32_t* outFormat) const = 0;
    virtual int32_t GetSignalLatency (int32_t* outSamples) const = 0;
    virtual int32_t GetCycleCount (int32_t which, int32_t* outCount) const = 0;
    virtual int32_t GetTimeOfDay (int64_t* outSamples) const = 0;
    virtual int32_t SetSignalLatency (int32_t samples) = 0;
    virtual int32_t SetCycleCount (const int32_t* counts, int32_t countCount) = 0;
    virtual int32_t PostPacket (uint32_t port, const void* data, uint32_t size) = 0;
    virtual int32_t GetHostName (AAX_IString* outName) const = 0;
    virtual int32_t GetMeterValue (uint32_t meterId, float* outValue) const = 0;
    virtual int32_t GetMeterPeak (uint32_t meterId, float* outValue) const = 0;
    virtual int32_t ClearMeterPeak (uint32_t meterId) const = 0;
    virtual int32_t GetMeterCount (uint32_t* outCount) const = 0;
    virtual int32_t GetMeterClipped (uint32_t meterId, int32_t* outClipped) const = 0;
    virtual int32_t ClearMeterClipped (uint32_t meterId) const = 0;
    virtual int32_t GetNextMidiPacket (uint32_t* outPort, void* outPacket) = 0;
    virtual int32_t GetPlugInMode (int32_t* outMode) const = 0;
    virtual int32_t GetTimestamp (int64_t* outTimestamp) const = 0;
    virtual int32_t SendNotification (uint32_t type, const void* data, uint32_t size) = 0;
};

// Forwards to the host's controller and its second version. A missing primary interface
// answers -20004, a missing second version -20009.
class AAX_VController final : public AAX_IController
{
public:
    // [host thread] Queries both controller interfaces of the host unknown (may be null).
    explicit AAX_VController (IACFUnknown* host);

    int32_t GetEffectId (AAX_IString* outId) const override;
    int32_t GetSampleRate (double* outRate) const override;
    int32_t GetInputStemFormat (int32_t* outFormat) const override;
    int32_t GetOutputStemFormat (int32_t* outFormat) const override;
    int32_t GetSignalLatency (int32_t* outSamples) const override;
    int32_t GetCycleCount (int32_t which, int32_t* outCount) const override;
    int32_t GetTimeOfDay (int64_t* outSamples) const override;
    int32_t SetSignalLatency (int32_t samples) override;
    int32_t SetCycleCount (const int32_t* counts, int32_t countCount) override;
    // [any thread that dispatches packets]
    int32_t PostPacket (uint32_t port, const void* data, uint32_t size) override;
    int32_t GetHostName (AAX_IString* outName) const override;
    int32_t GetMeterValue (uint32_t meterId, float* outValue) const override;
    int32_t GetMeterPeak (uint32_t meterId, float* outValue) const override;
    int32_t ClearMeterPeak (uint32_t meterId) const override;
    int32_t GetMeterCount (uint32_t* outCount) const override;
    int32_t GetMeterClipped (uint32_t meterId, int32_t* outClipped) const override;
    int32_t ClearMeterClipped (uint32_t meterId) const override;
    int32_t GetNextMidiPacket (uint32_t* outPort, void* outPacket) override;
    int32_t GetPlugInMode (int32_t* outMode) const override;
    // Without the second version the time stamp reads 0.
    int32_t GetTimestamp (int64_t* outTimestamp) const override;
    int32_t SendNotification (uint32_t type, const void* data, uint32_t size) override;

private:
    ACFPtr<AAX_IACFController> controller_;
    ACFPtr<AAX_IACFController_V2> controller2_;
};
