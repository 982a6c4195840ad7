// processBlock allocates nothing once prepareToPlay has run.
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <new>

namespace
{
std::atomic<bool> counting { false };
std::atomic<long> allocations { 0 };

void* allocate (std::size_t size)
{
    if (counting.load())
        allocations.fetch_add (1);
    if (void* memory = std::malloc (size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}
} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void operator delete (void* memory) noexcept { std::free (memory); }
void operator delete[] (void* memory) noexcept { std::free (memory); }
void operator delete (void* memory, std::size_t) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::size_t) noexcept { std::free (memory); }

namespace
{
TEST (Allocation, ProcessBlockAllocatesNothingAfterPrepare)
{
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (2, 2, 48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    processor.setParameter (5, 0.4f);
    juce::AudioBuffer<float> buffer (2, 2048);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (c, i, 0.5f * std::sin (0.01f * static_cast<float> (i)));
    juce::MidiBuffer midi;

    allocations = 0;
    counting = true;
    for (int block = 0; block < 20; ++block)
    {
        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 2, 0, block % 2 == 0 ? 512 : 2048);
        processor.processBlock (view, midi);
    }
    counting = false;
    EXPECT_EQ (allocations.load(), 0);
}

// Parameter changes between blocks bring the channels and the low-cut filters up to date
// inside processBlock; with three channels one of them runs on its own.
TEST (Allocation, ParameterChangesReachTheChannelsWithoutAllocating)
{
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (3, 3, 44100.0, 256);
    processor.prepareToPlay (44100.0, 256);
    juce::AudioBuffer<float> buffer (3, 1000);
    juce::MidiBuffer midi;

    allocations = 0;
    counting = true;
    for (int block = 0; block < 40; ++block)
    {
        for (int index = 0; index < KestruneAudioProcessor::numParams - 1; ++index)
            processor.setParameter (index, static_cast<float> ((block * 3 + index) % 11) / 10.0f);
        for (int c = 0; c < 3; ++c)
            for (int i = 0; i < buffer.getNumSamples(); ++i)
                buffer.setSample (c, i, 0.8f * std::sin (0.02f * static_cast<float> (i + block * 1000 + c)));
        const int length = 1 + (block * 97) % buffer.getNumSamples();
        juce::AudioBuffer<float> view (buffer.getArrayOfWritePointers(), 3, 0, length);
        processor.processBlock (view, midi);
    }
    counting = false;
    EXPECT_EQ (allocations.load(), 0);
    EXPECT_TRUE (std::isfinite (processor.getGainReductionMeterValue()));
    EXPECT_LT (processor.getGainReductionMeterValue(), 1.0);
}
} // namespace
