// The host services an instance or the module reaches: host services, controller, transport,
// automation delegate and view container. Each records its calls and answers as scripted.
#pragma once

#include "HostObject.h"

#include <functional>
#include <mutex>
#include <set>

namespace kestrune::host::aax
{
class HostServices final : public HostObject<AAX_IACFHostServices>
{
public:
    explicit HostServices (HostFramework& framework);
    int32_t HandleAssertFailure (const char* file, int32_t line, const char* note) override;
    int32_t Trace (int32_t priority, const char* message) override;
};

// One packet as the controller received it.
struct PostedPacket
{
    uint32_t port = 0;
    std::vector<uint8_t> payload;
};

class HostController final : public HostObject<AAX_IACFController_V2>
{
public:
    explicit HostController (HostFramework& framework);

    // The packets posted so far, in order. [any thread]
    std::vector<PostedPacket> Packets() const;
    void ClearPackets();
    // Called after each post has been recorded, on the posting thread (for re-entrant calls).
    void OnPostPacket (std::function<void (uint32_t port)> hook) { postHook_ = std::move (hook); }
    // What the controller reports about the instance's processing: its sample rate and the
    // stem formats of its inputs and outputs.
    void SetSampleRate (double rate) { sampleRate_ = rate; }
    void SetStemFormats (int32_t input, int32_t output)
    {
        inputFormat_ = input;
        outputFormat_ = output;
    }

    int32_t GetEffectId (AAX_IString* outId) const override;
    int32_t GetSampleRate (double* outRate) const override;
    int32_t GetInputStemFormat (int32_t* outFormat) const override;
    int32_t GetOutputStemFormat (int32_t* outFormat) const override;
    int32_t GetSignalLatency (int32_t* outSamples) const override;
    int32_t GetCycleCount (int32_t which, int32_t* outCount) const override;
    int32_t GetTimeOfDay (int64_t* outSamples) const override;
    int32_t SetSignalLatency (int32_t samples) override;
    int32_t SetCycleCount (const int32_t* counts, int32_t countCount) override;
    int32_t PostPacket (uint32_t port, const void* data, uint32_t size) override;
    int32_t GetMeterValue (uint32_t meterId, float* outValue) const override;
    int32_t GetMeterPeak (uint32_t meterId, float* outValue) const override;
    int32_t ClearMeterPeak (uint32_t meterId) const override;
    int32_t GetMeterClipped (uint32_t meterId, int32_t* outClipped) const override;
    int32_t ClearMeterClipped (uint32_t meterId) const override;
    int32_t GetMeterCount (uint32_t* outCount) const override;
    int32_t GetNextMidiPacket (uint32_t* outPort, void* outPacket) override;
    int32_t GetHostName (AAX_IString* outName) const override;
    int32_t GetPlugInMode (int32_t* outMode) const override;
    int32_t GetTimestamp (int64_t* outTimestamp) const override;
    int32_t SendNotification (uint32_t type, const void* data, uint32_t size) override;

private:
    mutable std::mutex mutex_;
    std::vector<PostedPacket> packets_;
    std::function<void (uint32_t)> postHook_;
    std::atomic<double> sampleRate_ { 44100.0 };
    std::atomic<int32_t> inputFormat_ { AAX_STEM_FORMAT_STEREO };
    std::atomic<int32_t> outputFormat_ { AAX_STEM_FORMAT_STEREO };
};

class HostTransport final : public HostObject<AAX_IACFTransport_V2>
{
public:
    explicit HostTransport (HostFramework& framework);

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
};

// Keeps which parameters are registered and touched. A set-value request is answered as a host
// does, by the responder (typically: update the parameter to that value), unless none is set.
class HostAutomationDelegate final : public HostObject<AAX_IACFAutomationDelegate>
{
public:
    using Responder = std::function<void (const std::string& parameterId, double normalizedValue)>;

    explicit HostAutomationDelegate (HostFramework& framework);

    void SetResponder (Responder responder) { responder_ = std::move (responder); }
    std::set<std::string> Registered() const;
    bool IsTouched (const std::string& parameterId) const;

    int32_t RegisterParameter (const char* parameterId) override;
    int32_t UnregisterParameter (const char* parameterId) override;
    int32_t PostSetValueRequest (const char* parameterId, double normalizedValue) const override;
    int32_t PostCurrentValue (const char* parameterId, double normalizedValue) const override;
    int32_t PostTouchRequest (const char* parameterId) override;
    int32_t PostReleaseRequest (const char* parameterId) override;
    int32_t GetTouchState (const char* parameterId, int32_t* outTouched) override;

private:
    mutable std::mutex mutex_;
    std::set<std::string> registered_;
    std::set<std::string> touched_;
    Responder responder_;
};

// A window the host opens for an editor: without a native view, with an X11 window of the
// host's, or headless, as an offscreen view whose pixels the host owns.
class HostViewContainer final : public HostObject<AAX_IACFViewContainer>
{
public:
    explicit HostViewContainer (HostFramework& framework);

    // An X11 window; resize is called when the editor asks for its size.
    void UseX11Window (unsigned long window, std::function<void (int32_t, int32_t)> resize);
    // Headless: an offscreen view of that size.
    void UseOffscreen (int32_t width, int32_t height);

    // The size the editor asked for last (0 x 0 before).
    std::pair<int32_t, int32_t> RequestedSize() const { return requestedSize_; }
    // Headless: lets the attached editor draw and returns its pixels (ARGB, row by row); empty
    // when nothing is attached.
    std::vector<uint32_t> Draw();
    // Headless: a press, drag or release at a point; false when nothing is attached.
    bool Mouse (int32_t event, int32_t x, int32_t y);
    bool HasClient() const { return offscreen_.client != nullptr; }
    int32_t Width() const { return offscreen_.width; }
    int32_t Height() const { return offscreen_.height; }

    int32_t GetType (int32_t* outType) override;
    int32_t GetPtr (void** outNativeView) override;
    int32_t GetModifiers (uint32_t* outModifiers) override;
    int32_t SetViewSize (int32_t width, int32_t height) override;
    int32_t HandleParameterMouseDown (const char* parameterId, uint32_t modifiers) override;
    int32_t HandleParameterMouseDrag (const char* parameterId, uint32_t modifiers) override;
    int32_t HandleParameterMouseUp (const char* parameterId, uint32_t modifiers) override;

private:
    void ResizeOffscreen (int32_t width, int32_t height);

    int32_t type_ = AAX_VIEW_CONTAINER_NONE;
    unsigned long window_ = 0;
    std::function<void (int32_t, int32_t)> resize_;
    AAX_SOffscreenView offscreen_ {};
    std::vector<uint32_t> pixels_;
    std::pair<int32_t, int32_t> requestedSize_ { 0, 0 };
};
} // namespace kestrune::host::aax
