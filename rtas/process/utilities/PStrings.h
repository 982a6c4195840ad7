#pragma once
// Length-prefixed strings (a length byte, then up to 255 characters, no terminator) and the fixed
// 32-byte names: the forms in which names and texts go to the host.

#include <cstdint>

inline constexpr int kPStrMaxLength = 255;
inline constexpr int kFixedNameSize = 32;

void PStrCopy (const uint8_t* source, uint8_t* destination);
// At most 63 characters: the destination holds 64 bytes.
void PStrCopy63 (const uint8_t* source, uint8_t* destination);
// At most 31 characters: the destination holds 32 bytes.
void PStrCopy31 (const uint8_t* source, uint8_t* destination);
// At most maxLength characters (none for 0 or less): the destination holds maxLength + 1 bytes,
// as the host's buffers for a name of at most that length do.
void PStrCopyToFit (const uint8_t* source, uint8_t* destination, int32_t maxLength);

// Appends as much of the source as keeps the destination at or below the limit; returns the
// position after the last character written.
uint8_t* PStrAppend (int16_t limit, const uint8_t* source, uint8_t* destination);

// Two null pointers are equal, one null pointer is not.
bool PStrEqual (const uint8_t* a, const uint8_t* b);

// Appends the number in decimal (host toolbox), left-padded with "0" to the width.
void PStrPadAndAppend (int32_t number, uint8_t* destination, int16_t width);

// Appends "-" when negative, the integer part, ".", and the fraction truncated to 3 (or `digits`,
// 0 to 9) places. Magnitudes beyond the 32-bit range saturate; NaN is written as 0.
void PStrAppendFixed (double value, uint8_t* destination);
void PStrAppendFixed (double value, uint8_t* destination, int16_t digits);

// A zero-terminated text as a length-prefixed string; longer texts are cut at 255 characters.
void CopyCToPStr (const char* text, uint8_t* destination);

// Copy the 32 bytes of a host block's data to a buffer, or a buffer into the block's data. A
// block shorter than 32 bytes throws CDAEError -7400 and nothing is copied.
void CopyFixedNameFromBlock (void* block, uint8_t* name);
void CopyFixedNameToBlock (const uint8_t* name, void* block);
