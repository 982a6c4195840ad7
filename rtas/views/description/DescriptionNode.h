#pragma once
// The nodes into which a view description is read: singly linked, taken from the reader's pool.
// A list node's value is its first node, a string node's value its length-prefixed text in the
// pool, a view type's value its creator and a real's value the bits of a 32-bit float.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>

class CCustomView;

using ViewCreator = std::unique_ptr<CCustomView> (*)();

enum EDescriptionNodeKind : int16_t
{
    kNodeMarker = 0,
    kNodeCharacter = 1,
    kNodeFourCharCode = 2,
    kNodeKeyword = 3,
    kNodeViewType = 4,
    kNodeTextQuery = 5,
    kNodeString = 6,
    kNodeInteger = 7,
    kNodeReal = 8,
    kNodeList = 9
};

#pragma pack(push, 2)
struct SDescriptionNode
{
    SDescriptionNode* next;
    int16_t kind;
    int32_t value;
};
#pragma pack(pop)

// The library runs with 32-bit pointers: a pointer is a node's value.
static_assert (sizeof (void*) == 4 && sizeof (ViewCreator) == 4);
static_assert (sizeof (SDescriptionNode) == 10);
static_assert (offsetof (SDescriptionNode, kind) == 4);
static_assert (offsetof (SDescriptionNode, value) == 6);

inline int32_t PointerValue (const void* pointer)
{
    return static_cast<int32_t> (reinterpret_cast<uintptr_t> (pointer));
}

inline int32_t CreatorValue (ViewCreator creator)
{
    return static_cast<int32_t> (reinterpret_cast<uintptr_t> (creator));
}

inline SDescriptionNode* ListNodes (const SDescriptionNode& list)
{
    return reinterpret_cast<SDescriptionNode*> (static_cast<uintptr_t> (static_cast<uint32_t> (list.value)));
}

inline const uint8_t* NodeText (const SDescriptionNode& string)
{
    return reinterpret_cast<const uint8_t*> (static_cast<uintptr_t> (static_cast<uint32_t> (string.value)));
}

inline ViewCreator NodeCreator (const SDescriptionNode& viewType)
{
    return reinterpret_cast<ViewCreator> (static_cast<uintptr_t> (static_cast<uint32_t> (viewType.value)));
}

inline float NodeReal (const SDescriptionNode& real)
{
    const int32_t bits = real.value;
    return std::bit_cast<float> (bits);
}
