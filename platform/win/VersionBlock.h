#pragma once
// The version block: the content of a module's RT_VERSION resource 1, as GetFileVersionInfoA
// copies it and VerQueryValueA reads it.
//
// Layout, little-endian:
//   0   4   magic "KVER"
//   4   4   total size in bytes
//   8   52  VS_FIXEDFILEINFO
//   60  2   number of translations n, then n pairs {u16 language, u16 code page}
//   ..  2   number of strings m, then m entries:
//             u16 key length, the key ("040904b0\LegalCopyright": translation, backslash, name)
//             u16 value length with its terminator, the value and a zero byte
// Queries: "\" gives the fixed part (52 bytes), "\VarFileInfo\Translation" the pairs (4 bytes
// each), "\StringFileInfo\<key>" a string value (length in characters with the terminator).
// Keys compare ignoring case.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune::win
{

struct VersionTranslation
{
    uint16_t language = 0x0409;
    uint16_t codePage = 0x04b0;
};

struct VersionInfo
{
    std::array<uint16_t, 4> fileVersion {}; // major, minor, release, build
    std::array<uint16_t, 4> productVersion {};
    std::vector<VersionTranslation> translations; // may be empty when there are no strings
    // Names and values of the first translation's string table.
    std::vector<std::pair<std::string, std::string>> strings;
};

std::vector<uint8_t> writeVersionBlock (const VersionInfo& info);

// Finds a value in a block: its bytes and its length as VerQueryValueA reports it. Null when
// the block is damaged or has no such value.
struct VersionValue
{
    const void* data = nullptr;
    uint32_t length = 0;
};
std::optional<VersionValue> queryVersionBlock (std::span<const uint8_t> block, std::string_view path);

} // namespace kestrune::win
