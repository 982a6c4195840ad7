#include "HandleHeap.h"

#include <algorithm>
#include <cstring>

namespace kestrune::host::rtas
{

namespace
{

    constexpr char kFreshByte = char (0xA5);

    // Never a zero-length allocation, so that every block has its own address.
    std::unique_ptr<char[]> storage (int32_t size)
    {
        return std::make_unique<char[]> (size_t (std::max<int32_t> (size, 1)));
    }

} // namespace

Handle HandleHeap::allocate (int32_t size, bool clear)
{
    if (size < 0)
        return nullptr;
    auto block = std::make_unique<Block>();
    block->data = storage (size);
    std::memset (block->data.get(), clear ? 0 : kFreshByte, size_t (size));
    block->size = size;
    block->master = block->data.get();
    Handle handle = &block->master;
    blocks_[handle] = std::move (block);
    return handle;
}

Handle HandleHeap::allocateCopy (const uint8_t* data, int32_t size)
{
    Handle handle = allocate (size, false);
    if (handle != nullptr && size > 0)
        std::memcpy (*handle, data, size_t (size));
    return handle;
}

bool HandleHeap::dispose (Handle block)
{
    return blocks_.erase (block) == 1;
}

bool HandleHeap::contains (Handle block) const
{
    return find (block) != nullptr;
}

std::optional<int32_t> HandleHeap::size (Handle block) const
{
    const Block* found = find (block);
    return found != nullptr ? std::optional (found->size) : std::nullopt;
}

OSErr HandleHeap::resize (Handle block, int32_t size)
{
    Block* found = find (block);
    if (found == nullptr)
        return nilHandleErr;
    if (size < 0)
        return paramErr;
    if (found->locked)
    {
        if (size > found->size)
            return memLockedErr;
        found->size = size;
        return noErr;
    }
    relocate (*found, size);
    return noErr;
}

bool HandleHeap::setLocked (Handle block, bool locked)
{
    Block* found = find (block);
    if (found == nullptr)
        return false;
    found->locked = locked;
    return true;
}

std::optional<bool> HandleHeap::isLocked (Handle block) const
{
    const Block* found = find (block);
    return found != nullptr ? std::optional (found->locked) : std::nullopt;
}

OSErr HandleHeap::move (Handle block)
{
    Block* found = find (block);
    if (found == nullptr)
        return nilHandleErr;
    if (found->locked)
        return memLockedErr;
    relocate (*found, found->size);
    return noErr;
}

void HandleHeap::moveAllUnlocked()
{
    for (auto& [handle, block] : blocks_)
        if (! block->locked)
            relocate (*block, block->size);
}

HandleHeap::Block* HandleHeap::find (Handle block) const
{
    const auto found = blocks_.find (block);
    return found != blocks_.end() ? found->second.get() : nullptr;
}

void HandleHeap::relocate (Block& block, int32_t newSize)
{
    auto data = storage (newSize);
    std::memset (data.get(), kFreshByte, size_t (newSize));
    std::memcpy (data.get(), block.data.get(), size_t (std::min (newSize, block.size)));
    // The new data is in place before the old is freed, so the address always changes.
    block.data = std::move (data);
    block.master = block.data.get();
    block.size = newSize;
}

} // namespace kestrune::host::rtas
