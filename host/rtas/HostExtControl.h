#pragma once
// The test side of the stand-in toolbox (HostExt.dll).
//
// KestruneHostExtStandIn() gives the control; a test that loads HostExt.dll at run time reaches
// it with GetProcAddress(module, kHostExtControlEntry).
//
// A reset toolbox: no blocks, no resource files (the current file is 0), resource and memory
// errors 0, the clock following real time from the reset on (60 ticks a second), no keys or
// modifiers down, no calls recorded and nothing scripted; no windows, regions, patterns,
// controls, text-edit records or menus, no current port, one 1024 x 768 screen at (0, 0), the
// mouse up at (0, 0) with no samples, and no text on the clipboard.
// Every routine is recorded under its role name in the ordinal table (abi/HostExt.h), with its
// numeric arguments (a Rect as top, left, bottom, right; a Point as v, h; objects by address)
// and a path, file spec, name or drawn text as its text. Besides, "InvalidHandle" (the address;
// text "port", "region", "pattern", "control", "text edit", "menu" or "menu definition") is
// recorded when a routine is given an object the toolbox does not know, which it then ignores
// (text "picture", "icon" or "pixels": data that does not hold what the routine draws);
// "UnknownTransferMode" (the mode) when a pen or text mode outside 0-15 is set, which then
// draws as a copy; "UnknownColour" (the value) for a ForeColor or BackColor that is none of the
// eight, which then sets black or white.
// injectFailure: "NewHandle", "NewHandleClear" (null; the memory error is the code),
// "SetHandleSize" (unchanged; memory error), "OpenResFileWithSwap", "FSpOpenResFile" (-1; the
// resource error), "GetResource", "Get1Resource", "GetNamedResource", "GetIndResource" (null;
// the resource error), "FSMakeFSSpecFromPath" (the code), "NewRgn", "GetPixPat", "NewControl",
// "GetNewControl", "TENew", "NewMenu", "NewMenuDefinition" (null; the memory error).
// scriptResult: "TickCount"; "TrackControl" (the part it answers; the mouse is still followed
// until the button is up).
//
// Memory: a handle's data stays put while the block is locked; SetHandleSize, MoveHHi and
// compactMemory move every unlocked block they touch, so code that keeps a data pointer across
// them without locking sees it change. A locked block cannot grow (memLockedErr).
// Resource files: opening a file again (by path or by file spec) counts one more open
// of the same file and makes it current; each close counts one down and the last closes it and
// releases its resources. A file spec of a module that has no resource container of
// its own opens "<module>.rsr". Resources are searched from the current file back through the
// files opened before it. A resource is loaded once, given to its file's swap routine, and
// keeps its handle until released or its file is closed.

#include <abi/HostExt.h>

#include "StandInScript.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

struct HostExtResourceFile
{
    int16_t reference = 0;
    std::string path;
    int opens = 0;
    size_t loadedResources = 0;
};

// A point of the scripted mouse, in global coordinates, and the button.
struct HostExtMouseSample
{
    Point where;
    bool down;
};

// The drawing state of a port, for checking that code restores what it changed.
struct HostExtPortState
{
    Point origin;
    std::vector<Rect> clip; // the clip region's boxes (see Region)
    RGBColor fore;
    RGBColor back;
    PenState pen;
    int16_t textFont;
    int16_t textSize;
    int16_t textFace;
    int16_t textMode;
    PixPatHandle backPattern;
};

// How many of each toolbox object are alive.
struct HostExtObjectCounts
{
    size_t windows = 0;
    size_t regions = 0;
    size_t patterns = 0;
    size_t controls = 0;
    size_t textEdits = 0;
    size_t menus = 0;
    size_t menuDefinitions = 0;
};

class HostExtControl
{
public:
    virtual void reset() = 0;
    virtual StandInScript& script() = 0;

    // Memory blocks.
    virtual size_t liveHandles() = 0;
    virtual bool isLocked (Handle block) = 0;
    virtual void compactMemory() = 0;

    // Resource files, oldest first.
    virtual std::vector<HostExtResourceFile> openResourceFiles() = 0;

    // The clock: setClock switches to a clock that moves only when told to (and by `step`
    // microseconds on each read, so that busy waits end); useRealClock goes back.
    virtual void setClock (uint64_t microseconds, uint64_t stepPerRead = 0) = 0;
    virtual void advanceClock (uint64_t microseconds) = 0;
    virtual void useRealClock() = 0;

    // Keys: the 16-byte key map and the modifier bits that the toolbox reports.
    virtual void setKeyMap (const uint8_t* keyMap) = 0;
    virtual void setModifiers (uint16_t modifiers) = 0;

    // Windows, as the host opens them for a plug-in: a port with its own pixels (all white at
    // first, fore colour black, back colour white, origin (0, 0), clip wide open, the pen 1 x 1
    // in patCopy at (0, 0), font 0, size 0, face 0, text mode srcOr). Disposing of a window
    // disposes of its controls.
    virtual WindowRef newWindow (const Rect& globalBounds) = 0;
    virtual void disposeWindow (WindowRef window) = 0;
    // Backs the window with a platform window that the host shows on screen (an X11 window id),
    // which GetNativeWindow then answers; 0 takes it away again. Drawing in the port still goes
    // to the window's own pixels.
    virtual void setNativeWindow (WindowRef window, uint32_t nativeWindow) = 0;
    // The window's pixels row by row (0xAARRGGBB), and one pixel by window coordinates (0 outside
    // the window or for an unknown window).
    virtual std::vector<uint32_t> windowPixels (WindowRef window) = 0;
    virtual uint32_t pixel (WindowRef window, int32_t x, int32_t y) = 0;
    // The part of the window marked for update, in window coordinates, and clearing it.
    virtual std::vector<Rect> updateRegion (WindowRef window) = 0;
    virtual void validateWindow (WindowRef window) = 0;
    virtual HostExtPortState portState (GrafPtr port) = 0;
    // The window the last pop-up menu drew into (its local coordinates are global ones); it
    // stays until the next pop-up or a reset. Null when there was none.
    virtual WindowRef lastPopUpWindow() = 0;
    virtual HostExtObjectCounts objectCounts() = 0;

    // The mouse: the first sample is where the mouse is now, each StillDown takes the next one;
    // after the last the button is up where the last sample was.
    virtual void setMouseScript (const std::vector<HostExtMouseSample>& samples) = 0;
    virtual size_t pendingMouseSamples() = 0;

    virtual void setScreens (const std::vector<Rect>& screens) = 0;
    // Text on the clipboard; nullopt when it holds none.
    virtual void setClipboardText (const std::optional<std::string>& text) = 0;

protected:
    ~HostExtControl() = default;
};

inline constexpr const char* kHostExtControlEntry = "KestruneHostExtStandIn";

} // namespace kestrune::host::rtas

extern "C" kestrune::host::rtas::HostExtControl* KestruneHostExtStandIn();
