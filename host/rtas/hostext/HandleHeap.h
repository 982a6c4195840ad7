#pragma once
// The toolbox's relocatable memory blocks: a handle points at the block's data pointer, which
// the heap may change whenever the block is not locked.

#include <abi/HostTypes.h>

#include <map>
#include <memory>
#include <optional>

namespace kestrune::host::rtas
{

class HandleHeap
{
public:
    // Null for a negative size; `clear` zeroes the data, otherwise it holds 0xA5 bytes.
    Handle allocate (int32_t size, bool clear);
    // Copies bytes into a new block.
    Handle allocateCopy (const uint8_t* data, int32_t size);
    bool dispose (Handle block);
    bool contains (Handle block) const;

    std::optional<int32_t> size (Handle block) const;
    // noErr, nilHandleErr for an unknown block, memLockedErr when a locked block would grow.
    OSErr resize (Handle block, int32_t size);
    bool setLocked (Handle block, bool locked);
    std::optional<bool> isLocked (Handle block) const;
    // Moves an unlocked block's data to a new place (memLockedErr for a locked one).
    OSErr move (Handle block);
    void moveAllUnlocked();

    size_t count() const { return blocks_.size(); }
    void clear() { blocks_.clear(); }

private:
    struct Block
    {
        Ptr master = nullptr;
        std::unique_ptr<char[]> data;
        int32_t size = 0;
        bool locked = false;
    };

    Block* find (Handle block) const;
    static void relocate (Block& block, int32_t newSize);

    std::map<Handle, std::unique_ptr<Block>> blocks_;
};

} // namespace kestrune::host::rtas
