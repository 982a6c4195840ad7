#pragma once
// The stream format that the host and a native process agree on: four 16-bit words, of which the
// last three must be 1, 2 and 1, and a 32-bit float sample rate that must not be 0. The host owns
// the record; these functions read and write it field by field.

#include <cstddef>
#include <cstdint>

#pragma pack(push, 2)
struct SStreamFormat
{
    int16_t fHostWord; // the host's own; never set here
    int16_t fWord2;
    int16_t fWord4;
    int16_t fWord6;
    float fSampleRate;
};
#pragma pack(pop)
static_assert (offsetof (SStreamFormat, fWord2) == 2);
static_assert (offsetof (SStreamFormat, fWord4) == 4);
static_assert (offsetof (SStreamFormat, fWord6) == 6);
static_assert (offsetof (SStreamFormat, fSampleRate) == 8);
static_assert (sizeof (SStreamFormat) == 12);

inline constexpr float kDefaultStreamSampleRate = 44100.0f;

// [host thread] Writes 1, 2, 1 and 44100.0 (the first word is left as it is); a null record is
// left alone.
void GetDefaultStreamFormat (char* format);
// [host thread] 0 for a record with 1, 2, 1 and a nonzero rate; -7104 for any other (and null).
int32_t CheckStreamFormat (const char* format);
