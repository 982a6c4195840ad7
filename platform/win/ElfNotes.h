#pragma once
// Where a module keeps its compiled-in resources: the descriptor of an ELF note owned by
// "KESTrune" with type 'KRSR', in one of the module's note segments. The same note is found in
// a loaded module's memory and in its file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrune::win
{

inline constexpr char kResourceNoteOwner[] = "KESTrune";
inline constexpr uint32_t kResourceNoteType = 0x4B525352; // 'KRSR'

// Walks the notes of one note segment aligned to `alignment` (entries padded to 8 in a segment
// aligned to 8, to 4 otherwise).
std::optional<std::span<const uint8_t>> findResourceNote (std::span<const uint8_t> notes, size_t alignment);

// Reads a little-endian ELF file image (32- or 64-bit) and walks its note segments.
std::optional<std::span<const uint8_t>> findResourceNoteInFile (std::span<const uint8_t> image);

} // namespace kestrune::win
