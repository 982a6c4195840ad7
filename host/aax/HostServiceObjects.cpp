#include "HostServiceObjects.h"

#include <algorithm>

namespace kestrune::host::aax
{
HostServices::HostServices (HostFramework& framework) : HostObject (framework, { IID_IACFHostServices }) {}
int32_t HostServices::HandleAssertFailure (const char* file, int32_t line, const char* note) { return Framework().Record ("HostServices", 3, file, line, note); }
int32_t HostServices::Trace (int32_t priority, const char* message) { return Framework().Record ("HostServices", 4, priority, message); }

HostController::HostController (HostFramework& framework)
    : HostObject (framework, { IID_IACFController, IID_IACFController_V2 })
{
}

int32_t HostController::GetEffectId (AAX_IString* outId) const { return Framework().Record ("Controller", 3, outId); }
namespace
{
    // Writes the answer of a successful call.
    template <class T>
    int32_t Answer (int32_t result, T* out, T value)
    {
        if (result == AAX_SUCCESS && out != nullptr)
            *out = value;
        return result;
    }
} // namespace

int32_t HostController::GetSampleRate (double* outRate) const { return Answer (Framework().Record ("Controller", 4, outRate), outRate, sampleRate_.load()); }
int32_t HostController::GetInputStemFormat (int32_t* outFormat) const { return Answer (Framework().Record ("Controller", 5, outFormat), outFormat, inputFormat_.load()); }
int32_t HostController::GetOutputStemFormat (int32_t* outFormat) const { return Answer (Framework().Record ("Controller", 6, outFormat), outFormat, outputFormat_.load()); }
int32_t HostController::GetSignalLatency (int32_t* outSamples) const { return Framework().Record ("Controller", 7, outSamples); }
int32_t HostController::GetCycleCount (int32_t which, int32_t* outCount) const { return Framework().Record ("Controller", 8, which, outCount); }
int32_t HostController::GetTimeOfDay (int64_t* outSamples) const { return Framework().Record ("Controller", 9, outSamples); }
int32_t HostController::SetSignalLatency (int32_t samples) { return Framework().Record ("Controller", 10, samples); }
int32_t HostController::SetCycleCount (const int32_t* counts, int32_t countCount) { return Framework().Record ("Controller", 11, counts, countCount); }
int32_t HostController::PostPacket (uint32_t port, const void* data, uint32_t size)
{
    const int32_t result = Framework().Record ("Controller", 12, port, data, size);
    if (result == AAX_SUCCESS)
    {
        const auto* bytes = static_cast<const uint8_t*> (data);
        std::lock_guard lock (mutex_);
        packets_.push_back ({ port, bytes != nullptr ? std::vector<uint8_t> (bytes, bytes + size) : std::vector<uint8_t> {} });
    }
    if (postHook_)
        postHook_ (port);
    return result;
}

std::vector<PostedPacket> HostController::Packets() const
{
    std::lock_guard lock (mutex_);
    return packets_;
}

void HostController::ClearPackets()
{
    std::lock_guard lock (mutex_);
    packets_.clear();
}
int32_t HostController::GetMeterValue (uint32_t meterId, float* outValue) const { return Framework().Record ("Controller", 13, meterId, outValue); }
int32_t HostController::GetMeterPeak (uint32_t meterId, float* outValue) const { return Framework().Record ("Controller", 14, meterId, outValue); }
int32_t HostController::ClearMeterPeak (uint32_t meterId) const { return Framework().Record ("Controller", 15, meterId); }
int32_t HostController::GetMeterClipped (uint32_t meterId, int32_t* outClipped) const { return Framework().Record ("Controller", 16, meterId, outClipped); }
int32_t HostController::ClearMeterClipped (uint32_t meterId) const { return Framework().Record ("Controller", 17, meterId); }
int32_t HostController::GetMeterCount (uint32_t* outCount) const { return Framework().Record ("Controller", 18, outCount); }
int32_t HostController::GetNextMidiPacket (uint32_t* outPort, void* outPacket) { return Framework().Record ("Controller", 19, outPort, outPacket); }
int32_t HostController::GetHostName (AAX_IString* outName) const { return Framework().Record ("Controller", 20, outName); }
int32_t HostController::GetPlugInMode (int32_t* outMode) const { return Framework().Record ("Controller", 21, outMode); }
int32_t HostController::GetTimestamp (int64_t* outTimestamp) const { return Framework().Record ("Controller", 22, outTimestamp); }
int32_t HostController::SendNotification (uint32_t type, const void* data, uint32_t size) { return Framework().Record ("Controller", 23, type, data, size); }

HostTransport::HostTransport (HostFramework& framework)
    : HostObject (framework, { IID_IACFTransport, IID_IACFTransport_V2 })
{
}

int32_t HostTransport::IsPlaying (int32_t* outPlaying) const { return Framework().Record ("Transport", 3, outPlaying); }
int32_t HostTransport::GetTempo (double* outBeatsPerMinute) const { return Framework().Record ("Transport", 4, outBeatsPerMinute); }
int32_t HostTransport::GetMeter (int32_t* outNumerator, int32_t* outDenominator) const { return Framework().Record ("Transport", 5, outNumerator, outDenominator); }
int32_t HostTransport::GetTickPosition (int64_t* outTicks) const { return Framework().Record ("Transport", 6, outTicks); }
int32_t HostTransport::GetLoop (int32_t* outLooping, int64_t* outStartTick, int64_t* outEndTick) const { return Framework().Record ("Transport", 7, outLooping, outStartTick, outEndTick); }
int32_t HostTransport::GetSamplePosition (int64_t* outSamples) const { return Framework().Record ("Transport", 8, outSamples); }
int32_t HostTransport::GetTickPositionAt (int64_t* outTicks, int64_t samplePosition) const { return Framework().Record ("Transport", 9, outTicks, samplePosition); }
int32_t HostTransport::GetBarBeat (int32_t* outBars, int32_t* outBeats, int64_t* outTicks, int64_t samplePosition) const { return Framework().Record ("Transport", 10, outBars, outBeats, outTicks, samplePosition); }
int32_t HostTransport::GetTicksPerQuarter (uint32_t* outTicks) const { return Framework().Record ("Transport", 11, outTicks); }
int32_t HostTransport::GetTicksPerBeat (uint32_t* outTicks) const { return Framework().Record ("Transport", 12, outTicks); }
int32_t HostTransport::GetSelectionStart (int64_t* outSamples) const { return Framework().Record ("Transport", 13, outSamples); }
int32_t HostTransport::GetTimeCodeFrameRate (int32_t* outRate, int64_t* outOffset) const { return Framework().Record ("Transport", 14, outRate, outOffset); }
int32_t HostTransport::GetFeetFramesRate (int32_t* outRate) const { return Framework().Record ("Transport", 15, outRate); }

HostAutomationDelegate::HostAutomationDelegate (HostFramework& framework)
    : HostObject (framework, { IID_IACFAutomationDelegate })
{
}

namespace
{
    std::string TextOf (const char* text)
    {
        return text != nullptr ? text : "";
    }
} // namespace

int32_t HostAutomationDelegate::RegisterParameter (const char* parameterId)
{
    const int32_t result = Framework().Record ("AutomationDelegate", 3, parameterId);
    std::lock_guard lock (mutex_);
    registered_.insert (TextOf (parameterId));
    return result;
}

int32_t HostAutomationDelegate::UnregisterParameter (const char* parameterId)
{
    const int32_t result = Framework().Record ("AutomationDelegate", 4, parameterId);
    std::lock_guard lock (mutex_);
    registered_.erase (TextOf (parameterId));
    return result;
}

int32_t HostAutomationDelegate::PostSetValueRequest (const char* parameterId, double normalizedValue) const
{
    const int32_t result = Framework().Record ("AutomationDelegate", 5, parameterId, normalizedValue);
    if (result == AAX_SUCCESS && responder_)
        responder_ (TextOf (parameterId), normalizedValue);
    return result;
}

int32_t HostAutomationDelegate::PostCurrentValue (const char* parameterId, double normalizedValue) const { return Framework().Record ("AutomationDelegate", 6, parameterId, normalizedValue); }

int32_t HostAutomationDelegate::PostTouchRequest (const char* parameterId)
{
    const int32_t result = Framework().Record ("AutomationDelegate", 7, parameterId);
    std::lock_guard lock (mutex_);
    touched_.insert (TextOf (parameterId));
    return result;
}

int32_t HostAutomationDelegate::PostReleaseRequest (const char* parameterId)
{
    const int32_t result = Framework().Record ("AutomationDelegate", 8, parameterId);
    std::lock_guard lock (mutex_);
    touched_.erase (TextOf (parameterId));
    return result;
}

int32_t HostAutomationDelegate::GetTouchState (const char* parameterId, int32_t* outTouched)
{
    const int32_t result = Framework().Record ("AutomationDelegate", 9, parameterId);
    if (outTouched != nullptr)
        *outTouched = IsTouched (TextOf (parameterId)) ? 1 : 0;
    return result;
}

std::set<std::string> HostAutomationDelegate::Registered() const
{
    std::lock_guard lock (mutex_);
    return registered_;
}

bool HostAutomationDelegate::IsTouched (const std::string& parameterId) const
{
    std::lock_guard lock (mutex_);
    return touched_.count (parameterId) != 0;
}

HostViewContainer::HostViewContainer (HostFramework& framework)
    : HostObject (framework, { IID_IACFViewContainer })
{
}

void HostViewContainer::UseX11Window (unsigned long window, std::function<void (int32_t, int32_t)> resize)
{
    type_ = AAX_VIEW_CONTAINER_X11_WINDOW;
    window_ = window;
    resize_ = std::move (resize);
}

void HostViewContainer::UseOffscreen (int32_t width, int32_t height)
{
    type_ = AAX_VIEW_CONTAINER_OFFSCREEN;
    ResizeOffscreen (width, height);
}

void HostViewContainer::ResizeOffscreen (int32_t width, int32_t height)
{
    offscreen_.width = std::max (width, 0);
    offscreen_.height = std::max (height, 0);
    pixels_.assign (size_t (offscreen_.width) * size_t (offscreen_.height), 0);
    offscreen_.pixels = pixels_.data();
}

std::vector<uint32_t> HostViewContainer::Draw()
{
    if (offscreen_.draw == nullptr)
        return {};
    std::fill (pixels_.begin(), pixels_.end(), 0);
    offscreen_.draw (offscreen_.client, &offscreen_);
    return pixels_;
}

bool HostViewContainer::Mouse (int32_t event, int32_t x, int32_t y)
{
    if (offscreen_.mouse == nullptr)
        return false;
    offscreen_.mouse (offscreen_.client, event, x, y);
    return true;
}

int32_t HostViewContainer::GetType (int32_t* outType) { return Answer (Framework().Record ("ViewContainer", 3, outType), outType, type_); }

int32_t HostViewContainer::GetPtr (void** outNativeView)
{
    const int32_t result = Framework().Record ("ViewContainer", 4, outNativeView);
    if (result != AAX_SUCCESS || outNativeView == nullptr)
        return result;
    if (type_ == AAX_VIEW_CONTAINER_X11_WINDOW)
        *outNativeView = reinterpret_cast<void*> (window_);
    else if (type_ == AAX_VIEW_CONTAINER_OFFSCREEN)
        *outNativeView = &offscreen_;
    else
        *outNativeView = nullptr;
    return result;
}

int32_t HostViewContainer::GetModifiers (uint32_t* outModifiers) { return Framework().Record ("ViewContainer", 5, outModifiers); }

int32_t HostViewContainer::SetViewSize (int32_t width, int32_t height)
{
    const int32_t result = Framework().Record ("ViewContainer", 6, width, height);
    if (result != AAX_SUCCESS)
        return result;
    requestedSize_ = { width, height };
    if (type_ == AAX_VIEW_CONTAINER_OFFSCREEN && (width != offscreen_.width || height != offscreen_.height))
        ResizeOffscreen (width, height);
    if (type_ == AAX_VIEW_CONTAINER_X11_WINDOW && resize_)
        resize_ (width, height);
    return result;
}

int32_t HostViewContainer::HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) { return Framework().Record ("ViewContainer", 7, parameterId, modifiers); }
int32_t HostViewContainer::HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) { return Framework().Record ("ViewContainer", 8, parameterId, modifiers); }
int32_t HostViewContainer::HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) { return Framework().Record ("ViewContainer", 9, parameterId, modifiers); }
} // namespace kestrune::host::aax
