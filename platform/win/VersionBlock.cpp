#include "VersionBlock.h"

#include "ByteOrder.h"
#include "Win32.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <strings.h>

namespace kestrune::win
{

namespace
{

    constexpr uint8_t kMagic[4] = { 'K', 'V', 'E', 'R' };
    constexpr size_t kFixedOffset = 8;
    constexpr size_t kTranslationsOffset = kFixedOffset + sizeof (VS_FIXEDFILEINFO);

    uint32_t versionWord (uint16_t high, uint16_t low)
    {
        return (uint32_t (high) << 16) | low;
    }

    bool equalsIgnoringCase (std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && strncasecmp (a.data(), b.data(), a.size()) == 0;
    }

} // namespace

std::vector<uint8_t> writeVersionBlock (const VersionInfo& info)
{
    const std::vector<VersionTranslation>& translations = info.translations;
    if (translations.empty() && ! info.strings.empty())
        throw std::invalid_argument ("version strings need a translation");
    if (translations.size() > 0xFFFF || info.strings.size() > 0xFFFF)
        throw std::invalid_argument ("too many version entries");

    std::vector<uint8_t> out (kMagic, kMagic + 4);
    appendLE32 (out, 0);
    const uint32_t fixed[13] = { kFixedFileInfoSignature,
                                 0x00010000,
                                 versionWord (info.fileVersion[0], info.fileVersion[1]),
                                 versionWord (info.fileVersion[2], info.fileVersion[3]),
                                 versionWord (info.productVersion[0], info.productVersion[1]),
                                 versionWord (info.productVersion[2], info.productVersion[3]),
                                 0x3F,
                                 0,
                                 0x00040004, // 32-bit Windows
                                 0x00000002, // a library
                                 0,
                                 0,
                                 0 };
    for (uint32_t word : fixed)
        appendLE32 (out, word);

    appendLE16 (out, uint16_t (translations.size()));
    for (const auto& translation : translations)
    {
        appendLE16 (out, translation.language);
        appendLE16 (out, translation.codePage);
    }

    char prefix[16] = "";
    if (! translations.empty())
        std::snprintf (prefix, sizeof prefix, "%04x%04x\\", translations.front().language,
                       translations.front().codePage);
    appendLE16 (out, uint16_t (info.strings.size()));
    for (const auto& [name, value] : info.strings)
    {
        const std::string key = prefix + name;
        if (key.size() > 0xFFFF || value.size() + 1 > 0xFFFF)
            throw std::invalid_argument ("version string too long: " + name);
        appendLE16 (out, uint16_t (key.size()));
        out.insert (out.end(), key.begin(), key.end());
        appendLE16 (out, uint16_t (value.size() + 1));
        out.insert (out.end(), value.begin(), value.end());
        out.push_back (0);
    }
    const uint32_t total = uint32_t (out.size());
    for (int i = 0; i < 4; ++i)
        out[4 + i] = uint8_t (total >> (8 * i));
    return out;
}

std::optional<VersionValue> queryVersionBlock (std::span<const uint8_t> block, std::string_view path)
{
    if (block.size() < kTranslationsOffset + 2 || std::memcmp (block.data(), kMagic, 4) != 0)
        return std::nullopt;
    const size_t total = readLE32 (&block[4]);
    if (total > block.size() || total < kTranslationsOffset + 2)
        return std::nullopt;
    const uint8_t* const base = block.data();
    const uint8_t* const end = base + total;

    if (path == "\\")
        return VersionValue { base + kFixedOffset, uint32_t (sizeof (VS_FIXEDFILEINFO)) };

    const uint8_t* at = base + kTranslationsOffset;
    const size_t translations = readLE16 (at);
    at += 2;
    if (size_t (end - at) < translations * 4 + 2)
        return std::nullopt;
    const uint8_t* const translationTable = at;
    at += translations * 4;
    if (equalsIgnoringCase (path, "\\VarFileInfo\\Translation"))
        return translations == 0 ? std::nullopt
                                 : std::optional (VersionValue { translationTable, uint32_t (translations * 4) });

    constexpr std::string_view stringPrefix = "\\StringFileInfo\\";
    if (path.size() <= stringPrefix.size() || ! equalsIgnoringCase (path.substr (0, stringPrefix.size()), stringPrefix))
        return std::nullopt;
    const std::string_view wanted = path.substr (stringPrefix.size());

    const size_t strings = readLE16 (at);
    at += 2;
    for (size_t i = 0; i < strings; ++i)
    {
        if (end - at < 2)
            return std::nullopt;
        const size_t keyLength = readLE16 (at);
        at += 2;
        if (size_t (end - at) < keyLength + 2)
            return std::nullopt;
        const std::string_view key (reinterpret_cast<const char*> (at), keyLength);
        at += keyLength;
        const size_t valueLength = readLE16 (at);
        at += 2;
        if (valueLength == 0 || size_t (end - at) < valueLength || at[valueLength - 1] != 0)
            return std::nullopt;
        if (equalsIgnoringCase (key, wanted))
            return VersionValue { at, uint32_t (valueLength) };
        at += valueLength;
    }
    return std::nullopt;
}

} // namespace kestrune::win
