#pragma once

#include "KestruneAudioProcessor.h"

#include <cmath>
#include <memory>

// A prepared processor with helpers to fill and run blocks.
struct PreparedProcessor
{
    explicit PreparedProcessor (int inputs = 2, int outputs = 2, double rate = 48000.0, int blockSize = 512)
        : blockSize (blockSize)
    {
        processor->setPlayConfigDetails (inputs, outputs, rate, blockSize);
        processor->prepareToPlay (rate, blockSize);
    }

    static void fillSine (juce::AudioBuffer<float>& buffer, double frequency, double rate, float amplitude, int offset = 0)
    {
        for (int c = 0; c < buffer.getNumChannels(); ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (c, i, amplitude * static_cast<float> (std::sin (2.0 * juce::MathConstants<double>::pi * frequency * (i + offset) / rate) * (c == 1 ? -1.0 : 1.0)));
    }

    void run (juce::AudioBuffer<float>& buffer)
    {
        juce::MidiBuffer midi;
        processor->processBlock (buffer, midi);
    }

    // Runs whole blocks of a sine; returns the last block.
    juce::AudioBuffer<float> runSine (double frequency, float amplitude, double seconds, double rate = 48000.0)
    {
        juce::AudioBuffer<float> buffer (processor->getTotalNumInputChannels(), blockSize);
        const int blocks = static_cast<int> (seconds * rate / blockSize) + 1;
        for (int block = 0; block < blocks; ++block)
        {
            fillSine (buffer, frequency, rate, amplitude, block * blockSize);
            run (buffer);
        }
        return buffer;
    }

    // The gain smoother starts far below 1 and overshoots on its first step; after about
    // two seconds the meter value has settled.
    static constexpr double settleSeconds = 3.0;

    std::unique_ptr<KestruneAudioProcessor> processor = std::make_unique<KestruneAudioProcessor>();
    int blockSize;
};
