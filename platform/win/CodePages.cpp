// UTF-8 and UTF-16 conversion (CP_UTF8; CP_ACP is UTF-8 here).

#include "Win32.h"

#include <string>

namespace
{

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; advances i. Null for an invalid sequence (i then
// moves past the bytes that cannot start or continue it).
bool decodeUtf8 (const unsigned char* text, size_t length, size_t& i, char32_t& out)
{
    const unsigned char lead = text[i++];
    if (lead < 0x80)
    {
        out = lead;
        return true;
    }
    size_t extra = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        extra = 1, value = lead & 0x1F, minimum = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        extra = 2, value = lead & 0x0F, minimum = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        extra = 3, value = lead & 0x07, minimum = 0x10000;
    else
        return false;
    for (size_t k = 0; k < extra; ++k)
    {
        if (i >= length || (text[i] & 0xC0) != 0x80)
            return false;
        value = (value << 6) | (text[i++] & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return false;
    out = value;
    return true;
}

// Decodes one UTF-16 unit or surrogate pair; false for an unpaired surrogate.
bool decodeUtf16 (const WCHAR* text, size_t length, size_t& i, char32_t& out)
{
    const char32_t unit = text[i++];
    if (unit < 0xD800 || unit > 0xDFFF)
    {
        out = unit;
        return true;
    }
    if (unit >= 0xDC00 || i >= length || text[i] < 0xDC00 || text[i] > 0xDFFF)
        return false;
    out = 0x10000 + ((unit - 0xD800) << 10) + (char32_t (text[i++]) - 0xDC00);
    return true;
}

void appendUtf16 (std::u16string& out, char32_t value)
{
    if (value < 0x10000)
        out += char16_t (value);
    else
    {
        value -= 0x10000;
        out += char16_t (0xD800 + (value >> 10));
        out += char16_t (0xDC00 + (value & 0x3FF));
    }
}

void appendUtf8 (std::string& out, char32_t value)
{
    if (value < 0x80)
        out += char (value);
    else if (value < 0x800)
    {
        out += char (0xC0 | (value >> 6));
        out += char (0x80 | (value & 0x3F));
    }
    else if (value < 0x10000)
    {
        out += char (0xE0 | (value >> 12));
        out += char (0x80 | ((value >> 6) & 0x3F));
        out += char (0x80 | (value & 0x3F));
    }
    else
    {
        out += char (0xF0 | (value >> 18));
        out += char (0x80 | ((value >> 12) & 0x3F));
        out += char (0x80 | ((value >> 6) & 0x3F));
        out += char (0x80 | (value & 0x3F));
    }
}

template <typename Char>
bool validArguments (UINT codePage, const Char* source, int sourceLength, const void* target, int targetSize)
{
    return (codePage == CP_UTF8 || codePage == CP_ACP) && source != nullptr && sourceLength != 0
           && sourceLength >= -1 && targetSize >= 0 && (targetSize == 0 || target != nullptr);
}

template <typename Char>
size_t lengthOf (const Char* source, int sourceLength)
{
    if (sourceLength >= 0)
        return size_t (sourceLength);
    size_t length = 0;
    while (source[length] != 0)
        ++length;
    return length + 1; // the terminator is converted too
}

// Copies the converted text into the caller's target, or reports the size needed.
template <typename Char, typename Converted>
int deliver (const Converted& converted, Char* target, int targetSize)
{
    if (targetSize == 0)
        return int (converted.size());
    if (converted.size() > size_t (targetSize))
    {
        SetLastError (ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    for (size_t i = 0; i < converted.size(); ++i)
        target[i] = Char (converted[i]);
    return int (converted.size());
}

} // namespace

int MultiByteToWideChar (UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR target, int targetSize)
{
    if (! validArguments (codePage, source, sourceLength, target, targetSize))
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = lengthOf (source, sourceLength);
    const auto* bytes = reinterpret_cast<const unsigned char*> (source);
    std::u16string converted;
    for (size_t i = 0; i < length;)
    {
        char32_t value = 0;
        if (! decodeUtf8 (bytes, length, i, value))
        {
            if ((flags & MB_ERR_INVALID_CHARS) != 0)
            {
                SetLastError (ERROR_NO_UNICODE_TRANSLATION);
                return 0;
            }
            value = kReplacement;
        }
        appendUtf16 (converted, value);
    }
    return deliver (converted, target, targetSize);
}

int WideCharToMultiByte (UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR target, int targetSize,
                         LPCSTR defaultChar, LPBOOL usedDefaultChar)
{
    // As on Windows, UTF-8 takes no default character.
    if (! validArguments (codePage, source, sourceLength, target, targetSize) || defaultChar != nullptr
        || usedDefaultChar != nullptr)
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return 0;
    }
    const size_t length = lengthOf (source, sourceLength);
    std::string converted;
    for (size_t i = 0; i < length;)
    {
        char32_t value = 0;
        if (! decodeUtf16 (source, length, i, value))
        {
            if ((flags & WC_ERR_INVALID_CHARS) != 0)
            {
                SetLastError (ERROR_NO_UNICODE_TRANSLATION);
                return 0;
            }
            value = kReplacement;
        }
        appendUtf8 (converted, value);
    }
    return deliver (converted, target, targetSize);
}
