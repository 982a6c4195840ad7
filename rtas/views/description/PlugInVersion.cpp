#include "views/description/PlugInVersion.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include <win/Win32.h>

namespace
{
struct SVersionParts
{
    unsigned major = 0;
    unsigned minor = 0;
    unsigned release = 0;
    unsigned build = 0;
};

SVersionParts ReadPlugInVersion()
{
    HMODULE module = nullptr;
    char path[260] {};
    if (GetModuleHandleExA (GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR> (&PlugInVersionText), &module)
            == FALSE
        || GetModuleFileNameA (module, path, sizeof path) == 0)
        return {};
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA (path, &handle);
    if (size == 0)
        return {};
    std::vector<uint8_t> block (size);
    void* value = nullptr;
    UINT length = 0;
    if (GetFileVersionInfoA (path, handle, size, block.data()) == FALSE || VerQueryValueA (block.data(), "\\", &value, &length) == FALSE
        || value == nullptr || length < sizeof (VS_FIXEDFILEINFO))
        return {};
    VS_FIXEDFILEINFO fixed {};
    std::memcpy (&fixed, value, sizeof fixed);
    return { fixed.dwFileVersionMS >> 16, fixed.dwFileVersionMS & 0xFFFF, fixed.dwFileVersionLS >> 16, fixed.dwFileVersionLS & 0xFFFF };
}
} // namespace

std::string PlugInVersionText()
{
    const SVersionParts version = ReadPlugInVersion();
    char text[32];
    std::snprintf (text, sizeof text, "%u.%u.%u.%u", version.major, version.minor, version.release, version.build);
    return text;
}
