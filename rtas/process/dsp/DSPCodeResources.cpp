#include "process/dsp/DSPCodeResources.h"

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"

#include <cstring>

namespace
{
constexpr int32_t kBytesPerWord = 3;

// The three bytes of a 24-bit word, in the resource's byte order.
int32_t Word24 (const uint8_t* bytes, bool mostSignificantFirst)
{
    const uint32_t first = bytes[0];
    const uint32_t middle = bytes[1];
    const uint32_t last = bytes[2];
    const uint32_t word = mostSignificantFirst ? (first << 16) | (middle << 8) | last : (last << 16) | (middle << 8) | first;
    return static_cast<int32_t> (word);
}

// The bytes of a resource handle, copied while it is locked.
std::vector<uint8_t> BytesOf (const HostToolboxRoutines& toolbox, Handle resource)
{
    const int32_t size = toolbox.GetHandleSize (resource);
    if (size < 1)
        return {};
    toolbox.HLock (resource);
    std::vector<uint8_t> bytes (static_cast<size_t> (size));
    std::memcpy (bytes.data(), *resource, bytes.size());
    toolbox.HUnlock (resource);
    return bytes;
}
}

const void* LoadModuleResource (HMODULE module, const char* type, int16_t id, uint32_t* size)
{
    const HRSRC resource = FindResourceA (module, MAKEINTRESOURCEA (static_cast<uint16_t> (id)), type);
    if (resource == nullptr)
        return nullptr;
    if (size != nullptr)
        *size = SizeofResource (module, resource);
    return LockResource (LoadResource (module, resource));
}

DSPCodeBlock RawCodeBlock (const uint8_t* bytes, uint32_t length)
{
    DSPCodeBlock block (1 + (length + sizeof (int32_t) - 1) / sizeof (int32_t), 0);
    block[0] = static_cast<int32_t> (length);
    if (length > 0)
        std::memcpy (block.data() + 1, bytes, length);
    return block;
}

DSPCodeBlock WordCodeBlock (ResType type, const uint8_t* bytes, int32_t length)
{
    if (length < 1 || bytes == nullptr)
        return {};
    const int32_t count = length / kBytesPerWord;
    DSPCodeBlock block;
    block.reserve (static_cast<size_t> (count) + 2);
    block.push_back (count);
    block.push_back (0);
    for (int32_t i = 0; i < count; ++i)
        block.push_back (Word24 (bytes + i * kBytesPerWord, type == kSACDResourceType));
    return block;
}

DSPCodeBlock LoadPlugInResourceAsWords (ResType type, int16_t id)
{
    const ScopedPlugInResFile current;
    if (! current.IsOpen())
        return {};
    const HostToolboxRoutines& toolbox = HostToolbox();
    const Handle resource = toolbox.GetResource (type, id);
    if (resource == nullptr)
        return {};
    const std::vector<uint8_t> bytes = BytesOf (toolbox, resource);
    toolbox.ReleaseResource (resource);
    return WordCodeBlock (type, bytes.data(), static_cast<int32_t> (bytes.size()));
}

int16_t CountPlugInResources (ResType type)
{
    const ScopedPlugInResFile current;
    return current.IsOpen() ? HostToolbox().CountResources (type) : int16_t (0);
}
