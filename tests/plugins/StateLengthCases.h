// Values of a parameter whose decimal texts make the processor's saved state longer, shorter or
// as long: a host asks a chunk's size at the first value and gets the chunk after the second, as
// when a knob turns between its two calls. For the chunk tests of both plug-in files.
#pragma once

namespace chunk_test
{
struct StateLengthCase
{
    const char* name;
    double asked; // the value when the size is asked
    double then; // the value when the chunk is got
    bool sameLength;
};

inline constexpr StateLengthCase kStateLengthCases[] = {
    { "the state grows", 0.5, 0.123456789, false },
    { "the state shrinks", 0.123456789, 0.5, false },
    { "the state keeps its length", 0.25, 0.75, true },
};
} // namespace chunk_test
