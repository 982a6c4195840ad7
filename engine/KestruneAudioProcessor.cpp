#include "KestruneAudioProcessor.h"

#include "StateBlockText.h"

#include <array>
#include <cmath>
#include <cstring>

namespace
{
constexpr std::array<const char*, KestruneAudioProcessor::numParams> parameterNames {
    "Attack", "Release", "Threshold", "Ratio", "Knee", "LowCut", "Drive", "Level", "Mix", "Bypass"
};

// ratioSlope = 1 - 1/ratio for 1:1, 1.5:1, 2:1, 2.5:1, 3:1, 4:1, 8:1, 12:1, 16:1, 20:1, infinite.
constexpr std::array<float, 11> ratioSlopes {
    0.0f, 1.0f / 3.0f, 0.5f, 0.6f, 2.0f / 3.0f, 0.75f, 0.875f, 11.0f / 12.0f, 0.9375f, 0.95f, 1.0f
};

constexpr float lowCutOffLimit = 0.00001f;
constexpr double minusInfinityDb = -100.0;
// The drive curve's bump width as processBlock uses it.
constexpr double driveShape = 0.5;

// 20 * log10 (g), taken as -100 dB when g <= 0 or when the result is not above -100.
double decibelsOf (double gain) noexcept
{
    if (gain <= 0.0)
        return minusInfinityDb;
    const double dB = 20.0 * std::log10 (gain);
    return dB > minusInfinityDb ? dB : minusInfinityDb;
}

juce::String decibelText (double gain)
{
    const double dB = decibelsOf (gain);
    if (dB <= minusInfinityDb)
        return "-INF dB";
    return (dB >= 0.0 ? "+" : "") + juce::String (dB, 2) + " dB";
}

int ratioIndexFor (float value) noexcept
{
    const float rounded = std::floor (value * 10.0f + 0.5f);
    if (! (rounded > 0.0f))
        return 0;
    return rounded >= 10.0f ? 10 : static_cast<int> (rounded);
}

void writeLittleEndian32 (juce::MemoryBlock& block, size_t offset, uint32_t value)
{
    auto* bytes = static_cast<uint8_t*> (block.getData()) + offset;
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t> (value >> (8 * i));
}
} // namespace

KestruneAudioProcessor::KestruneAudioProcessor()
    : AudioProcessor (BusesProperties()
                          .withInput ("Input", juce::AudioChannelSet::stereo(), true)
                          .withOutput ("Output", juce::AudioChannelSet::stereo(), true))
{
}

KestruneAudioProcessor::~KestruneAudioProcessor() = default;

//==============================================================================
const juce::String KestruneAudioProcessor::getName() const { return "KESTrune"; }
int KestruneAudioProcessor::getNumParameters() { return numParams; }
float KestruneAudioProcessor::getParameter (int index) { return normalisedValue (index); }
void KestruneAudioProcessor::setParameter (int index, float newValue) { applyNormalisedValue (index, newValue); }
const juce::String KestruneAudioProcessor::getParameterText (int index) { return displayText (index); }

const juce::String KestruneAudioProcessor::getParameterName (int index)
{
    return juce::isPositiveAndBelow (index, static_cast<int> (numParams)) ? parameterNames[static_cast<size_t> (index)] : "";
}

bool KestruneAudioProcessor::isParameterAutomatable (int) const { return true; }
bool KestruneAudioProcessor::isMetaParameter (int) const { return false; }
const juce::String KestruneAudioProcessor::getInputChannelName (int channelIndex) const { return juce::String (channelIndex + 1); }
const juce::String KestruneAudioProcessor::getOutputChannelName (int channelIndex) const { return juce::String (channelIndex + 1); }
bool KestruneAudioProcessor::isInputChannelStereoPair (int) const { return true; }
bool KestruneAudioProcessor::isOutputChannelStereoPair (int) const { return true; }

bool KestruneAudioProcessor::acceptsMidi() const { return false; }
bool KestruneAudioProcessor::producesMidi() const { return false; }
bool KestruneAudioProcessor::silenceInProducesSilenceOut() const { return true; }
double KestruneAudioProcessor::getTailLengthSeconds() const { return 0.0; }
bool KestruneAudioProcessor::hasEditor() const { return true; }

int KestruneAudioProcessor::getNumPrograms() { return 0; }
int KestruneAudioProcessor::getCurrentProgram() { return 0; }
void KestruneAudioProcessor::setCurrentProgram (int) {}
const juce::String KestruneAudioProcessor::getProgramName (int) { return {}; }
void KestruneAudioProcessor::changeProgramName (int, const juce::String&) {}

//==============================================================================
float KestruneAudioProcessor::normalisedValue (int index) const noexcept
{
    return normalisedValueOf (index, parameters.snapshot());
}

float KestruneAudioProcessor::normalisedValueOf (int index, const ParameterValues& values) noexcept
{
    switch (index)
    {
        case attackParam: return std::sqrt ((values.attack - 0.001f) / 0.299f);
        case releaseParam: return std::sqrt ((values.release - 0.1f) / 1.9f);
        case thresholdParam: return static_cast<float> (std::max (0.0, decibelsOf (values.threshold) + 40.0) / 40.0);
        case ratioParam:
        {
            if (values.ratioSlope <= 0.0f)
                return 0.0f;
            for (size_t i = 1; i < ratioSlopes.size(); ++i)
                if (ratioSlopes[i] >= values.ratioSlope)
                    return static_cast<float> (i) / 10.0f;
            return 1.0f;
        }
        case kneeParam: return values.softKnee ? 1.0f : 0.0f;
        case lowCutParam: return values.lowCut;
        case driveParam: return values.drive;
        // -15 dB comes back a hair below it from the float gain: keep 0 at 0.
        case levelParam: return static_cast<float> (std::max (0.0, decibelsOf (values.level) / 30.0 + 0.5));
        case mixParam: return values.mix;
        case bypassParam: return values.bypass ? 1.0f : 0.0f;
        default: return 0.0f;
    }
}

void KestruneAudioProcessor::applyNormalisedValue (int index, float v)
{
    // Only stored: the next block brings the channels and the low-cut filters up to date.
    switch (index)
    {
        case attackParam: parameters.setAttack (v * v * 0.299f + 0.001f); break;
        case releaseParam: parameters.setRelease (v * v * 1.9f + 0.1f); break;
        case thresholdParam:
        {
            const float dB = v * 40.0f - 40.0f;
            parameters.setThreshold (dB > -100.0f ? std::pow (10.0f, dB * 0.05f) : 0.0f);
            break;
        }
        case ratioParam: parameters.setRatioSlope (ratioSlopes[static_cast<size_t> (ratioIndexFor (v))]); break;
        case kneeParam: parameters.setSoftKnee (v >= 0.5f); break;
        case lowCutParam: parameters.setLowCut (v); break;
        case driveParam: parameters.setDrive (v); break;
        case levelParam:
        {
            const float dB = (v - 0.5f) * 30.0f;
            parameters.setLevel (dB > -100.0f ? std::pow (10.0f, dB * 0.05f) : 0.0f);
            break;
        }
        case mixParam: parameters.setMix (v); break;
        case bypassParam: parameters.setBypass (v >= 0.5f); break;
        default: break;
    }
}

juce::String KestruneAudioProcessor::displayText (int index) const
{
    const auto values = parameters.snapshot();
    switch (index)
    {
        case attackParam:
        case releaseParam: return juce::String (normalisedValueOf (index, values) * 10.0f, 1);
        case thresholdParam: return decibelText (values.threshold);
        case ratioParam:
            if (values.ratioSlope >= 0.95f)
                return "+Inf:1";
            return juce::String (1.0f / (1.0f - values.ratioSlope), 2) + ":1";
        case kneeParam: return values.softKnee ? "SOFT KNEE" : "HARD KNEE";
        case lowCutParam:
        {
            if (! (values.lowCut > lowCutOffLimit))
                return "off";
            const float frequency = lowCutFrequency (values.lowCut);
            if (frequency < 1000.0f)
                return juce::String (static_cast<int> (std::floor (frequency + 0.5f))) + " Hz";
            return juce::String (frequency / 1000.0f, 1) + " kHz";
        }
        case levelParam: return decibelText (values.level);
        case mixParam:
            if (values.mix == 0.0f)
                return "dry";
            if (values.mix == 1.0f)
                return "wet";
            return juce::String (static_cast<int> (values.mix * 100.0f)) + " %";
        case bypassParam: return values.bypass ? "ON" : "OFF";
        default: return juce::String (static_cast<int> (normalisedValueOf (index, values) * 100.0f)) + " %";
    }
}

// The parameter push and the low-cut design for values that differ from those applied last,
// or for all of them.
void KestruneAudioProcessor::bringChannelsUpToDate (const ParameterValues& values, bool always) noexcept
{
    using kestrune::engine::sameValue;
    const bool channelValuesChanged = ! sameValue (values.attack, applied.attack) || ! sameValue (values.release, applied.release)
                                      || ! sameValue (values.threshold, applied.threshold)
                                      || ! sameValue (values.ratioSlope, applied.ratioSlope) || values.softKnee != applied.softKnee;
    if (always || channelValuesChanged)
        pushParametersToChannels (values);
    if (always || ! sameValue (values.lowCut, applied.lowCut))
        updateLowCutFilters (values.lowCut);
    if (always || ! sameValue (values.drive, applied.drive))
    {
        const double driveNorm = driveCurve (static_cast<double> (0.6f), values.drive, driveShape, 1.0);
        outputStage.drive = values.drive;
        outputStage.driveShape = driveShape;
        outputStage.driveScale = static_cast<double> (0.6f) / driveNorm;
    }
    outputStage.level = values.level;
    outputStage.mix = values.mix;
    applied = values;
}

void KestruneAudioProcessor::pushParametersToChannels (const ParameterValues& values) noexcept
{
    for (auto* channel : channels)
        channel->setParameters (values.attack, values.release, values.threshold, values.ratioSlope, values.softKnee);
}

//==============================================================================
float KestruneAudioProcessor::lowCutFrequency (float lowCutSetting) noexcept
{
    return std::pow (10.0f, 3.0f * lowCutSetting + 1.30103f);
}

// Second-order Butterworth high-pass. The corner is kept below 0.49 of the sample rate:
// at and above Nyquist the design turns unstable (20 kHz at 32 kHz, for instance).
void KestruneAudioProcessor::updateLowCutFilters (float lowCutSetting) noexcept
{
    const double frequency = std::min (static_cast<double> (lowCutFrequency (lowCutSetting)), 0.49 * sampleRate);
    const double n = std::tan (juce::MathConstants<double>::pi * frequency / sampleRate);
    const double root2 = std::sqrt (2.0);
    const double c1 = 1.0 / (1.0 + root2 * n + n * n);
    const juce::IIRCoefficients design (c1, -2.0 * c1, c1, 1.0, 2.0 * c1 * (n * n - 1.0), c1 * (1.0 - root2 * n + n * n));
    for (auto* filter : lowCutFilters)
        filter->setCoefficients (design.coefficients);
}

double KestruneAudioProcessor::driveCurve (double x, double drive, double c, double scale) noexcept
{
    const double bump = c > 0.0 ? std::exp (-5.0 * (x + 1.0) * (x + 1.0)) * 0.5 * std::min (c, 0.5) * drive : 0.0;
    return (2.0 / (std::exp ((drive + 0.01) * -10.0 * x) + 1.0) - 1.0) * scale + bump;
}

//==============================================================================
void KestruneAudioProcessor::prepareToPlay (double newSampleRate, int)
{
    const juce::ScopedLock callbackGuard (getCallbackLock());
    kestrune::engine::kernels::chooseTarget();
    const int numChannels = getTotalNumInputChannels();
    sampleRate = newSampleRate;
    resizeChannelObjects (numChannels, newSampleRate);
    bringChannelsUpToDate (parameters.snapshot(), true);
    publishMeters();
}

// Sizes the three arrays to the channel count: elements that stay keep their running
// state and get the new rate; missing ones are created.
void KestruneAudioProcessor::resizeChannelObjects (int numChannels, double rate)
{
    channels.removeLast (channels.size() - numChannels);
    lowCutFilters.removeLast (lowCutFilters.size() - numChannels);
    outputSmoothers.removeLast (outputSmoothers.size() - numChannels);
    while (channels.size() < numChannels)
        channels.add (new QORCompressorChannel());
    while (lowCutFilters.size() < numChannels)
        lowCutFilters.add (new QORBiquadFilter());
    while (outputSmoothers.size() < numChannels)
        outputSmoothers.add (new QORLevelSmoother());

    constexpr double outputSmootherTime = 0.15;
    for (int i = 0; i < numChannels; ++i)
    {
        channels[i]->setSampleRate (rate);
        outputSmoothers[i]->setSampleRate (rate);
        outputSmoothers[i]->setTime (outputSmootherTime);
    }
}

void KestruneAudioProcessor::releaseResources()
{
    const juce::ScopedLock callbackGuard (getCallbackLock());
    channels.clear();
    lowCutFilters.clear();
    outputSmoothers.clear();
    publishMeters();
}

void KestruneAudioProcessor::publishMeters() noexcept
{
    const bool hasChannel = ! channels.isEmpty() && ! outputSmoothers.isEmpty();
    gainReductionMeter.store (hasChannel ? channels.getUnchecked (0)->getGainSmootherState() : 1.0, std::memory_order_relaxed);
    outputMeter.store (hasChannel ? outputSmoothers.getUnchecked (0)->state : 0.0, std::memory_order_relaxed);
}

void KestruneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer&)
{
    // Subnormal values count as zero for the block; the caller's mode comes back at the end.
    const juce::ScopedNoDenormals noDenormals;
    const auto values = parameters.snapshot();
    if (values.bypass)
        return;
    bringChannelsUpToDate (values, false);

    const int numInputs = getTotalNumInputChannels();
    // Channels without their objects (more than were prepared) pass through untouched.
    const int numChannels = std::min ({ numInputs, buffer.getNumChannels(), channels.size(), lowCutFilters.size(),
                                        outputSmoothers.size() });
    const int numSamples = buffer.getNumSamples();
    const bool lowCutOn = values.lowCut > lowCutOffLimit;

    // Pairs of channels side by side.
    for (int first = 0; first < numChannels; first += 2)
        QORCompressorChannel::processBlock (channels.getRawDataPointer() + first, outputSmoothers.getRawDataPointer() + first,
                                            lowCutOn ? lowCutFilters.getRawDataPointer() + first : nullptr,
                                            std::min (2, numChannels - first), buffer.getArrayOfWritePointers() + first,
                                            numSamples, outputStage);

    for (int i = numInputs; i < std::min (getTotalNumOutputChannels(), buffer.getNumChannels()); ++i)
        buffer.clear (i, 0, numSamples);

    publishMeters();
}

//==============================================================================
void KestruneAudioProcessor::getStateInformation (juce::MemoryBlock& destData)
{
    juce::XmlElement element (stateTagName);
    for (int i = 0; i < numParams; ++i)
        element.setAttribute (parameterNames[static_cast<size_t> (i)], static_cast<double> (normalisedValue (i)));

    // Written by hand: JUCE's helper puts an XML declaration in front of the element.
    const juce::String text = element.toString (juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const size_t textBytes = text.getNumBytesAsUTF8();
    destData.setSize (8 + textBytes + 1, true);
    writeLittleEndian32 (destData, 0, static_cast<uint32_t> (stateMagic));
    writeLittleEndian32 (destData, 4, static_cast<uint32_t> (textBytes));
    auto* textStart = static_cast<char*> (destData.getData()) + 8;
    std::memcpy (textStart, text.toRawUTF8(), textBytes);
    // Written too: a kept block that shrinks holds an old byte there.
    textStart[textBytes] = '\0';
}

void KestruneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // The block comes from outside: its text reaches the XML reader only once checked.
    const auto text = stateBlockText (data, sizeInBytes, static_cast<uint32_t> (stateMagic));
    if (! text)
        return;

    const auto element = juce::parseXML (*text);
    if (element == nullptr || ! element->getTagName().equalsIgnoreCase (stateTagName))
        return;

    for (int i = 0; i < numParams; ++i)
    {
        float value = normalisedValue (i);
        for (int a = 0; a < element->getNumAttributes(); ++a)
        {
            if (element->getAttributeName (a).equalsIgnoreCase (parameterNames[static_cast<size_t> (i)]))
            {
                const auto stored = static_cast<float> (element->getAttributeValue (a).getDoubleValue());
                if (std::isfinite (stored))
                    value = juce::jlimit (0.0f, 1.0f, stored);
                break;
            }
        }
        applyNormalisedValue (i, value);
    }
}
