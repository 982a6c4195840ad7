#pragma once
// Where the plug-in's DSP code comes from: code resources compiled into the plug-in module, and
// resources of the plug-in's resource file, read through the host's toolbox with that file
// current.

#include <abi/HostTypes.h>
#include <win/Win32.h>

#include <cstdint>
#include <vector>

inline constexpr const char* kDSPCodeResourceType = "DSPCODE";
inline constexpr ResType kSACDResourceType = 0x53414344; // 'SACD'
inline constexpr ResType kPenResourceType = 0x50454E20; // 'PEN '

// [host thread] The module's resource of the type with the numeric ID: its bytes (read-only,
// valid while the module is loaded) and, when asked, its size; null when it has none. A module
// loaded as a data file serves as well.
const void* LoadModuleResource (HMODULE module, const char* type, int16_t id, uint32_t* size);

// A block of DSP code as the shell takes it: 32-bit words in the host's order.
using DSPCodeBlock = std::vector<int32_t>;

// Bytes as raw code: their length, then the bytes, padded with zeros to whole words.
DSPCodeBlock RawCodeBlock (const uint8_t* bytes, uint32_t length);
// Bytes as 24-bit words: the count (length / 3), 0, then one word per three bytes, most
// significant byte first for 'SACD' and least significant first for any other type; bytes
// beyond the last whole word are ignored. Nothing for a length below 1.
DSPCodeBlock WordCodeBlock (ResType type, const uint8_t* bytes, int32_t length);

// [host thread] The resource of the plug-in's resource file as 24-bit words (WordCodeBlock);
// nothing when it or the file is missing, or it is empty.
DSPCodeBlock LoadPlugInResourceAsWords (ResType type, int16_t id);
// [host thread] How many resources of the type the plug-in's resource file holds (0 when the
// file is missing).
int16_t CountPlugInResources (ResType type);
