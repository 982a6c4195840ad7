#include "process/connections/StreamFormat.h"

#include <cstring>

#include "process/connections/ConnectionTable.h"

namespace
{
constexpr int16_t kWord2 = 1;
constexpr int16_t kWord4 = 2;
constexpr int16_t kWord6 = 1;

template <typename Field>
void Put (char* record, size_t offset, Field value)
{
    std::memcpy (record + offset, &value, sizeof value);
}

template <typename Field>
Field Get (const char* record, size_t offset)
{
    Field value;
    std::memcpy (&value, record + offset, sizeof value);
    return value;
}
}

void GetDefaultStreamFormat (char* format)
{
    if (format == nullptr)
        return;
    Put (format, offsetof (SStreamFormat, fWord2), kWord2);
    Put (format, offsetof (SStreamFormat, fWord4), kWord4);
    Put (format, offsetof (SStreamFormat, fWord6), kWord6);
    Put (format, offsetof (SStreamFormat, fSampleRate), kDefaultStreamSampleRate);
}

int32_t CheckStreamFormat (const char* format)
{
    if (format == nullptr)
        return ConnectionResult::kStreamFormatRefused;
    const bool accepted = Get<int16_t> (format, offsetof (SStreamFormat, fWord2)) == kWord2
                          && Get<int16_t> (format, offsetof (SStreamFormat, fWord4)) == kWord4
                          && Get<int16_t> (format, offsetof (SStreamFormat, fWord6)) == kWord6
                          && Get<float> (format, offsetof (SStreamFormat, fSampleRate)) != 0.0f;
    return accepted ? 0 : ConnectionResult::kStreamFormatRefused;
}
