// An instance's editor as the stand-in host opens it: made through the GUI factory,
// initialised on the instance's host unknown, and given view containers.
#pragma once

#include "HostInstance.h"

#include <utility>

namespace kestrune::host::aax
{
class HostEditor
{
public:
    // Throws std::runtime_error when the description has no GUI factory or the GUI refuses
    // to initialise. With initialize false the GUI is made and not initialised.
    explicit HostEditor (HostInstance& instance, bool initialize = true);
    HostEditor (const HostEditor&) = delete;
    HostEditor& operator= (const HostEditor&) = delete;
    // Closes the window, uninitialises and releases the GUI, then the containers.
    ~HostEditor();

    AAX_IACFEffectGUI& GUI() const { return *gui_; }
    // The editor's size as it reports it: width, height; 0 x 0 when it reports an error.
    std::pair<int32_t, int32_t> ViewSize() const;

    // Hands the GUI a new container (headless, or on an X11 window) and returns it; the
    // container given before is let go.
    HostViewContainer& OpenOffscreen();
    HostViewContainer& OpenInX11Window (unsigned long window, std::function<void (int32_t, int32_t)> resize);
    // SetViewContainer(null).
    void Close();

private:
    HostViewContainer& Open (HostViewContainer* container);

    HostInstance& instance_;
    AAX_IACFEffectGUI* gui_ = nullptr;
    HostViewContainer* container_ = nullptr;
};
} // namespace kestrune::host::aax
