#pragma once
// The host's toolbox (HostExt.dll), reached by ordinal only.
//
// Ordinal scheme. HostExt.dll exports each routine under the symbol "HostExt_Ordinal_<N>"
// (N in decimal, no padding) and under no other name. GetProcAddress(module,
// MAKEINTRESOURCEA(N)) of our Windows layer maps ordinal N of any module whose file is named
// "<Stem>.<ext>" to the symbol "<Stem>_Ordinal_<N>" of that module (see win/Win32.h), so the
// library binds the toolbox exactly as it would by ordinal. KESTRUNE_HOSTEXT_ROUTINES below is
// the one table of ordinals: the library's binding (HostExtRoutines) and the stand-in's exports
// (KESTRUNE_HOSTEXT_DECLARE_EXPORT) are both generated from it.
//
// Families in this table: memory blocks (1-19), resource files and resources (20-39),
// strings (40-49), events and time (50-59), files (60-69), ports, regions and rectangles
// (100-149), drawing (150-199), controls (200-219), text editing and the clipboard (220-239),
// menus (240-259), screens (260-279), drawing extensions (300-).
//
// Semantics callers rely on: a missing resource gives null and sets the resource error;
// StringToReal reads the decimal number at the start of a text (an optional sign, digits with at
// most one point, an optional exponent) and answers 1, or 0 with the value 0 when none starts it;
// GetResInfo answers a loaded resource's id, type and exact name (any output may be null; for a
// handle that is no resource it writes nothing and sets the resource error); a handle
// is a pointer to the block's data pointer, and a locked block's data does not move; every
// resource loaded from a file opened with a swap routine is passed to that routine once, right
// after it is read and before the caller sees it.
//
// Drawing follows the classic conventions. A Rect covers the pixels [left, right) x [top, bottom);
// an empty one draws nothing. The pen hangs to the right of and below the point it is at, so a
// line of a 1 x 1 pen from (h1, v1) to (h2, v2) sets both end pixels, and FrameRect draws inside
// the rectangle. Drawing goes to the current port, in its local coordinates (the port's pixel
// (0, 0) is at its origin), through its clip region; rectangles, ovals and lines use the pen mode
// and the fore colour, erasing uses the background pattern or, without one, the back colour.
// Patterns are tiled from local (0, 0). Pixels are 0xAARRGGBB words; pictures and the pixels of
// CopyARGBPixels are premultiplied and drawn over what is there.
//
// Text uses one fixed font for every font number: at size s (0 means 12) a character is
// (2s + 1) / 3 pixels wide, one more in bold; ascent (7s + 4) / 9, descent (2s + 4) / 9 and
// leading (s + 4) / 9, descent and leading at least 1 (size 9: 6 pixels, ascent 7, descent 2,
// leading 1). A printable character draws as a box of its width less one pixel (the full width
// in bold), from the ascent down to the baseline; a space draws nothing.
//
// The mouse: the host scripts it as samples of a point (global) and the button. The first sample
// is where the mouse is when the script is set; each StillDown moves to the next sample and
// answers its button; when the samples run out the button is up, so every tracking loop ends.
// GetMouse answers the current sample in the current port's local coordinates.
//
// PopUpMenuSelect sends the menu's definition, in this order: the size message, the place
// message (the rectangle at the given top-left corner and size, the item to place), the draw
// message in a pop-up window whose local coordinates are global ones (the placed rectangle as
// far as it lies on the screens), then one track message per mouse sample up to the one that
// releases the button. Its result is the menu ID in the high
// half and the item last answered in the low half, or 0 when that item is 0.

#include "HostTypes.h"

#include <win/Win32.h>

// Called for every resource loaded from a resource file opened with it: the file, the type,
// the id, the resource's bytes and their number. Answers 1 for a type whose byte order it
// fixes, else 0; it touches no byte past the size.
using ResourceSwapProc = int32_t (*) (int16_t file, ResType type, int16_t id, void* data, int32_t size);

// Resource file permission values.
inline constexpr int8_t fsCurPerm = 0;
inline constexpr int8_t fsRdPerm = 1;

// X(ordinal, role, result type, parameter list)
// clang-format off
#define KESTRUNE_HOSTEXT_ROUTINES(X)                                                                        \
    /* Memory blocks. */                                                                                    \
    X (1, NewHandle, Handle, (int32_t size))                                                                \
    X (2, NewHandleClear, Handle, (int32_t size))                                                           \
    X (3, DisposeHandle, void, (Handle block))                                                              \
    X (4, GetHandleSize, int32_t, (Handle block))                                                           \
    X (5, SetHandleSize, void, (Handle block, int32_t size))                                                \
    X (6, HLock, void, (Handle block))                                                                      \
    X (7, HUnlock, void, (Handle block))                                                                    \
    X (8, MoveHHi, void, (Handle block))                                                                    \
    X (9, MemError, OSErr, ())                                                                              \
    /* Resource files and resources. */                                                                     \
    X (20, OpenResFileWithSwap, int16_t, (const char* path, ResourceSwapProc swap))                         \
    X (21, CloseResFileByPath, void, (const char* path))                                                    \
    X (22, FSpOpenResFile, int16_t, (const FSSpec* spec, int8_t permission))                                \
    X (23, CloseResFile, void, (int16_t file))                                                              \
    X (24, CurResFile, int16_t, ())                                                                         \
    X (25, UseResFile, void, (int16_t file))                                                                \
    X (26, GetResource, Handle, (ResType type, int16_t id))                                                 \
    X (27, GetNamedResource, Handle, (ResType type, ConstStr255Param name))                                 \
    X (28, CountResources, int16_t, (ResType type))                                                         \
    X (29, GetIndResource, Handle, (ResType type, int16_t index))                                           \
    X (30, LoadResource, void, (Handle resource))                                                           \
    X (31, ReleaseResource, void, (Handle resource))                                                        \
    X (32, ResError, OSErr, ())                                                                             \
    X (33, ClearResError, void, ())                                                                         \
    X (34, GetIndString, void, (StringPtr text, int16_t listId, int16_t index))                             \
    X (35, Get1Resource, Handle, (ResType type, int16_t id))                                                \
    X (36, GetResInfo, void, (Handle resource, int16_t * id, ResType * type, StringPtr name))               \
    /* Strings. */                                                                                          \
    X (40, CStrToPStrInPlace, StringPtr, (char* text))                                                      \
    X (41, NumToString, void, (int32_t number, StringPtr text))                                             \
    X (42, StringToNum, void, (ConstStr255Param text, int32_t * number))                                    \
    X (43, HandleData, Ptr, (Handle block))                                                                 \
    X (44, StringWidth, int16_t, (ConstStr255Param text))                                                   \
    X (45, StringToReal, uint8_t, (ConstStr255Param text, double* value))                                   \
    /* Events and time. */                                                                                  \
    X (50, TickCount, uint32_t, ())                                                                         \
    X (51, Microseconds, void, (uint64_t * microseconds))                                                   \
    X (52, GetKeys, void, (uint8_t * keyMap))                                                               \
    X (53, GetCurrentKeyModifiers, uint16_t, ())                                                            \
    X (54, EventAvail, uint8_t, (uint16_t eventMask, EventRecord * event))                                  \
    X (55, StillDown, uint8_t, ())                                                                          \
    X (56, GetMouse, void, (Point * where))                                                                 \
    /* Files. */                                                                                            \
    X (60, FSMakeFSSpecFromPath, OSErr, (ConstStr255Param path, FSSpec * spec))                             \
    /* Ports, regions and rectangles. */                                                                    \
    X (100, GetPort, void, (GrafPtr * port))                                                                \
    X (101, SetPort, void, (GrafPtr port))                                                                  \
    X (102, GetPortBounds, void, (GrafPtr port, Rect * bounds))                                             \
    X (103, SetOrigin, void, (int16_t h, int16_t v))                                                        \
    X (104, GetClip, void, (RgnHandle region))                                                              \
    X (105, SetClip, void, (RgnHandle region))                                                              \
    X (106, ClipRect, void, (const Rect* rect))                                                             \
    X (107, NewRgn, RgnHandle, ())                                                                          \
    X (108, DisposeRgn, void, (RgnHandle region))                                                           \
    X (109, RectRgn, void, (RgnHandle region, const Rect* rect))                                            \
    X (110, DiffRgn, void, (RgnHandle a, RgnHandle b, RgnHandle result))                                    \
    X (111, UnionRgn, void, (RgnHandle a, RgnHandle b, RgnHandle result))                                   \
    X (112, SectRgn, void, (RgnHandle a, RgnHandle b, RgnHandle result))                                    \
    X (113, GetRegionBounds, void, (RgnHandle region, Rect * bounds))                                       \
    X (115, SetRect, void, (Rect * rect, int16_t left, int16_t top, int16_t right, int16_t bottom))         \
    X (116, SectRect, uint8_t, (const Rect* a, const Rect* b, Rect* result))                                \
    X (117, UnionRect, void, (const Rect* a, const Rect* b, Rect* result))                                  \
    X (118, InsetRect, void, (Rect * rect, int16_t dh, int16_t dv))                                         \
    X (119, PtInRect, uint8_t, (Point point, const Rect* rect))                                             \
    X (120, EraseRect, void, (const Rect* rect))                                                            \
    X (121, PaintRect, void, (const Rect* rect))                                                            \
    X (122, FrameRect, void, (const Rect* rect))                                                            \
    X (123, EraseOval, void, (const Rect* rect))                                                            \
    X (124, PaintOval, void, (const Rect* rect))                                                            \
    X (125, FrameOval, void, (const Rect* rect))                                                            \
    X (126, LocalToGlobal, void, (Point * point))                                                           \
    X (127, GlobalToLocal, void, (Point * point))                                                           \
    X (128, InvalWindowRect, void, (WindowRef window, const Rect* rect))                                    \
    X (129, ScrollRect, void, (const Rect* rect, int16_t dh, int16_t dv, RgnHandle uncovered))              \
    X (130, PtToAngle, void, (const Rect* rect, Point point, int16_t* angle))                               \
    /* Drawing. */                                                                                          \
    X (150, RGBForeColor, void, (const RGBColor* colour))                                                   \
    X (151, RGBBackColor, void, (const RGBColor* colour))                                                   \
    X (152, GetForeColor, void, (RGBColor * colour))                                                        \
    X (153, GetBackColor, void, (RGBColor * colour))                                                        \
    X (154, ForeColor, void, (int32_t colour))                                                              \
    X (155, BackColor, void, (int32_t colour))                                                              \
    X (156, PenNormal, void, ())                                                                            \
    X (157, PenSize, void, (int16_t width, int16_t height))                                                 \
    X (158, PenMode, void, (int16_t mode))                                                                  \
    X (159, GetPenState, void, (PenState * pen))                                                            \
    X (160, SetPenState, void, (const PenState* pen))                                                       \
    X (161, TextFont, void, (int16_t font))                                                                 \
    X (162, TextSize, void, (int16_t size))                                                                 \
    X (163, TextFace, void, (int16_t face))                                                                 \
    X (164, TextMode, void, (int16_t mode))                                                                 \
    X (165, GetPortTextFont, int16_t, (GrafPtr port))                                                       \
    X (166, GetPortTextSize, int16_t, (GrafPtr port))                                                       \
    X (167, GetPortTextFace, int16_t, (GrafPtr port))                                                       \
    X (168, GetPortTextMode, int16_t, (GrafPtr port))                                                       \
    X (169, GetFontInfo, void, (FontInfo * info))                                                           \
    X (170, TextWidth, int16_t, (const void* text, int16_t first, int16_t count))                           \
    X (171, DrawText, void, (const void* text, int16_t first, int16_t count))                               \
    X (172, DrawString, void, (ConstStr255Param text))                                                      \
    X (173, TETextBox, void, (const void* text, int32_t length, const Rect* box, int16_t just))             \
    X (174, MoveTo, void, (int16_t h, int16_t v))                                                           \
    X (175, Move, void, (int16_t dh, int16_t dv))                                                           \
    X (176, LineTo, void, (int16_t h, int16_t v))                                                           \
    X (177, Line, void, (int16_t dh, int16_t dv))                                                           \
    X (178, GetPixPat, PixPatHandle, (int16_t id))                                                          \
    X (179, DisposePixPat, void, (PixPatHandle pattern))                                                    \
    X (180, BackPixPat, void, (PixPatHandle pattern))                                                       \
    X (181, GetBackPixPat, PixPatHandle, ())                                                                \
    X (182, DrawPicture, void, (Handle picture, const Rect* frame))                                         \
    X (183, PlotIcon, void, (const Rect* frame, Handle icon))                                               \
    /* Controls. */                                                                                         \
    X (200, NewControl, ControlHandle, (WindowRef window, const Rect* bounds, ConstStr255Param title,       \
        uint8_t visible, int16_t value, int16_t minimum, int16_t maximum, int16_t kind,                     \
        int32_t reference))                                                                                 \
    X (201, GetNewControl, ControlHandle, (int16_t templateId, WindowRef window))                           \
    X (202, DisposeControl, void, (ControlHandle control))                                                  \
    X (203, ShowControl, void, (ControlHandle control))                                                     \
    X (204, Draw1Control, void, (ControlHandle control))                                                    \
    X (205, MoveControl, void, (ControlHandle control, int16_t h, int16_t v))                               \
    X (206, GetControlBounds, void, (ControlHandle control, Rect * bounds))                                 \
    X (207, TrackControl, int16_t, (ControlHandle control, Point start, ControlActionProc action))          \
    /* Text editing and the clipboard. */                                                                   \
    X (220, TENew, TEHandle, (const Rect* destination, const Rect* view))                                   \
    X (221, TEDispose, void, (TEHandle edit))                                                               \
    X (222, TESetText, void, (const void* text, int32_t length, TEHandle edit))                             \
    X (223, TEInsert, void, (const void* text, int32_t length, TEHandle edit))                              \
    X (224, TESetSelect, void, (int32_t start, int32_t end, TEHandle edit))                                 \
    X (225, TEUpdate, void, (const Rect* area, TEHandle edit))                                              \
    X (226, TEActivate, void, (TEHandle edit))                                                              \
    X (227, TEDeactivate, void, (TEHandle edit))                                                            \
    X (228, TEIdle, void, (TEHandle edit))                                                                  \
    X (229, TEKey, void, (int16_t character, TEHandle edit))                                                \
    X (230, TEClick, void, (Point where, uint8_t extend, TEHandle edit))                                    \
    X (231, TEGetText, Handle, (TEHandle edit))                                                             \
    X (232, TEGetTextLength, int16_t, (TEHandle edit))                                                      \
    X (233, TESetAlignment, void, (int16_t just, TEHandle edit))                                            \
    X (234, GetClipboardText, int32_t, (Handle destination))                                                \
    /* Menus. */                                                                                            \
    X (240, NewMenu, MenuHandle, (int16_t menuID, ConstStr255Param title))                                  \
    X (241, DisposeMenu, void, (MenuHandle menu))                                                           \
    X (242, NewMenuDefinition, Handle, (MenuDefProc proc))                                                  \
    X (243, DisposeMenuDefinition, void, (Handle definition))                                               \
    X (244, SetMenuDefinition, void, (MenuHandle menu, Handle definition))                                  \
    X (245, SetMenuReference, void, (MenuHandle menu, int32_t reference))                                   \
    X (246, GetMenuReference, int32_t, (MenuHandle menu))                                                   \
    X (247, InsertMenu, void, (MenuHandle menu, int16_t beforeID))                                          \
    X (248, DeleteMenu, void, (int16_t menuID))                                                             \
    X (249, PopUpMenuSelect, int32_t, (MenuHandle menu, int16_t top, int16_t left, int16_t item))           \
    /* Screens. */                                                                                          \
    X (260, CountScreens, int16_t, ())                                                                      \
    X (261, GetScreenBounds, uint8_t, (int16_t index, Rect * bounds))                                       \
    /* Drawing extensions. */                                                                               \
    X (300, CopyARGBPixels, void, (const uint32_t* pixels, int32_t width, int32_t height,                   \
        int32_t rowBytes, const Rect* destination))
// clang-format on

namespace kestrune::rtas::abi
{

enum class HostExtOrdinal : uint16_t
{
#define KESTRUNE_HOSTEXT_ENUM(ordinal, role, result, params) role = ordinal,
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_ENUM)
#undef KESTRUNE_HOSTEXT_ENUM
};

// One pointer per routine, named by its role; null when the module lacks it.
struct HostExtRoutines
{
#define KESTRUNE_HOSTEXT_POINTER(ordinal, role, result, params) result (*role) params = nullptr;
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_POINTER)
#undef KESTRUNE_HOSTEXT_POINTER
};

// Binds every routine of the table from a loaded toolbox module by ordinal; returns the number
// of routines that the module does not export (0 when the binding is complete).
inline int bindHostExtRoutines (HMODULE toolbox, HostExtRoutines& routines)
{
    int missing = 0;
#define KESTRUNE_HOSTEXT_BIND(ordinal, role, result, params)                                                    \
    routines.role = reinterpret_cast<result (*) params> (GetProcAddress (toolbox, MAKEINTRESOURCEA (ordinal))); \
    missing += routines.role == nullptr ? 1 : 0;
    KESTRUNE_HOSTEXT_ROUTINES (KESTRUNE_HOSTEXT_BIND)
#undef KESTRUNE_HOSTEXT_BIND
    return missing;
}

} // namespace kestrune::rtas::abi

// For the toolbox module itself: declares the C function HostExt_<role> whose exported symbol
// is the ordinal's, so that the module exports the routine by ordinal only.
#define KESTRUNE_HOSTEXT_DECLARE_EXPORT(ordinal, role, result, params) \
    extern "C" __attribute__ ((visibility ("default"))) result HostExt_##role params __asm__("HostExt_Ordinal_" #ordinal);
