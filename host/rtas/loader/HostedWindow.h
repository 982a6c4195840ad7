#pragma once
// The host's plug-in window for one process: a toolbox window of the size of the process's view,
// given to the process as its port, and taken away again and disposed of when the object goes.
// Where the host shows the window on screen in a native one (an X11 window of its own), the
// toolbox window is backed by it, so that the plug-in can place native windows in it.

#include "HostedPlugIn.h"

#include <cstdint>
#include <vector>

namespace kestrune::host::rtas
{

class HostedWindow
{
public:
    // Asks the process for its view rectangle, opens a window of that size at the global point
    // (left, top) and gives it to the process. Throws std::runtime_error when the host runs
    // without its toolbox or the process refuses the port (the window is disposed of then).
    explicit HostedWindow (const HostedProcess& process, uint32_t nativeWindow = 0, Point globalTopLeft = { 0, 0 });
    // Takes the port away from the process, then disposes of the window.
    ~HostedWindow();
    HostedWindow (const HostedWindow&) = delete;
    HostedWindow& operator= (const HostedWindow&) = delete;

    WindowRef Port() const { return port_; }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }

    // The host's update of the whole window: the view redraws all of it. Throws.
    void Redraw() const;
    // The window's pixels, row by row (0xAARRGGBB).
    std::vector<uint32_t> Pixels() const;

private:
    const HostedProcess& process_;
    HostExtControl& toolbox_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    WindowRef port_ = nullptr;
};

} // namespace kestrune::host::rtas
