#pragma once
// The RTAS library's exception and the helpers that raise it.

#include <cstdint>

// Error codes that the effect layer and the utilities raise or return (16-bit, negative; 0 = success).
namespace RTASError
{
inline constexpr int16_t kNotAnEffectType = -77;
inline constexpr int16_t kChunkWriteFailed = -333;
inline constexpr int16_t kNullPointer = -7053;
inline constexpr int16_t kNoMatchingType = -7055;
inline constexpr int16_t kNoMidiNode = -7082;
inline constexpr int16_t kNoInfoEntry = -7103;
inline constexpr int16_t kNoSuchProcess = -7126;
inline constexpr int16_t kWrongProduct = -7157;
inline constexpr int16_t kListIndexOutOfRange = -7300;
inline constexpr int16_t kConditionFalse = -7400;
inline constexpr int16_t kUnexpected = -7401;
inline constexpr int16_t kAdaptorOutOfMemory = -9006;
// ThrowIfErrorMapped moves codes below 100 into this band.
inline constexpr int32_t kMappedErrorBase = -9200;
inline constexpr int16_t kFirstUnmappedCode = 100;
}

// Thrown and caught by value; carries one sign-extended 16-bit host error code.
class CDAEError
{
public:
    explicit CDAEError (int32_t code) : fCode (code) {}
    CDAEError (const CDAEError& other) : fCode (other.fCode) {}
    CDAEError& operator= (const CDAEError&) = default;
    virtual ~CDAEError() = default;

    int32_t Code() const { return fCode; }

private:
    int32_t fCode;
};

// Throws kConditionFalse: what was read or asked for is not as it must be.
[[noreturn]] void ThrowConditionFalse();
void ThrowIfNonZero (int32_t value);
// Only the low 8 bits of the argument count as the boolean.
uint8_t ThrowIfFalse (int32_t boolean);
void ThrowIfNull (const void* pointer);
void ThrowIfNullObject (const void* object);
void ThrowIfZero (int32_t flag);
int16_t ThrowIfError (int16_t hostResult);
// Ask the host toolbox (see HostExtToolbox.h) for its last resource / memory error.
int16_t ThrowIfResError();
int16_t ThrowIfToolboxError();
// Codes of 100 or more are thrown as they are; anything else (1..99 and negatives) as code - 9200.
void ThrowIfErrorMapped (int16_t code);
