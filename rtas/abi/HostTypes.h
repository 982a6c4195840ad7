#pragma once
// Records and scalar types that cross the boundary between the RTAS library and the host's
// libraries (engine, DSP manager, toolbox). Every record is packed on 2-byte boundaries, as the
// host lays it out; pointers are 32-bit in the build that uses these headers.

#include <cstddef>
#include <cstdint>

namespace kestrune::rtas::abi
{

// A four-character code: the first character in the most significant byte.
constexpr uint32_t fourCC (const char (&code)[5])
{
    return (uint32_t (uint8_t (code[0])) << 24) | (uint32_t (uint8_t (code[1])) << 16)
           | (uint32_t (uint8_t (code[2])) << 8) | uint32_t (uint8_t (code[3]));
}

} // namespace kestrune::rtas::abi

// The toolbox's own scalar types.
using OSErr = int16_t;
using ResType = uint32_t;
using Ptr = char*;
using Handle = Ptr*;
using StringPtr = unsigned char*;
using ConstStr255Param = const unsigned char*;
using Str255 = unsigned char[256];
using Str63 = unsigned char[64];
using Str31 = unsigned char[32];
using KeyMap = uint8_t[16];

#pragma pack(push, 2)

struct Point
{
    int16_t v;
    int16_t h;
};

struct Rect
{
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct RGBColor
{
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

struct EventRecord
{
    uint16_t what;
    uint32_t message;
    uint32_t when;
    Point where;
    uint16_t modifiers;
};

// The host's file spec: the file's full path, zero-terminated, in 260 bytes.
struct FSSpec
{
    char path[260];
};

// A 128-bit interface identifier, laid out as the host's component model stores it.
struct HostGUID
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

#pragma pack(pop)

static_assert (sizeof (Point) == 4);
static_assert (sizeof (Rect) == 8);
static_assert (sizeof (RGBColor) == 6);
static_assert (sizeof (EventRecord) == 16);
static_assert (offsetof (EventRecord, message) == 2);
static_assert (offsetof (EventRecord, when) == 6);
static_assert (offsetof (EventRecord, where) == 10);
static_assert (offsetof (EventRecord, modifiers) == 14);
static_assert (sizeof (FSSpec) == 260);
static_assert (sizeof (HostGUID) == 16);

inline bool operator== (const HostGUID& a, const HostGUID& b)
{
    if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3)
        return false;
    for (int i = 0; i < 8; ++i)
        if (a.data4[i] != b.data4[i])
            return false;
    return true;
}

// The host's reference-counted interface base: query, add a reference, release (both return
// the new count). Host objects are released, never deleted, by their users.
class IHostUnknown
{
public:
    virtual int32_t QueryInterface (const HostGUID& iid, void** object) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IHostUnknown() = default;
};

// {00000000-0000-0000-C000-000000000046}
inline constexpr HostGUID IID_IHostUnknown = { 0x00000000, 0x0000, 0x0000, { 0xC0, 0, 0, 0, 0, 0, 0, 0x46 } };

// Result of QueryInterface for an identifier the object does not answer.
inline constexpr int32_t kHostNoInterface = int32_t (0x80004002u);

// Toolbox result codes that the stand-in toolbox reports (0 is success).
inline constexpr OSErr noErr = 0;
inline constexpr OSErr fnfErr = -43; // file not found
inline constexpr OSErr paramErr = -50; // bad argument
inline constexpr OSErr memFullErr = -108; // no room for the block
inline constexpr OSErr nilHandleErr = -109; // null handle
inline constexpr OSErr memLockedErr = -117; // the block is locked and cannot move
inline constexpr OSErr resNotFound = -192; // no such resource
inline constexpr OSErr resFNotFound = -193; // no such resource file
inline constexpr OSErr mapReadErr = -199; // the resource file is damaged
