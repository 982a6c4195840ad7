#pragma once
// Length-prefixed strings as the toolbox's routines take and give them.

#include <abi/HostTypes.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace kestrune::host::rtas
{

inline std::string textOf (ConstStr255Param text)
{
    return text == nullptr ? std::string() : std::string (reinterpret_cast<const char*> (text + 1), text[0]);
}

// At most 255 characters, the most a length byte counts.
inline void setPascal (StringPtr out, const std::string& text)
{
    const size_t length = std::min<size_t> (text.size(), 255);
    out[0] = uint8_t (length);
    std::memcpy (out + 1, text.data(), length);
}

} // namespace kestrune::host::rtas
