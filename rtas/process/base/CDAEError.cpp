#include "process/base/CDAEError.h"

#include "process/utilities/HostExtToolbox.h"

void ThrowIfNonZero (int32_t value)
{
    if (value != 0)
        throw CDAEError (value);
}

void ThrowConditionFalse()
{
    throw CDAEError (RTASError::kConditionFalse);
}

uint8_t ThrowIfFalse (int32_t boolean)
{
    const auto low = static_cast<uint8_t> (boolean & 0xff);
    if (low == 0)
        ThrowConditionFalse();
    return low;
}

void ThrowIfNull (const void* pointer)
{
    if (pointer == nullptr)
        throw CDAEError (RTASError::kNullPointer);
}

void ThrowIfNullObject (const void* object)
{
    if (object == nullptr)
        throw CDAEError (RTASError::kNullPointer);
}

void ThrowIfZero (int32_t flag)
{
    if (flag == 0)
        throw CDAEError (RTASError::kNullPointer);
}

int16_t ThrowIfError (int16_t hostResult)
{
    if (hostResult != 0)
        throw CDAEError (hostResult);
    return hostResult;
}

// The error is read once and that reading is thrown: a second query could already answer 0.
int16_t ThrowIfResError()
{
    return ThrowIfError (HostToolbox().ResError());
}

int16_t ThrowIfToolboxError()
{
    return ThrowIfError (HostToolbox().MemError());
}

void ThrowIfErrorMapped (int16_t code)
{
    if (code == 0)
        return;
    const int32_t wide = code;
    throw CDAEError (wide >= RTASError::kFirstUnmappedCode ? wide : wide + RTASError::kMappedErrorBase);
}
