#pragma once
// What the library reads about module files: a module's version and copyright text (shown by the
// plug-in's views), its raw resources (the DSP code, type "DSPCODE"), the folders of the host
// program and of loaded modules, and UTF-8 / UTF-16 conversion.
//
// [host thread] or [window thread]: every function only reads files and loaded modules.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <win/Win32.h>

#include "process/dsp/DSPCodeResources.h"

// Paths as these functions ask for them.
inline constexpr DWORD kModuleInfoPathSize = 260;
inline constexpr DWORD kExecutablePathSize = 255;

// A module's file version: the high and low halves of its most, then least, significant word.
struct SModuleVersion
{
    uint16_t fMajor = 0;
    uint16_t fMinor = 0;
    uint16_t fRelease = 0;
    uint16_t fBuild = 0;
};

// True when the module's (the file's) version block has a fixed part of at least 52 bytes;
// the record is filled then and left as it was otherwise.
bool GetModuleVersion (HMODULE module, SModuleVersion* version);
bool GetModuleVersionFromFile (const char* path, SModuleVersion* version);
// The same for the fixed-version value itself, as the version block's query answers it: false,
// the record left as it was, for a value shorter than 52 bytes.
bool ReadFixedFileVersion (const void* value, UINT length, SModuleVersion* version);
// False when no module of that name is loaded.
bool GetModuleVersionByName (const char* name, SModuleVersion* version);

// "major.minor.release.build".
std::string FormatModuleVersion (const SModuleVersion& version);
// The module's version in that form; "0.0.0.0" when it has none that can be read.
std::string GetModuleVersionText (HMODULE module);

// The module's "LegalCopyright" text of its first translation, cut to capacity - 1 characters and
// terminated. False (the text empty when there is room) when the module has no version block,
// no translation or no such text.
bool GetModuleCopyright (HMODULE module, char* text, size_t capacity);

// LoadModuleResource (the bytes of a module's resource) comes with the DSP code's resources.
// Copies min(capacity, size) bytes of the file's resource to the destination and reports its
// full size; false when the file cannot be read or has no such resource.
bool CopyResourceFromFile (const char* path, const char* type, int16_t id, DWORD* size, DWORD capacity,
                           void* destination);

// The host program's folder (with its trailing separator); empty when it cannot be had.
std::string GetExecutableDirectory();
// The folder of the module loaded under that name; empty when it is not loaded.
std::string GetModuleDirectory (const char* name);

// Conversions of whole strings; empty for text that cannot be converted.
std::string Utf16ToUtf8 (std::u16string_view text);
std::u16string Utf8ToUtf16 (std::string_view text);
