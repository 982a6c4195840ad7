#include "entry/module/ModuleInformation.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace
{
constexpr size_t kFixedVersionSize = sizeof (VS_FIXEDFILEINFO);

// The module's file name, or empty when it cannot be had whole within the limit.
std::string ModuleFileName (HMODULE module, DWORD limit)
{
    std::vector<char> path (limit, 0);
    const DWORD length = GetModuleFileNameA (module, path.data(), limit);
    if (length == 0 || length >= limit)
        return {};
    return std::string (path.data(), length);
}

// The file's whole version block; empty when it has none.
std::vector<uint8_t> ReadVersionBlock (const char* path)
{
    if (path == nullptr || path[0] == 0)
        return {};
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA (path, &handle);
    if (size == 0)
        return {};
    std::vector<uint8_t> block (size);
    if (GetFileVersionInfoA (path, handle, size, block.data()) == FALSE)
        return {};
    return block;
}

// The directory part of a path, the drive first.
std::string DirectoryOf (const std::string& path)
{
    char drive[_MAX_DRIVE] = {};
    char directory[_MAX_DIR] = {};
    _splitpath (path.c_str(), drive, directory, nullptr, nullptr);
    return std::string (drive) + directory;
}
}

bool GetModuleVersion (HMODULE module, SModuleVersion* version)
{
    const std::string path = ModuleFileName (module, kModuleInfoPathSize);
    return ! path.empty() && GetModuleVersionFromFile (path.c_str(), version);
}

bool GetModuleVersionFromFile (const char* path, SModuleVersion* version)
{
    const std::vector<uint8_t> block = ReadVersionBlock (path);
    if (block.empty() || version == nullptr)
        return false;
    void* value = nullptr;
    UINT length = 0;
    return VerQueryValueA (block.data(), "\\", &value, &length) != FALSE && ReadFixedFileVersion (value, length, version);
}

bool ReadFixedFileVersion (const void* value, UINT length, SModuleVersion* version)
{
    if (value == nullptr || version == nullptr || length < kFixedVersionSize)
        return false;
    VS_FIXEDFILEINFO fixed;
    std::memcpy (&fixed, value, sizeof fixed);
    version->fMajor = static_cast<uint16_t> (fixed.dwFileVersionMS >> 16);
    version->fMinor = static_cast<uint16_t> (fixed.dwFileVersionMS & 0xFFFF);
    version->fRelease = static_cast<uint16_t> (fixed.dwFileVersionLS >> 16);
    version->fBuild = static_cast<uint16_t> (fixed.dwFileVersionLS & 0xFFFF);
    return true;
}

bool GetModuleVersionByName (const char* name, SModuleVersion* version)
{
    const HMODULE module = GetModuleHandleA (name);
    return module != nullptr && GetModuleVersion (module, version);
}

std::string FormatModuleVersion (const SModuleVersion& version)
{
    char text[32] = {};
    std::snprintf (text, sizeof text, "%d.%d.%d.%d", version.fMajor, version.fMinor, version.fRelease, version.fBuild);
    return text;
}

std::string GetModuleVersionText (HMODULE module)
{
    SModuleVersion version;
    GetModuleVersion (module, &version);
    return FormatModuleVersion (version);
}

bool GetModuleCopyright (HMODULE module, char* text, size_t capacity)
{
    if (text != nullptr && capacity > 0)
        text[0] = 0;
    const std::string path = ModuleFileName (module, kModuleInfoPathSize);
    const std::vector<uint8_t> block = ReadVersionBlock (path.c_str());
    if (block.empty())
        return false;
    void* translations = nullptr;
    UINT translationBytes = 0;
    if (VerQueryValueA (block.data(), "\\VarFileInfo\\Translation", &translations, &translationBytes) == FALSE
        || translations == nullptr || translationBytes < 4)
        return false;
    uint16_t language = 0;
    uint16_t codePage = 0;
    std::memcpy (&language, translations, 2);
    std::memcpy (&codePage, static_cast<const uint8_t*> (translations) + 2, 2);

    char key[64] = {};
    std::snprintf (key, sizeof key, "\\StringFileInfo\\%04x%04x\\LegalCopyright", language, codePage);
    void* value = nullptr;
    UINT characters = 0;
    if (VerQueryValueA (block.data(), key, &value, &characters) == FALSE || value == nullptr)
        return false;
    if (text != nullptr && capacity > 0)
    {
        const size_t length = std::min (strnlen (static_cast<const char*> (value), characters), capacity - 1);
        std::memcpy (text, value, length);
        text[length] = 0;
    }
    return true;
}

bool CopyResourceFromFile (const char* path, const char* type, int16_t id, DWORD* size, DWORD capacity,
                           void* destination)
{
    const HMODULE file = LoadLibraryExA (path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (file == nullptr)
        return false;
    DWORD resourceSize = 0;
    const void* bytes = LoadModuleResource (file, type, id, &resourceSize);
    if (bytes != nullptr)
    {
        const DWORD copied = std::min (capacity, resourceSize);
        if (destination != nullptr && copied > 0)
            std::memcpy (destination, bytes, copied);
        if (size != nullptr)
            *size = resourceSize;
    }
    FreeLibrary (file);
    return bytes != nullptr;
}

std::string GetExecutableDirectory()
{
    const std::string path = ModuleFileName (nullptr, kExecutablePathSize);
    return path.empty() ? std::string() : DirectoryOf (path);
}

std::string GetModuleDirectory (const char* name)
{
    const HMODULE module = GetModuleHandleA (name);
    if (module == nullptr)
        return {};
    const std::string path = ModuleFileName (module, kModuleInfoPathSize);
    return path.empty() ? std::string() : DirectoryOf (path);
}

std::string Utf16ToUtf8 (std::u16string_view text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int> (text.size());
    const int size = WideCharToMultiByte (CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return {};
    std::string converted (static_cast<size_t> (size), '\0');
    if (WideCharToMultiByte (CP_UTF8, 0, text.data(), length, converted.data(), size, nullptr, nullptr) != size)
        return {};
    return converted;
}

std::u16string Utf8ToUtf16 (std::string_view text)
{
    if (text.empty())
        return {};
    const int length = static_cast<int> (text.size());
    const int size = MultiByteToWideChar (CP_UTF8, 0, text.data(), length, nullptr, 0);
    if (size <= 0)
        return {};
    std::u16string converted (static_cast<size_t> (size), u'\0');
    if (MultiByteToWideChar (CP_UTF8, 0, text.data(), length, converted.data(), size) != size)
        return {};
    return converted;
}
