#pragma once

#include "ParameterStore.h"
#include "QORCompressorChannel.h"
#include "QORLevelSmoother.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>

// The KESTrune compressor: ten normalised parameters kept in engineering units, a
// compressor channel per input channel with an optional side-chain low-cut, a drive
// curve, output level and dry/wet mix, and a small XML state block.
//
// Threads: any thread may set and read parameters and meters, without a lock. prepareToPlay
// and releaseResources hold the callback lock, which the wrappers hold around processBlock;
// the per-channel objects are touched only there and in processBlock.
class KestruneAudioProcessor : public juce::AudioProcessor
{
public:
    enum ParameterIndex
    {
        attackParam,
        releaseParam,
        thresholdParam,
        ratioParam,
        kneeParam,
        lowCutParam,
        driveParam,
        levelParam,
        mixParam,
        bypassParam,
        numParams
    };

    KestruneAudioProcessor();
    ~KestruneAudioProcessor() override;

    // Identity and the legacy index-based parameter interface.
    const juce::String getName() const override;
    int getNumParameters() override;
    float getParameter (int index) override;
    void setParameter (int index, float newValue) override;
    const juce::String getParameterName (int index) override;
    const juce::String getParameterText (int index) override;
    bool isParameterAutomatable (int index) const override;
    bool isMetaParameter (int index) const override;
    const juce::String getInputChannelName (int channelIndex) const override;
    const juce::String getOutputChannelName (int channelIndex) const override;
    bool isInputChannelStereoPair (int index) const override;
    bool isOutputChannelStereoPair (int index) const override;

    bool acceptsMidi() const override;
    bool producesMidi() const override;
    bool silenceInProducesSilenceOut() const override;
    double getTailLengthSeconds() const override;
    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    // [host thread] Creates or re-rates one compressor, low-cut filter and output
    // smoother per input channel; running states of the channels that stay are kept.
    void prepareToPlay (double sampleRate, int samplesPerBlock) override;
    // [host thread] Deletes the per-channel objects.
    void releaseResources() override;
    // [audio thread] Compresses the block in place with the parameter values of its start;
    // a sample that is no audio (a NaN, an infinity, beyond largestAudioSample) is silence
    // for the compressor and comes out as 0. Allocates nothing and takes no lock.
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;

    // [host thread] Writes the state block into destData, which is resized to it: what the
    // block held before is not part of it.
    void getStateInformation (juce::MemoryBlock& destData) override;
    // [host thread] Restores the parameters from a state block; a block that cannot be read
    // changes nothing.
    void setStateInformation (const void* data, int sizeInBytes) override;

    // Meter values published by every block, safe to read from any thread: the first
    // channel's smoothed applied gain (1.0 = no reduction) and its output RMS level.
    double getGainReductionMeterValue() const noexcept { return gainReductionMeter.load (std::memory_order_relaxed); }
    double getOutputMeterValue() const noexcept { return outputMeter.load (std::memory_order_relaxed); }

    // The drive stage: tanh-shaped saturation times scale, plus a small bump near x = -1.
    static double driveCurve (double x, double drive, double c, double scale) noexcept;

    // Corner of the side-chain high-pass in Hz for a low-cut setting (20 Hz to 20 kHz).
    static float lowCutFrequency (float lowCutSetting) noexcept;

    static constexpr int stateMagic = 0x21324356;
    static constexpr const char* stateTagName = "QORKSTRSETTINGS";

private:
    using ParameterValues = kestrune::engine::ParameterValues;

    float normalisedValue (int index) const noexcept;
    static float normalisedValueOf (int index, const ParameterValues& values) noexcept;
    void applyNormalisedValue (int index, float value);
    juce::String displayText (int index) const;
    void bringChannelsUpToDate (const ParameterValues& values, bool always) noexcept;
    void pushParametersToChannels (const ParameterValues& values) noexcept;
    // Redesigns every side-chain high-pass for a low-cut setting and the current sample rate.
    void updateLowCutFilters (float lowCutSetting) noexcept;
    void resizeChannelObjects (int numChannels, double rate);
    void publishMeters() noexcept;

    kestrune::engine::ParameterStore parameters;

    // Audio thread (or processing excluded by the callback lock) only: the rate, the
    // per-channel objects, the values they were last brought up to date with and the output
    // stage that follows from them.
    double sampleRate = 44100.0;
    ParameterValues applied;
    QORCompressorChannel::OutputStage outputStage {};
    juce::OwnedArray<QORCompressorChannel> channels;
    juce::OwnedArray<QORBiquadFilter> lowCutFilters;
    juce::OwnedArray<QORLevelSmoother> outputSmoothers;

    std::atomic<double> gainReductionMeter { 1.0 };
    std::atomic<double> outputMeter { 0.0 };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KestruneAudioProcessor)
};
