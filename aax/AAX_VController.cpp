#include "AAX_VController.h"

#include "AAX_Forward.h"

AAX_VController::AAX_VController (IACFUnknown* host)
    : controller_ (QueryACFInterface<AAX_IACFController> (host, IID_IACFController)),
      controller2_ (QueryACFInterface<AAX_IACFController_V2> (host, IID_IACFController_V2))
{
}

#define FORWARD1(call) AAX_FORWARD_OR (controller_, AAX_ERROR_NULL_OBJECT, call)
#define FORWARD2(call) AAX_FORWARD_OR (controller2_, AAX_ERROR_UNIMPLEMENTED, call)

int32_t AAX_VController::GetEffectId (AAX_IString* outId) const
{
    FORWARD1 (GetEffectId (outId));
}
int32_t AAX_VController::GetSampleRate (double* outRate) const { FORWARD1 (GetSampleRate (outRate)); }
int32_t AAX_VController::GetInputStemFormat (int32_t* outFormat) const { FORWARD1 (GetInputStemFormat (outFormat)); }
int32_t AAX_VController::GetOutputStemFormat (int32_t* outFormat) const { FORWARD1 (GetOutputStemFormat (outFormat)); }
int32_t AAX_VController::GetSignalLatency (int32_t* outSamples) const { FORWARD1 (GetSignalLatency (outSamples)); }
int32_t AAX_VController::GetCycleCount (int32_t which, int32_t* outCount) const { FORWARD1 (GetCycleCount (which, outCount)); }
int32_t AAX_VController::GetTimeOfDay (int64_t* outSamples) const { FORWARD1 (GetTimeOfDay (outSamples)); }
int32_t AAX_VController::SetSignalLatency (int32_t samples) { FORWARD1 (SetSignalLatency (samples)); }
int32_t AAX_VController::SetCycleCount (const int32_t* counts, int32_t countCount) { FORWARD1 (SetCycleCount (counts, countCount)); }
int32_t AAX_VController::PostPacket (uint32_t port, const void* data, uint32_t size) { FORWARD1 (PostPacket (port, data, size)); }
int32_t AAX_VController::GetHostName (AAX_IString* outName) const { FORWARD2 (GetHostName (outName)); }
int32_t AAX_VController::GetMeterValue (uint32_t meterId, float* outValue) const { FORWARD1 (GetMeterValue (meterId, outValue)); }
int32_t AAX_VController::GetMeterPeak (uint32_t meterId, float* outValue) const { FORWARD1 (GetMeterPeak (meterId, outValue)); }
int32_t AAX_VController::ClearMeterPeak (uint32_t meterId) const { FORWARD1 (ClearMeterPeak (meterId)); }
int32_t AAX_VController::GetMeterCount (uint32_t* outCount) const { FORWARD1 (GetMeterCount (outCount)); }
int32_t AAX_VController::GetMeterClipped (uint32_t meterId, int32_t* outClipped) const { FORWARD1 (GetMeterClipped (meterId, outClipped)); }
int32_t AAX_VController::ClearMeterClipped (uint32_t meterId) const { FORWARD1 (ClearMeterClipped (meterId)); }
int32_t AAX_VController::GetNextMidiPacket (uint32_t* outPort, void* outPacket) { FORWARD1 (GetNextMidiPacket (outPort, outPacket)); }
int32_t AAX_VController::GetPlugInMode (int32_t* outMode) const { FORWARD2 (GetPlugInMode (outMode)); }

int32_t AAX_VController::GetTimestamp (int64_t* outTimestamp) const
{
    if (! controller2_)
    {
        if (outTimestamp != nullptr)
            *outTimestamp = 0;
        return AAX_ERROR_UNIMPLEMENTED;
    }
    return controller2_->GetTimestamp (outTimestamp);
}

int32_t AAX_VController::SendNotification (uint32_t type, const void* data, uint32_t size) { FORWARD2 (SendNotification (type, data, size)); }

#undef FORWARD1
#undef FORWARD2
