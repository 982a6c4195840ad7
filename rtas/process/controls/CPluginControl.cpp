#include "process/controls/CPluginControl.h"

#include <algorithm>
#include <cstring>
#include <string_view>

void CopyNameToFit (char* buffer, const char* name, int32_t maxLength)
{
    const size_t limit = static_cast<size_t> (std::max (maxLength, int32_t (0)));
    buffer[0] = '\0';
    if (name == nullptr)
        return;

    std::string_view rest (name);
    std::string_view chosen;
    for (;;)
    {
        const size_t newline = rest.find ('\n');
        chosen = rest.substr (0, newline);
        if (chosen.size() <= limit || newline == std::string_view::npos)
            break;
        rest.remove_prefix (newline + 1);
    }
    const size_t count = std::min (chosen.size(), limit);
    std::memcpy (buffer, chosen.data(), count);
    buffer[count] = '\0';
}

void CopyTextToFit (char* buffer, const char* text, int32_t maxLength)
{
    const size_t limit = static_cast<size_t> (std::max (maxLength, int32_t (0)));
    std::strncpy (buffer, text, limit);
    buffer[limit] = '\0';
}
