#include "ResourceContainer.h"

#include "ByteOrder.h"

#include <stdexcept>

namespace kestrune::win
{

namespace
{

    constexpr uint8_t kMagic[4] = { 'K', 'R', 'S', 'R' };

    // Reads an entry from [at, end); null when it does not fit.
    std::optional<ResourceView> readEntry (const uint8_t*& at, const uint8_t* end)
    {
        ResourceView view;
        view.record = at;
        auto remaining = [&] { return static_cast<size_t> (end - at); };

        if (remaining() < 1)
            return std::nullopt;
        const size_t typeLength = *at++;
        if (typeLength == 0 || remaining() < typeLength + 4 + 1)
            return std::nullopt;
        view.type = std::string_view (reinterpret_cast<const char*> (at), typeLength);
        at += typeLength;
        view.id = static_cast<int32_t> (readLE32 (at));
        at += 4;
        const size_t nameLength = *at++;
        if (remaining() < nameLength + 4)
            return std::nullopt;
        view.name = std::string_view (reinterpret_cast<const char*> (at), nameLength);
        at += nameLength;
        const size_t dataSize = readLE32 (at);
        at += 4;
        if (remaining() < dataSize)
            return std::nullopt;
        view.data = std::span<const uint8_t> (at, dataSize);
        at += dataSize;
        return view;
    }

} // namespace

std::optional<ResourceContainerView> ResourceContainerView::parse (std::span<const uint8_t> bytes)
{
    if (bytes.size() < kResourceContainerHeaderSize)
        return std::nullopt;
    for (int i = 0; i < 4; ++i)
        if (bytes[i] != kMagic[i])
            return std::nullopt;
    if (readLE16 (&bytes[4]) != kResourceContainerVersion)
        return std::nullopt;
    const uint16_t count = readLE16 (&bytes[6]);
    const uint32_t total = readLE32 (&bytes[8]);
    if (total < kResourceContainerHeaderSize || total > bytes.size())
        return std::nullopt;

    ResourceContainerView container;
    const uint8_t* at = bytes.data() + kResourceContainerHeaderSize;
    const uint8_t* end = bytes.data() + total;
    container.entries_.reserve (count);
    for (uint16_t i = 0; i < count; ++i)
    {
        auto entry = readEntry (at, end);
        if (! entry)
            return std::nullopt;
        container.entries_.push_back (*entry);
    }
    if (at != end)
        return std::nullopt;
    return container;
}

std::vector<uint8_t> writeResourceContainer (const std::vector<ResourceEntry>& entries)
{
    if (entries.size() > 0xFFFF)
        throw std::invalid_argument ("too many resources for one container");
    std::vector<uint8_t> out (kMagic, kMagic + 4);
    appendLE16 (out, kResourceContainerVersion);
    appendLE16 (out, uint16_t (entries.size()));
    appendLE32 (out, 0);
    for (const auto& entry : entries)
    {
        if (entry.type.empty() || entry.type.size() > 255)
            throw std::invalid_argument ("resource type must have 1 to 255 bytes: \"" + entry.type + "\"");
        if (entry.name.size() > 255)
            throw std::invalid_argument ("resource name longer than 255 bytes: \"" + entry.name + "\"");
        out.push_back (uint8_t (entry.type.size()));
        out.insert (out.end(), entry.type.begin(), entry.type.end());
        appendLE32 (out, uint32_t (entry.id));
        out.push_back (uint8_t (entry.name.size()));
        out.insert (out.end(), entry.name.begin(), entry.name.end());
        appendLE32 (out, uint32_t (entry.data.size()));
        out.insert (out.end(), entry.data.begin(), entry.data.end());
    }
    const uint32_t total = uint32_t (out.size());
    for (int i = 0; i < 4; ++i)
        out[8 + i] = uint8_t (total >> (8 * i));
    return out;
}

std::string typeFromFourCC (uint32_t code)
{
    return std::string { char (code >> 24), char (code >> 16), char (code >> 8), char (code) };
}

uint32_t fourCCFromType (std::string_view type)
{
    if (type.size() != 4)
        return 0;
    uint32_t code = 0;
    for (char c : type)
        code = (code << 8) | uint8_t (c);
    return code;
}

} // namespace kestrune::win
