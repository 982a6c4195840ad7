#include "process/connections/StreamFormat.h"

#include "process/base/ByteSwap.h"
#include "process/connections/ConnectionTable.h"

namespace
{
constexpr int16_t kWord2 = 1;
constexpr int16_t kWord4 = 2;
constexpr int16_t kWord6 = 1;
}

void GetDefaultStreamFormat (char* format)
{
    if (format == nullptr)
        return;
    PutFieldAt (format, offsetof (SStreamFormat, fWord2), kWord2);
    PutFieldAt (format, offsetof (SStreamFormat, fWord4), kWord4);
    PutFieldAt (format, offsetof (SStreamFormat, fWord6), kWord6);
    PutFieldAt (format, offsetof (SStreamFormat, fSampleRate), kDefaultStreamSampleRate);
}

int32_t CheckStreamFormat (const char* format)
{
    if (format == nullptr)
        return ConnectionResult::kStreamFormatRefused;
    const bool accepted = FieldAt<int16_t> (format, offsetof (SStreamFormat, fWord2)) == kWord2
                          && FieldAt<int16_t> (format, offsetof (SStreamFormat, fWord4)) == kWord4
                          && FieldAt<int16_t> (format, offsetof (SStreamFormat, fWord6)) == kWord6
                          && FieldAt<float> (format, offsetof (SStreamFormat, fSampleRate)) != 0.0f;
    return accepted ? 0 : ConnectionResult::kStreamFormatRefused;
}
