#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

// The built-in example: a few bars of a synthesised kick, snare and bass line in stereo,
// loud enough for the compressor to work on. The same arguments give the same samples.
juce::AudioBuffer<float> makeExampleSignal (double sampleRate, double seconds);
