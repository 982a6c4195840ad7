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

// Ports (windows), regions and pixel patterns are the toolbox's own objects, known to callers
// only by these pointers. The port is the one type under which the host also hands a plug-in its
// window (OpaqueGrafPtr*).
struct OpaqueGrafPtr;
struct OpaqueRegion;
struct OpaquePixelPattern;
using GrafPtr = OpaqueGrafPtr*;
using WindowRef = GrafPtr;
using RgnHandle = OpaqueRegion*;
using PixPatHandle = OpaquePixelPattern*;

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

// The pen of the current port: where the next line starts (local coordinates), its width and
// height, and its transfer mode.
struct PenState
{
    Point location;
    Point size;
    int16_t mode;
};

struct FontInfo
{
    int16_t ascent;
    int16_t descent;
    int16_t widMax;
    int16_t leading;
};

// A toolbox control, the data of a ControlHandle. `state` holds the kControlState bits.
struct ControlRecord
{
    int32_t reference;
    int16_t kind;
    uint8_t visible;
    uint8_t state;
    Rect bounds;
    int16_t value;
    int16_t minimum;
    int16_t maximum;
    WindowRef owner;
    unsigned char title[256];
};
using ControlHandle = ControlRecord**;

// Called on each pass of TrackControl with the part under the mouse (0 when outside).
using ControlActionProc = void (*) (ControlHandle control, int16_t part);

// A control template resource ('CNTL'): this header, then the title as a length-prefixed string
// (a missing title is empty).
struct ControlTemplate
{
    Rect bounds;
    int16_t value;
    int16_t minimum;
    int16_t maximum;
    int16_t kind;
    uint8_t visible;
    uint8_t reserved;
    int32_t reference;
};

// A text-edit record, the data of a TEHandle. The text is in `text` (teLength bytes, no
// terminator); the selection runs from selStart up to selEnd; `inPort` is the port it draws in.
struct TERecord
{
    Rect destRect;
    Rect viewRect;
    int16_t lineHeight;
    int16_t fontAscent;
    int16_t selStart;
    int16_t selEnd;
    int16_t teLength;
    int16_t just;
    int16_t txFont;
    int16_t txSize;
    int16_t txFace;
    uint8_t active;
    uint8_t caretVisible;
    uint32_t caretTicks;
    Handle text;
    GrafPtr inPort;
};
using TEHandle = TERecord**;

struct MenuRecord;
using MenuHandle = MenuRecord**;

// A menu definition: called with a kMenu...Message, the menu, the menu's rectangle (in and out,
// global coordinates), the mouse point (global) and the item (in and out).
using MenuDefProc = void (*) (int16_t message, MenuHandle menu, Rect* menuRect, Point hitPoint, int16_t* item);

// A menu, the data of a MenuHandle. The definition answers the size message by writing
// menuWidth and menuHeight.
struct MenuRecord
{
    int16_t menuID;
    int16_t menuWidth;
    int16_t menuHeight;
    Handle definition;
    int32_t reference;
    unsigned char title[256];
};

// The data of a menu-definition handle.
struct MenuDefinitionRecord
{
    MenuDefProc proc;
};

// A picture resource ('PICT'): this header, then the frame's width times height pixels, row by
// row, each a premultiplied 0xAARRGGBB word.
struct PictureHeader
{
    int16_t size;
    Rect frame;
};

// A pixel pattern resource ('ppat'): this header, then width times height 0xAARRGGBB words.
struct PixelPatternHeader
{
    int16_t width;
    int16_t height;
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
static_assert (sizeof (PenState) == 10);
static_assert (offsetof (PenState, size) == 4);
static_assert (offsetof (PenState, mode) == 8);
static_assert (sizeof (FontInfo) == 8);
static_assert (sizeof (ControlRecord) == 282);
static_assert (offsetof (ControlRecord, kind) == 4);
static_assert (offsetof (ControlRecord, visible) == 6);
static_assert (offsetof (ControlRecord, state) == 7);
static_assert (offsetof (ControlRecord, bounds) == 8);
static_assert (offsetof (ControlRecord, value) == 16);
static_assert (offsetof (ControlRecord, minimum) == 18);
static_assert (offsetof (ControlRecord, maximum) == 20);
static_assert (offsetof (ControlRecord, owner) == 22);
static_assert (offsetof (ControlRecord, title) == 26);
static_assert (sizeof (ControlTemplate) == 22);
static_assert (offsetof (ControlTemplate, value) == 8);
static_assert (offsetof (ControlTemplate, kind) == 14);
static_assert (offsetof (ControlTemplate, visible) == 16);
static_assert (offsetof (ControlTemplate, reference) == 18);
static_assert (sizeof (TERecord) == 48);
static_assert (offsetof (TERecord, lineHeight) == 16);
static_assert (offsetof (TERecord, selStart) == 20);
static_assert (offsetof (TERecord, teLength) == 24);
static_assert (offsetof (TERecord, just) == 26);
static_assert (offsetof (TERecord, txFont) == 28);
static_assert (offsetof (TERecord, active) == 34);
static_assert (offsetof (TERecord, caretTicks) == 36);
static_assert (offsetof (TERecord, text) == 40);
static_assert (offsetof (TERecord, inPort) == 44);
static_assert (sizeof (MenuRecord) == 270);
static_assert (offsetof (MenuRecord, menuWidth) == 2);
static_assert (offsetof (MenuRecord, menuHeight) == 4);
static_assert (offsetof (MenuRecord, definition) == 6);
static_assert (offsetof (MenuRecord, reference) == 10);
static_assert (offsetof (MenuRecord, title) == 14);
static_assert (sizeof (MenuDefinitionRecord) == 4);
static_assert (sizeof (PictureHeader) == 10);
static_assert (offsetof (PictureHeader, frame) == 2);
static_assert (sizeof (PixelPatternHeader) == 4);
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

// Result of QueryInterface for an identifier the object does not answer, and for a null out
// pointer.
inline constexpr int32_t kHostNoInterface = int32_t (0x80004002u);
inline constexpr int32_t kHostNullOutPointer = int32_t (0x80004003u);

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
inline constexpr OSErr noTypeErr = -102; // the clipboard holds no text

// Transfer modes: the pattern modes draw with the pen (solid), the source modes with the
// glyphs of text. Any other value draws as a copy.
inline constexpr int16_t srcCopy = 0;
inline constexpr int16_t srcOr = 1;
inline constexpr int16_t srcXor = 2;
inline constexpr int16_t srcBic = 3;
inline constexpr int16_t notSrcCopy = 4;
inline constexpr int16_t notSrcOr = 5;
inline constexpr int16_t notSrcXor = 6;
inline constexpr int16_t notSrcBic = 7;
inline constexpr int16_t patCopy = 8;
inline constexpr int16_t patOr = 9;
inline constexpr int16_t patXor = 10;
inline constexpr int16_t patBic = 11;
inline constexpr int16_t notPatCopy = 12;
inline constexpr int16_t notPatOr = 13;
inline constexpr int16_t notPatXor = 14;
inline constexpr int16_t notPatBic = 15;

// The eight colours of ForeColor and BackColor.
inline constexpr int32_t blackColor = 33;
inline constexpr int32_t whiteColor = 30;
inline constexpr int32_t redColor = 205;
inline constexpr int32_t greenColor = 341;
inline constexpr int32_t blueColor = 409;
inline constexpr int32_t cyanColor = 273;
inline constexpr int32_t magentaColor = 137;
inline constexpr int32_t yellowColor = 69;

// Text face bits: bold widens every character by one pixel, underline draws a line one pixel
// below the baseline; the others are kept but do not change the drawing.
inline constexpr int16_t kTextFaceBold = 1;
inline constexpr int16_t kTextFaceItalic = 2;
inline constexpr int16_t kTextFaceUnderline = 4;

// Text justification of text boxes and text-edit records.
inline constexpr int16_t teFlushDefault = 0;
inline constexpr int16_t teCenter = 1;
inline constexpr int16_t teFlushRight = -1;
inline constexpr int16_t teFlushLeft = -2;

// Control kinds, the part codes that tracking answers, and the ControlRecord state bits.
inline constexpr int16_t pushButProc = 0;
inline constexpr int16_t checkBoxProc = 1;
inline constexpr int16_t radioButProc = 2;
inline constexpr int16_t kControlButtonPart = 10;
inline constexpr int16_t kControlCheckBoxPart = 11;
inline constexpr uint8_t kControlStateDrawn = 0x01;
inline constexpr uint8_t kControlStateTracking = 0x02;
inline constexpr uint8_t kControlStateHilited = 0x04;

// Messages to a menu definition.
inline constexpr int16_t kMenuDrawMessage = 0;
inline constexpr int16_t kMenuTrackMessage = 1;
inline constexpr int16_t kMenuSizeMessage = 2;
inline constexpr int16_t kMenuPlaceMessage = 3;
