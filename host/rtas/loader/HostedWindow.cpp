#include "HostedWindow.h"

#include <stdexcept>

namespace kestrune::host::rtas
{

namespace
{
    HostExtControl& ToolboxOf (const HostedProcess& process)
    {
        HostExtControl* toolbox = process.PlugIn().Loader().toolbox();
        if (toolbox == nullptr)
            throw std::runtime_error ("the host runs without its toolbox: it has no windows");
        return *toolbox;
    }
} // namespace

HostedWindow::HostedWindow (const HostedProcess& process, uint32_t nativeWindow, Point globalTopLeft)
    : process_ (process), toolbox_ (ToolboxOf (process))
{
    const Rect view = process_.ViewRect();
    width_ = view.right - view.left;
    height_ = view.bottom - view.top;
    if (width_ <= 0 || height_ <= 0)
        throw std::runtime_error ("the plug-in has no view to show");
    const Rect global { globalTopLeft.v, globalTopLeft.h, int16_t (globalTopLeft.v + height_), int16_t (globalTopLeft.h + width_) };
    port_ = toolbox_.newWindow (global);
    toolbox_.setNativeWindow (port_, nativeWindow);
    try
    {
        process_.SetViewPort (port_);
    }
    catch (...)
    {
        toolbox_.disposeWindow (port_);
        throw;
    }
}

HostedWindow::~HostedWindow()
{
    try
    {
        process_.SetViewPort (nullptr);
    }
    catch (const std::exception&)
    {
        // The window goes anyway.
    }
    toolbox_.disposeWindow (port_);
}

void HostedWindow::Redraw() const
{
    process_.InvalidateView (nullptr);
}

std::vector<uint32_t> HostedWindow::Pixels() const
{
    return toolbox_.windowPixels (port_);
}

} // namespace kestrune::host::rtas
