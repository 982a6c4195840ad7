#pragma once
// The stand-in toolbox's controls: push buttons, check boxes, radio buttons (and any other kind,
// drawn and tracked as a push button), each a ControlRecord in a block of the heap, drawn in
// black and white into its window and tracked under the scripted mouse.

#include "Graphics.h"
#include "HandleHeap.h"
#include "MouseScript.h"

#include <string>

namespace kestrune::host::rtas
{

class Controls
{
public:
    Controls (HandleHeap& heap, Graphics& graphics, MouseScript& mouse) : heap_ (heap), graphics_ (graphics), mouse_ (mouse) {}

    // Null when the window is unknown or the heap has no room.
    ControlHandle create (WindowRef window, const Rect& bounds, const std::string& title, bool visible, int16_t value,
                          int16_t minimum, int16_t maximum, int16_t kind, int32_t reference);
    // From the bytes of a control template (ControlTemplate, then the title); null when they do
    // not hold one.
    ControlHandle createFromTemplate (const uint8_t* data, size_t size, WindowRef window);

    // Each of these ignores (and records) a control it does not know.
    void dispose (ControlHandle control);
    void show (ControlHandle control);
    void draw (ControlHandle control);
    void move (ControlHandle control, int16_t h, int16_t v);
    void bounds (ControlHandle control, Rect* bounds);
    // Follows the mouse until the button is up, hiliting the control while the mouse is inside;
    // the part code when the button went up inside, else 0.
    int16_t track (ControlHandle control, Point start, ControlActionProc action);
    // Follows the mouse until the button is up, for a scripted result.
    void followMouseUntilUp();

    bool owns (Handle block) const;
    void disposeAllOf (WindowRef window);
    size_t count() const { return controls_.size(); }
    void clear() { controls_.clear(); }

private:
    bool known (ControlHandle control);
    void paint (ControlRecord& control);
    void erase (ControlRecord& control);
    bool inside (const ControlRecord& control, Point local) const;
    Point localMouse (const ControlRecord& control);

    HandleHeap& heap_;
    Graphics& graphics_;
    MouseScript& mouse_;
    std::vector<ControlHandle> controls_;
};

} // namespace kestrune::host::rtas
