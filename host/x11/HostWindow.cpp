#include "HostWindow.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <stdexcept>

namespace kestrune::host
{
namespace
{
    // As a host, this process owns Xlib's process-wide set-up: threads on, and an error in a
    // request (a plug-in's included) is not fatal.
    int IgnoreError (Display*, XErrorEvent*)
    {
        return 0;
    }

    void RequireXTest (Display* display)
    {
        int event = 0, error = 0, major = 0, minor = 0;
        if (XTestQueryExtension (display, &event, &error, &major, &minor) == False)
            throw std::runtime_error ("the X11 display has no XTEST extension");
    }

    void PrepareXlib()
    {
        static const bool prepared = [] {
            XInitThreads();
            XSetErrorHandler (&IgnoreError);
            return true;
        }();
        (void) prepared;
    }
} // namespace

HostWindow::HostWindow (int32_t width, int32_t height)
{
    PrepareXlib();
    display_ = XOpenDisplay (nullptr);
    if (display_ == nullptr)
        throw std::runtime_error ("no X11 display");
    const int screen = DefaultScreen (display_);
    window_ = XCreateSimpleWindow (display_, RootWindow (display_, screen), 0, 0, unsigned (width), unsigned (height), 0,
                                   BlackPixel (display_, screen), BlackPixel (display_, screen));
    XStoreName (display_, window_, "KESTrune");
    XMapWindow (display_, window_);
    XSync (display_, False);
}

HostWindow::~HostWindow()
{
    XDestroyWindow (display_, window_);
    XCloseDisplay (display_);
}

void HostWindow::Resize (int32_t width, int32_t height)
{
    if (width > 0 && height > 0)
        XResizeWindow (display_, window_, unsigned (width), unsigned (height));
    XSync (display_, False);
}

std::pair<int32_t, int32_t> HostWindow::Size() const
{
    XWindowAttributes attributes {};
    XGetWindowAttributes (display_, window_, &attributes);
    return { attributes.width, attributes.height };
}

std::vector<unsigned long> HostWindow::Children() const
{
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<unsigned long> result;
    if (XQueryTree (display_, window_, &root, &parent, &children, &count) != 0)
    {
        result.assign (children, children + count);
        if (children != nullptr)
            XFree (children);
    }
    return result;
}

bool HostWindow::IsShown (unsigned long window) const
{
    XWindowAttributes attributes {};
    return XGetWindowAttributes (display_, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

std::pair<int32_t, int32_t> HostWindow::PositionOf (unsigned long window) const
{
    XWindowAttributes attributes {};
    XGetWindowAttributes (display_, window, &attributes);
    return { attributes.x, attributes.y };
}

void HostWindow::MovePointer (int32_t x, int32_t y)
{
    RequireXTest (display_);
    int screenX = 0, screenY = 0;
    Window child = 0;
    XTranslateCoordinates (display_, window_, DefaultRootWindow (display_), x, y, &screenX, &screenY, &child);
    XTestFakeMotionEvent (display_, DefaultScreen (display_), screenX, screenY, CurrentTime);
    XSync (display_, False);
}

void HostWindow::PressButton (bool down)
{
    RequireXTest (display_);
    XTestFakeButtonEvent (display_, 1, down ? True : False, CurrentTime);
    XSync (display_, False);
}
} // namespace kestrune::host
