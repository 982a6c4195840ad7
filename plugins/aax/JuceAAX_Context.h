// The processing context of one KESTrune instance: the fields its components declare, one
// pointer each, at the field's index.
#pragma once

#include <cstddef>
#include <cstdint>

namespace AAXClasses
{
class JuceAAX_Processor;

enum ContextField : uint32_t
{
    kInputChannelsField = 0,
    kOutputChannelsField = 1,
    kBufferLengthField = 2,
    kBypassPortField = 3, // the master bypass packet: int32, nonzero = bypassed
    kPrivateDataField = 4 // a block holding the instance
};

inline constexpr int32_t kBypassPacketSize = 4;
inline constexpr int32_t kPrivateDataSize = 8;

struct JuceAAX_Context
{
    const float* const* inputChannels;
    float* const* outputChannels;
    const int32_t* bufferLength;
    const int32_t* bypass;
    JuceAAX_Processor* const* instance;
};

static_assert (offsetof (JuceAAX_Context, inputChannels) == kInputChannelsField * sizeof (void*));
static_assert (offsetof (JuceAAX_Context, outputChannels) == kOutputChannelsField * sizeof (void*));
static_assert (offsetof (JuceAAX_Context, bufferLength) == kBufferLengthField * sizeof (void*));
static_assert (offsetof (JuceAAX_Context, bypass) == kBypassPortField * sizeof (void*));
static_assert (offsetof (JuceAAX_Context, instance) == kPrivateDataField * sizeof (void*));
static_assert (sizeof (JuceAAX_Processor*) <= kPrivateDataSize);
} // namespace AAXClasses
