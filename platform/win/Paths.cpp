// The run-time library's path splitter.

#include "Win32.h"

#include <cstring>
#include <string_view>

namespace
{

void copyPart (std::string_view part, char* target, size_t capacity)
{
    if (target == nullptr)
        return;
    const size_t length = part.size() < capacity ? part.size() : capacity - 1;
    if (length > 0)
        std::memcpy (target, part.data(), length);
    target[length] = 0;
}

} // namespace

void _splitpath (const char* path, char* drive, char* directory, char* fileName, char* extension)
{
    const std::string_view whole = path != nullptr ? path : "";
    const size_t slash = whole.find_last_of ("/\\");
    const size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::string_view name = whole.substr (nameStart);
    const size_t dot = name.find_last_of ('.');
    copyPart ({}, drive, _MAX_DRIVE);
    copyPart (whole.substr (0, nameStart), directory, _MAX_DIR);
    copyPart (name.substr (0, dot), fileName, _MAX_FNAME);
    copyPart (dot == std::string_view::npos ? std::string_view() : name.substr (dot), extension, _MAX_EXT);
}
