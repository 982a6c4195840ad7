#include "StateBlockText.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace
{
constexpr int headerSize = 8;

// The reader goes one call deeper for each nested element, and expands the entities of a
// document type recursively without a limit: neither is ever in a state block, and either
// can exhaust the stack of the thread that restores it.
constexpr std::ptrdiff_t maxTags = 256;
constexpr const char* documentTypeStart = "<!DOCTYPE";

uint32_t readLittleEndian32 (const uint8_t* bytes) noexcept
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= static_cast<uint32_t> (bytes[i]) << (8 * i);
    return value;
}
} // namespace

std::optional<juce::String> stateBlockText (const void* data, int sizeInBytes, uint32_t magic)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return std::nullopt;

    const auto* bytes = static_cast<const uint8_t*> (data);
    const uint32_t storedLength = readLittleEndian32 (bytes + 4);
    if (readLittleEndian32 (bytes) != magic || storedLength == 0
        || storedLength > static_cast<uint32_t> (std::numeric_limits<int>::max()))
        return std::nullopt;

    // The text ends at the block's end, its stored length or its first zero byte, whichever
    // comes first. JUCE's UTF-8 reader steps over the bytes a lead byte announces without
    // looking for the end, so a malformed sequence would take the parser past the text.
    const auto* text = reinterpret_cast<const char*> (bytes + headerSize);
    const int available = std::min (sizeInBytes - headerSize, static_cast<int> (storedLength));
    if (! juce::CharPointer_UTF8::isValidString (text, available))
        return std::nullopt;
    const auto* end = std::find (text, text + available, '\0');

    if (std::count (text, end, '<') > maxTags
        || std::search (text, end, documentTypeStart, documentTypeStart + std::strlen (documentTypeStart)) != end)
        return std::nullopt;

    return juce::String::fromUTF8 (text, static_cast<int> (end - text));
}
