#include "ElfNotes.h"

#include "ByteOrder.h"

#include <cstring>
#include <elf.h>

namespace kestrune::win
{

namespace
{

    size_t padded (size_t size, size_t alignment)
    {
        return (size + alignment - 1) / alignment * alignment;
    }

    struct Segment
    {
        uint32_t type = 0;
        uint64_t offset = 0;
        uint64_t size = 0;
        uint64_t alignment = 0;
    };

    Segment readProgramHeader (const uint8_t* at, bool wide)
    {
        Segment segment;
        segment.type = readLE32 (at);
        if (wide)
        {
            segment.offset = readLE64 (at + 8);
            segment.size = readLE64 (at + 32);
            segment.alignment = readLE64 (at + 48);
        }
        else
        {
            segment.offset = readLE32 (at + 4);
            segment.size = readLE32 (at + 16);
            segment.alignment = readLE32 (at + 28);
        }
        return segment;
    }

} // namespace

std::optional<std::span<const uint8_t>> findResourceNote (std::span<const uint8_t> notes, size_t alignment)
{
    // Entries are padded to 8 bytes only in segments aligned to 8; to 4 otherwise.
    alignment = alignment == 8 ? 8 : 4;
    size_t at = 0;
    while (notes.size() - at >= 12)
    {
        const size_t nameSize = readLE32 (&notes[at]);
        const size_t descSize = readLE32 (&notes[at + 4]);
        const uint32_t type = readLE32 (&notes[at + 8]);
        at += 12;
        if (nameSize > notes.size() - at)
            return std::nullopt;
        const size_t nameSpan = padded (nameSize, alignment);
        const uint8_t* name = &notes[at];
        at = nameSpan > notes.size() - at ? notes.size() : at + nameSpan;
        if (descSize > notes.size() - at)
            return std::nullopt;
        const std::span<const uint8_t> desc (notes.data() + at, descSize);
        if (type == kResourceNoteType && nameSize == sizeof kResourceNoteOwner
            && std::memcmp (name, kResourceNoteOwner, sizeof kResourceNoteOwner) == 0)
            return desc;
        const size_t descSpan = padded (descSize, alignment);
        if (descSpan > notes.size() - at)
            return std::nullopt;
        at += descSpan;
    }
    return std::nullopt;
}

std::optional<std::span<const uint8_t>> findResourceNoteInFile (std::span<const uint8_t> image)
{
    if (image.size() < EI_NIDENT || std::memcmp (image.data(), ELFMAG, SELFMAG) != 0
        || image[EI_DATA] != ELFDATA2LSB)
        return std::nullopt;
    const bool wide = image[EI_CLASS] == ELFCLASS64;
    if (! wide && image[EI_CLASS] != ELFCLASS32)
        return std::nullopt;
    const size_t headerSize = wide ? sizeof (Elf64_Ehdr) : sizeof (Elf32_Ehdr);
    if (image.size() < headerSize)
        return std::nullopt;

    const uint64_t tableOffset = wide ? readLE64 (&image[32]) : readLE32 (&image[28]);
    const size_t entrySize = readLE16 (&image[wide ? 54 : 42]);
    const size_t entries = readLE16 (&image[wide ? 56 : 44]);
    const size_t minimumEntry = wide ? sizeof (Elf64_Phdr) : sizeof (Elf32_Phdr);
    if (entries == 0 || entrySize < minimumEntry || tableOffset > image.size()
        || entries > (image.size() - tableOffset) / entrySize)
        return std::nullopt;

    for (size_t i = 0; i < entries; ++i)
    {
        const Segment segment = readProgramHeader (&image[tableOffset + i * entrySize], wide);
        if (segment.type != PT_NOTE || segment.offset > image.size()
            || segment.size > image.size() - segment.offset)
            continue;
        const auto notes = image.subspan (size_t (segment.offset), size_t (segment.size));
        if (auto found = findResourceNote (notes, size_t (segment.alignment)))
            return found;
    }
    return std::nullopt;
}

} // namespace kestrune::win
