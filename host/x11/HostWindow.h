// The host's own plug-in window on an X11 display: a top-level window whose id the host hands to
// a plug-in (an AAX view container, or the native window behind an RTAS toolbox window), so
// that the plug-in's editor becomes a native child of it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct _XDisplay;

namespace kestrune::host
{
class HostWindow
{
public:
    // Opens the display named by DISPLAY and maps a window of that size; throws
    // std::runtime_error when there is no display.
    HostWindow (int32_t width, int32_t height);
    HostWindow (const HostWindow&) = delete;
    HostWindow& operator= (const HostWindow&) = delete;
    ~HostWindow();

    unsigned long Id() const { return window_; }
    void Resize (int32_t width, int32_t height);
    std::pair<int32_t, int32_t> Size() const;
    // The windows placed directly in this one, and whether one of them is mapped and shown.
    std::vector<unsigned long> Children() const;
    bool IsShown (unsigned long window) const;
    // Where a window placed in this one lies in it: x, y.
    std::pair<int32_t, int32_t> PositionOf (unsigned long window) const;

    // The user's mouse, as the display's input extension (XTEST) plays it: the pointer moved to
    // a point of this window, and the first button pressed or released where the pointer is.
    // Throws std::runtime_error when the display lacks the extension.
    void MovePointer (int32_t x, int32_t y);
    void PressButton (bool down);

private:
    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;
};
} // namespace kestrune::host
