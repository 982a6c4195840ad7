// Module resources and version information.

#include "ByteOrder.h"
#include "ModuleImage.h"
#include "ResourceContainer.h"
#include "VersionBlock.h"
#include "Win32.h"

#include <charconv>
#include <cstring>
#include <strings.h>

namespace kestrune::win
{

namespace
{

    // A resource type or name as stored: text, or "#<number>" for an integer.
    std::string resourceKey (LPCSTR value)
    {
        if (IS_INTRESOURCE (value))
            return "#" + std::to_string (reinterpret_cast<uintptr_t> (value));
        return value;
    }

    bool equalsIgnoringCase (std::string_view a, std::string_view b)
    {
        return a.size() == b.size() && strncasecmp (a.data(), b.data(), a.size()) == 0;
    }

    std::optional<int32_t> numericKey (std::string_view key)
    {
        if (key.size() < 2 || key[0] != '#')
            return std::nullopt;
        int32_t value = 0;
        const auto [end, error] = std::from_chars (key.data() + 1, key.data() + key.size(), value);
        if (error != std::errc() || end != key.data() + key.size())
            return std::nullopt;
        return value;
    }

    bool nameMatches (const ResourceView& entry, std::string_view key)
    {
        if (const auto id = numericKey (key))
            return entry.name.empty() && entry.id == *id;
        return equalsIgnoringCase (entry.name, key);
    }

    std::optional<ResourceView> findEntry (std::span<const uint8_t> bytes, std::string_view type, std::string_view name,
                                           DWORD& error)
    {
        const auto container = ResourceContainerView::parse (bytes);
        if (! container)
        {
            error = ERROR_RESOURCE_DATA_NOT_FOUND;
            return std::nullopt;
        }
        bool typeSeen = false;
        for (const auto& entry : container->entries())
        {
            if (! equalsIgnoringCase (entry.type, type))
                continue;
            typeSeen = true;
            if (nameMatches (entry, name))
                return entry;
        }
        error = typeSeen ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
        return std::nullopt;
    }

    std::optional<ResourceView> entryOfHandle (HMODULE module, HRSRC resource)
    {
        bool valid = false;
        const auto bytes = moduleResourceBytes (module, valid);
        if (const auto container = ResourceContainerView::parse (bytes))
            for (const auto& entry : container->entries())
                if (entry.record == reinterpret_cast<const uint8_t*> (resource))
                    return entry;
        SetLastError (ERROR_RESOURCE_DATA_NOT_FOUND);
        return std::nullopt;
    }

    // The version block of a file: resource "#16" 1.
    std::optional<std::vector<uint8_t>> fileVersionBlock (LPCSTR fileName)
    {
        if (fileName == nullptr)
        {
            SetLastError (ERROR_INVALID_PARAMETER);
            return std::nullopt;
        }
        const auto resources = readFileResources (fileName);
        if (! resources)
            return std::nullopt;
        DWORD error = ERROR_SUCCESS;
        const auto entry = findEntry (*resources, "#16", "#1", error);
        if (! entry)
        {
            SetLastError (error);
            return std::nullopt;
        }
        return std::vector<uint8_t> (entry->data.begin(), entry->data.end());
    }

} // namespace

} // namespace kestrune::win

using namespace kestrune::win;

HRSRC FindResourceA (HMODULE module, LPCSTR name, LPCSTR type)
{
    if (name == nullptr || type == nullptr)
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    bool valid = false;
    const auto bytes = moduleResourceBytes (module, valid);
    if (! valid)
    {
        SetLastError (ERROR_INVALID_HANDLE);
        return nullptr;
    }
    DWORD error = ERROR_SUCCESS;
    const auto entry = findEntry (bytes, resourceKey (type), resourceKey (name), error);
    if (! entry)
    {
        SetLastError (error);
        return nullptr;
    }
    return reinterpret_cast<HRSRC> (const_cast<uint8_t*> (entry->record));
}

DWORD SizeofResource (HMODULE module, HRSRC resource)
{
    const auto entry = entryOfHandle (module, resource);
    return entry ? DWORD (entry->data.size()) : 0;
}

HGLOBAL LoadResource (HMODULE module, HRSRC resource)
{
    const auto entry = entryOfHandle (module, resource);
    return entry ? const_cast<uint8_t*> (entry->data.data()) : nullptr;
}

LPVOID LockResource (HGLOBAL resourceData)
{
    return resourceData;
}

DWORD GetFileVersionInfoSizeA (LPCSTR fileName, DWORD* handle)
{
    if (handle != nullptr)
        *handle = 0;
    const auto block = fileVersionBlock (fileName);
    return block ? DWORD (block->size()) : 0;
}

BOOL GetFileVersionInfoA (LPCSTR fileName, DWORD, DWORD size, LPVOID data)
{
    const auto block = fileVersionBlock (fileName);
    if (! block)
        return FALSE;
    // A partial block could not be read safely afterwards: ask for the whole of it.
    if (data == nullptr || size < block->size())
    {
        SetLastError (ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy (data, block->data(), block->size());
    return TRUE;
}

BOOL VerQueryValueA (LPCVOID block, LPCSTR subBlock, LPVOID* buffer, UINT* length)
{
    if (block == nullptr || subBlock == nullptr || buffer == nullptr)
    {
        SetLastError (ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The block was copied whole by GetFileVersionInfoA; its header gives its size.
    const auto* bytes = static_cast<const uint8_t*> (block);
    if (std::memcmp (bytes, "KVER", 4) != 0)
    {
        SetLastError (ERROR_RESOURCE_DATA_NOT_FOUND);
        return FALSE;
    }
    const auto value = queryVersionBlock (std::span<const uint8_t> (bytes, readLE32 (bytes + 4)), subBlock);
    if (! value)
    {
        SetLastError (ERROR_RESOURCE_TYPE_NOT_FOUND);
        return FALSE;
    }
    *buffer = const_cast<void*> (value->data);
    if (length != nullptr)
        *length = value->length;
    return TRUE;
}
