#include "process/utilities/PStrings.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"

namespace
{
void PStrCopyAtMost (const uint8_t* source, uint8_t* destination, int maximum)
{
    const int length = std::min<int> (source[0], maximum);
    std::memmove (destination + 1, source + 1, static_cast<size_t> (length));
    destination[0] = static_cast<uint8_t> (length);
}

void AppendZeros (uint8_t* destination, int count)
{
    static const uint8_t zero[] = { 1, '0' };
    for (int i = 0; i < count; ++i)
        PStrAppend (kPStrMaxLength, zero, destination);
}

int32_t SaturatedMagnitude (double magnitude)
{
    if (std::isnan (magnitude))
        return 0;
    if (magnitude >= static_cast<double> (std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t> (magnitude);
}

// The data of a host block that holds a whole fixed name; a null block or data throws -7053,
// a block shorter than a fixed name -7400.
void* FixedNameData (void* block)
{
    ThrowIfNull (block);
    const HostToolboxRoutines& toolbox = HostToolbox();
    const auto handle = static_cast<Handle> (block);
    void* data = toolbox.HandleData (handle);
    ThrowIfNull (data);
    ThrowIfFalse (toolbox.GetHandleSize (handle) >= kFixedNameSize);
    return data;
}
}

void PStrCopy (const uint8_t* source, uint8_t* destination)
{
    PStrCopyAtMost (source, destination, kPStrMaxLength);
}

void PStrCopy63 (const uint8_t* source, uint8_t* destination)
{
    PStrCopyAtMost (source, destination, 63);
}

void PStrCopy31 (const uint8_t* source, uint8_t* destination)
{
    PStrCopyAtMost (source, destination, 31);
}

void PStrCopyToFit (const uint8_t* source, uint8_t* destination, int32_t maxLength)
{
    PStrCopyAtMost (source, destination, std::clamp<int32_t> (maxLength, 0, kPStrMaxLength));
}

uint8_t* PStrAppend (int16_t limit, const uint8_t* source, uint8_t* destination)
{
    const int current = destination[0];
    const int room = std::max (0, std::min<int> (limit, kPStrMaxLength) - current);
    const int count = std::min<int> (source[0], room);
    std::memmove (destination + 1 + current, source + 1, static_cast<size_t> (count));
    destination[0] = static_cast<uint8_t> (current + count);
    return destination + 1 + current + count;
}

bool PStrEqual (const uint8_t* a, const uint8_t* b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return a[0] == b[0] && std::memcmp (a + 1, b + 1, a[0]) == 0;
}

void PStrPadAndAppend (int32_t number, uint8_t* destination, int16_t width)
{
    uint8_t text[256] = {};
    HostToolbox().NumToString (number, text);
    AppendZeros (destination, width - text[0]);
    PStrAppend (kPStrMaxLength, text, destination);
}

void PStrAppendFixed (double value, uint8_t* destination)
{
    PStrAppendFixed (value, destination, 3);
}

void PStrAppendFixed (double value, uint8_t* destination, int16_t digits)
{
    static const uint8_t minus[] = { 1, '-' };
    static const uint8_t point[] = { 1, '.' };
    const int places = std::clamp<int> (digits, 0, 9);
    if (value < 0.0)
        PStrAppend (kPStrMaxLength, minus, destination);
    const double magnitude = std::fabs (value);
    const double integerPart = std::floor (magnitude);
    PStrPadAndAppend (SaturatedMagnitude (integerPart), destination, 0);
    PStrAppend (kPStrMaxLength, point, destination);
    const double scaled = (magnitude - integerPart) * std::pow (10.0, places);
    PStrPadAndAppend (SaturatedMagnitude (scaled), destination, static_cast<int16_t> (places));
}

void CopyCToPStr (const char* text, uint8_t* destination)
{
    const size_t length = std::min<size_t> (std::strlen (text), kPStrMaxLength);
    std::memmove (destination + 1, text, length);
    destination[0] = static_cast<uint8_t> (length);
}

void CopyFixedNameFromBlock (void* block, uint8_t* name)
{
    std::memcpy (name, FixedNameData (block), kFixedNameSize);
}

void CopyFixedNameToBlock (const uint8_t* name, void* block)
{
    std::memcpy (FixedNameData (block), name, kFixedNameSize);
}
