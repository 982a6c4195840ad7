// The stand-in toolbox's routines for ports, regions, rectangles and drawing.

#include "HostExtToolbox.h"

#include <cmath>
#include <numbers>
#include <string_view>

using kestrune::host::rtas::addressOf;
using kestrune::host::rtas::argumentsOf;
using kestrune::host::rtas::Box;
using kestrune::host::rtas::boxOf;
using kestrune::host::rtas::Graphics;
using kestrune::host::rtas::HostExtToolbox;
using kestrune::host::rtas::Port;
using kestrune::host::rtas::recordedCall;
using kestrune::host::rtas::rectOf;
using kestrune::host::rtas::Region;
using kestrune::host::rtas::toolbox;
using kestrune::host::rtas::withToolbox;

namespace
{

std::vector<int64_t> operator+ (std::vector<int64_t> first, const std::vector<int64_t>& second)
{
    first.insert (first.end(), second.begin(), second.end());
    return first;
}

// Records the call, then runs it on the toolbox's drawing under the lock.
template <typename Operation>
auto draw (const char* role, std::vector<int64_t> arguments, Operation operation, std::string text = {})
{
    return recordedCall (
        role, std::move (arguments), [&] (HostExtToolbox& t) { return operation (t.graphics()); }, std::move (text));
}

// Runs a change of the current port's state; nothing without a current port.
template <typename Change>
void changePort (const char* role, std::vector<int64_t> arguments, Change change)
{
    draw (role, std::move (arguments), [&] (Graphics& g) {
        if (Port* port = g.currentPort())
            change (g, *port);
    });
}

template <typename Operation>
void withRegions (const char* role, std::initializer_list<RgnHandle> handles, Operation operation)
{
    std::vector<int64_t> arguments;
    for (RgnHandle handle : handles)
        arguments.push_back (addressOf (handle));
    draw (role, arguments, [&] (Graphics& g) {
        std::vector<Region*> regions;
        for (RgnHandle handle : handles)
            if (Region* region = g.region (handle))
                regions.push_back (region);
        if (regions.size() == handles.size())
            operation (regions);
    });
}

void combineRegions (const char* role, RgnHandle a, RgnHandle b, RgnHandle result, Region::Operation operation)
{
    withRegions (role, { a, b, result }, [&] (const std::vector<Region*>& r) { *r[2] = Region::combine (*r[0], *r[1], operation); });
}

void shape (const char* role, const Rect* rect, Graphics::Shape shape, Graphics::Action action)
{
    draw (role, argumentsOf (rect), [&] (Graphics& g) {
        if (rect != nullptr)
            g.shape (shape, action, *rect);
    });
}

std::optional<RGBColor> colourOf (int32_t colour)
{
    switch (colour)
    {
        case blackColor: return RGBColor { 0, 0, 0 };
        case whiteColor: return RGBColor { 0xFFFF, 0xFFFF, 0xFFFF };
        case redColor: return RGBColor { 0xFFFF, 0, 0 };
        case greenColor: return RGBColor { 0, 0xFFFF, 0 };
        case blueColor: return RGBColor { 0, 0, 0xFFFF };
        case cyanColor: return RGBColor { 0, 0xFFFF, 0xFFFF };
        case magentaColor: return RGBColor { 0xFFFF, 0, 0xFFFF };
        case yellowColor: return RGBColor { 0xFFFF, 0xFFFF, 0 };
        default: return std::nullopt;
    }
}

void setColour (const char* role, int32_t colour, bool foreground)
{
    const auto rgb = colourOf (colour);
    if (! rgb)
        toolbox().script().record ("UnknownColour", { colour });
    changePort (role, { colour }, [&] (Graphics&, Port& port) {
        if (foreground)
            port.fore = rgb.value_or (RGBColor { 0, 0, 0 });
        else
            port.back = rgb.value_or (RGBColor { 0xFFFF, 0xFFFF, 0xFFFF });
    });
}

void setRGB (const char* role, const RGBColor* colour, RGBColor Port::*field)
{
    const auto arguments = colour != nullptr ? std::vector<int64_t> { colour->red, colour->green, colour->blue } : std::vector<int64_t> { 0 };
    changePort (role, arguments, [&] (Graphics&, Port& port) {
        if (colour != nullptr)
            port.*field = *colour;
    });
}

template <typename Field>
int16_t portText (const char* role, GrafPtr grafPort, Field field)
{
    return draw (role, { addressOf (grafPort) }, [&] (Graphics& g) -> int16_t {
        const Port* port = g.port (grafPort);
        return port != nullptr ? port->*field : 0;
    });
}

std::string_view charactersOf (const void* text, int16_t first, int16_t count)
{
    if (text == nullptr || first < 0 || count <= 0)
        return {};
    return std::string_view (static_cast<const char*> (text) + first, size_t (count));
}

template <typename Operation>
void withBlock (const char* role, Handle block, const char* kind, const Rect* rect, Operation operation)
{
    toolbox().script().record (role, std::vector<int64_t> { addressOf (block) } + argumentsOf (rect));
    withToolbox ([&] (HostExtToolbox& t) {
        const auto size = t.heap().size (block);
        if (! size)
            t.graphics().reportInvalid (block, kind);
        else if (rect != nullptr)
            operation (t.graphics(), reinterpret_cast<const uint8_t*> (*block), size_t (*size), *rect);
    });
}

} // namespace

// Ports.

void HostExt_GetPort (GrafPtr* port)
{
    draw ("GetPort", { addressOf (port) }, [&] (Graphics& g) {
        if (port != nullptr)
            *port = g.current();
    });
}

void HostExt_SetPort (GrafPtr port)
{
    draw ("SetPort", { addressOf (port) }, [&] (Graphics& g) { g.setCurrent (port); });
}

void HostExt_GetPortBounds (GrafPtr grafPort, Rect* bounds)
{
    draw ("GetPortBounds", { addressOf (grafPort) }, [&] (Graphics& g) {
        const Port* port = g.port (grafPort);
        if (port != nullptr && bounds != nullptr)
            *bounds = rectOf (port->localBounds());
    });
}

uint32_t HostExt_GetNativeWindow (WindowRef window)
{
    return draw ("GetNativeWindow", { addressOf (window) }, [&] (Graphics& g) -> uint32_t {
        const Port* port = g.port (window);
        return port != nullptr ? port->nativeWindow : 0;
    });
}

void HostExt_SetOrigin (int16_t h, int16_t v)
{
    draw ("SetOrigin", { h, v }, [&] (Graphics& g) { g.setOrigin (h, v); });
}

void HostExt_GetClip (RgnHandle region)
{
    draw ("GetClip", { addressOf (region) }, [&] (Graphics& g) {
        Region* result = g.region (region);
        if (const Port* port = g.currentPort(); port != nullptr && result != nullptr)
            *result = port->clip;
    });
}

void HostExt_SetClip (RgnHandle region)
{
    draw ("SetClip", { addressOf (region) }, [&] (Graphics& g) {
        const Region* source = g.region (region);
        if (Port* port = g.currentPort(); port != nullptr && source != nullptr)
            port->clip = *source;
    });
}

void HostExt_ClipRect (const Rect* rect)
{
    changePort ("ClipRect", argumentsOf (rect), [&] (Graphics&, Port& port) {
        if (rect != nullptr)
            port.clip = Region (boxOf (*rect));
    });
}

// Regions.

RgnHandle HostExt_NewRgn()
{
    toolbox().script().record ("NewRgn");
    return withToolbox ([] (HostExtToolbox& t) { return t.failsNow ("NewRgn") ? nullptr : t.graphics().newRegion(); });
}

void HostExt_DisposeRgn (RgnHandle region)
{
    draw ("DisposeRgn", { addressOf (region) }, [&] (Graphics& g) { g.disposeRegion (region); });
}

void HostExt_RectRgn (RgnHandle region, const Rect* rect)
{
    withRegions ("RectRgn", { region }, [&] (const std::vector<Region*>& r) { *r[0] = rect != nullptr ? Region (boxOf (*rect)) : Region(); });
}

void HostExt_DiffRgn (RgnHandle a, RgnHandle b, RgnHandle result)
{
    combineRegions ("DiffRgn", a, b, result, Region::Operation::subtract);
}

void HostExt_UnionRgn (RgnHandle a, RgnHandle b, RgnHandle result)
{
    combineRegions ("UnionRgn", a, b, result, Region::Operation::unite);
}

void HostExt_SectRgn (RgnHandle a, RgnHandle b, RgnHandle result)
{
    combineRegions ("SectRgn", a, b, result, Region::Operation::intersect);
}

void HostExt_GetRegionBounds (RgnHandle region, Rect* bounds)
{
    withRegions ("GetRegionBounds", { region }, [&] (const std::vector<Region*>& r) {
        if (bounds != nullptr)
            *bounds = rectOf (r[0]->bounds());
    });
}

// Rectangles.

void HostExt_SetRect (Rect* rect, int16_t left, int16_t top, int16_t right, int16_t bottom)
{
    toolbox().script().record ("SetRect", { top, left, bottom, right });
    if (rect != nullptr)
        *rect = { top, left, bottom, right };
}

uint8_t HostExt_SectRect (const Rect* a, const Rect* b, Rect* result)
{
    toolbox().script().record ("SectRect", argumentsOf (a) + argumentsOf (b));
    if (a == nullptr || b == nullptr)
        return 0;
    const Box common = boxOf (*a).intersection (boxOf (*b));
    if (result != nullptr)
        *result = rectOf (common);
    return common.empty() ? 0 : 1;
}

void HostExt_UnionRect (const Rect* a, const Rect* b, Rect* result)
{
    toolbox().script().record ("UnionRect", argumentsOf (a) + argumentsOf (b));
    if (a == nullptr || b == nullptr || result == nullptr)
        return;
    *result = { std::min (a->top, b->top), std::min (a->left, b->left), std::max (a->bottom, b->bottom), std::max (a->right, b->right) };
}

void HostExt_InsetRect (Rect* rect, int16_t dh, int16_t dv)
{
    toolbox().script().record ("InsetRect", argumentsOf (rect) + std::vector<int64_t> { dh, dv });
    if (rect == nullptr)
        return;
    const Box inset = boxOf (*rect).inset (dh, dv);
    *rect = inset.empty() ? Rect {} : rectOf (inset);
}

uint8_t HostExt_PtInRect (Point point, const Rect* rect)
{
    toolbox().script().record ("PtInRect", std::vector<int64_t> { point.v, point.h } + argumentsOf (rect));
    return rect != nullptr && boxOf (*rect).contains (point.h, point.v) ? 1 : 0;
}

void HostExt_EraseRect (const Rect* rect)
{
    shape ("EraseRect", rect, Graphics::Shape::rectangle, Graphics::Action::erase);
}

void HostExt_PaintRect (const Rect* rect)
{
    shape ("PaintRect", rect, Graphics::Shape::rectangle, Graphics::Action::paint);
}

void HostExt_FrameRect (const Rect* rect)
{
    shape ("FrameRect", rect, Graphics::Shape::rectangle, Graphics::Action::frame);
}

void HostExt_EraseOval (const Rect* rect)
{
    shape ("EraseOval", rect, Graphics::Shape::oval, Graphics::Action::erase);
}

void HostExt_PaintOval (const Rect* rect)
{
    shape ("PaintOval", rect, Graphics::Shape::oval, Graphics::Action::paint);
}

void HostExt_FrameOval (const Rect* rect)
{
    shape ("FrameOval", rect, Graphics::Shape::oval, Graphics::Action::frame);
}

// Coordinates, updates and scrolling.

void HostExt_LocalToGlobal (Point* point)
{
    draw ("LocalToGlobal", { addressOf (point) }, [&] (Graphics& g) {
        if (point != nullptr)
            *point = g.localToGlobal (*point);
    });
}

void HostExt_GlobalToLocal (Point* point)
{
    draw ("GlobalToLocal", { addressOf (point) }, [&] (Graphics& g) {
        if (point != nullptr)
            *point = g.globalToLocal (*point);
    });
}

void HostExt_InvalWindowRect (WindowRef window, const Rect* rect)
{
    draw ("InvalWindowRect", std::vector<int64_t> { addressOf (window) } + argumentsOf (rect), [&] (Graphics& g) {
        if (rect != nullptr)
            g.invalidate (window, *rect);
    });
}

void HostExt_ScrollRect (const Rect* rect, int16_t dh, int16_t dv, RgnHandle uncovered)
{
    draw ("ScrollRect", argumentsOf (rect) + std::vector<int64_t> { dh, dv, addressOf (uncovered) }, [&] (Graphics& g) {
        if (rect != nullptr)
            g.scroll (*rect, dh, dv, uncovered);
    });
}

// Clockwise from straight up, in whole degrees (0-359), as if the rectangle were a square: its
// top-right corner is at 45 degrees whatever its shape.
void HostExt_PtToAngle (const Rect* rect, Point point, int16_t* angle)
{
    toolbox().script().record ("PtToAngle", argumentsOf (rect) + std::vector<int64_t> { point.v, point.h });
    if (rect == nullptr || angle == nullptr)
        return;
    const Box box = boxOf (*rect);
    const double dx = (point.h - (box.left + box.right) / 2.0) / std::max (std::abs (box.width()) / 2.0, 0.5);
    const double dy = (point.v - (box.top + box.bottom) / 2.0) / std::max (std::abs (box.height()) / 2.0, 0.5);
    if (dx == 0.0 && dy == 0.0)
    {
        *angle = 0;
        return;
    }
    double degrees = std::atan2 (dx, -dy) * 180.0 / std::numbers::pi;
    if (degrees < 0.0)
        degrees += 360.0;
    *angle = int16_t (std::lround (degrees) % 360);
}

// Colours and the pen.

void HostExt_RGBForeColor (const RGBColor* colour)
{
    setRGB ("RGBForeColor", colour, &Port::fore);
}

void HostExt_RGBBackColor (const RGBColor* colour)
{
    setRGB ("RGBBackColor", colour, &Port::back);
}

void HostExt_GetForeColor (RGBColor* colour)
{
    changePort ("GetForeColor", { addressOf (colour) }, [&] (Graphics&, Port& port) {
        if (colour != nullptr)
            *colour = port.fore;
    });
}

void HostExt_GetBackColor (RGBColor* colour)
{
    changePort ("GetBackColor", { addressOf (colour) }, [&] (Graphics&, Port& port) {
        if (colour != nullptr)
            *colour = port.back;
    });
}

void HostExt_ForeColor (int32_t colour)
{
    setColour ("ForeColor", colour, true);
}

void HostExt_BackColor (int32_t colour)
{
    setColour ("BackColor", colour, false);
}

void HostExt_PenNormal()
{
    changePort ("PenNormal", {}, [] (Graphics&, Port& port) {
        port.pen.size = { 1, 1 };
        port.pen.mode = patCopy;
    });
}

void HostExt_PenSize (int16_t width, int16_t height)
{
    changePort ("PenSize", { width, height }, [&] (Graphics&, Port& port) { port.pen.size = { height, width }; });
}

void HostExt_PenMode (int16_t mode)
{
    changePort ("PenMode", { mode }, [&] (Graphics& g, Port& port) {
        g.checkMode (mode);
        port.pen.mode = mode;
    });
}

void HostExt_GetPenState (PenState* pen)
{
    changePort ("GetPenState", { addressOf (pen) }, [&] (Graphics&, Port& port) {
        if (pen != nullptr)
            *pen = port.pen;
    });
}

void HostExt_SetPenState (const PenState* pen)
{
    changePort ("SetPenState", { addressOf (pen) }, [&] (Graphics& g, Port& port) {
        if (pen == nullptr)
            return;
        g.checkMode (pen->mode);
        port.pen = *pen;
    });
}

void HostExt_MoveTo (int16_t h, int16_t v)
{
    changePort ("MoveTo", { h, v }, [&] (Graphics&, Port& port) { port.pen.location = { v, h }; });
}

void HostExt_Move (int16_t dh, int16_t dv)
{
    changePort ("Move", { dh, dv }, [&] (Graphics&, Port& port) {
        port.pen.location = { int16_t (port.pen.location.v + dv), int16_t (port.pen.location.h + dh) };
    });
}

void HostExt_LineTo (int16_t h, int16_t v)
{
    draw ("LineTo", { h, v }, [&] (Graphics& g) { g.lineTo (h, v); });
}

void HostExt_Line (int16_t dh, int16_t dv)
{
    changePort ("Line", { dh, dv }, [&] (Graphics& g, Port& port) {
        g.lineTo (int16_t (port.pen.location.h + dh), int16_t (port.pen.location.v + dv));
    });
}

// Text.

void HostExt_TextFont (int16_t font)
{
    changePort ("TextFont", { font }, [&] (Graphics&, Port& port) { port.textFont = font; });
}

void HostExt_TextSize (int16_t size)
{
    changePort ("TextSize", { size }, [&] (Graphics&, Port& port) { port.textSize = size; });
}

void HostExt_TextFace (int16_t face)
{
    changePort ("TextFace", { face }, [&] (Graphics&, Port& port) { port.textFace = face; });
}

void HostExt_TextMode (int16_t mode)
{
    changePort ("TextMode", { mode }, [&] (Graphics& g, Port& port) {
        g.checkMode (mode);
        port.textMode = mode;
    });
}

int16_t HostExt_GetPortTextFont (GrafPtr port)
{
    return portText ("GetPortTextFont", port, &Port::textFont);
}

int16_t HostExt_GetPortTextSize (GrafPtr port)
{
    return portText ("GetPortTextSize", port, &Port::textSize);
}

int16_t HostExt_GetPortTextFace (GrafPtr port)
{
    return portText ("GetPortTextFace", port, &Port::textFace);
}

int16_t HostExt_GetPortTextMode (GrafPtr port)
{
    return portText ("GetPortTextMode", port, &Port::textMode);
}

void HostExt_GetFontInfo (FontInfo* info)
{
    draw ("GetFontInfo", { addressOf (info) }, [&] (Graphics& g) {
        if (info == nullptr)
            return;
        const auto font = g.currentFont();
        *info = { int16_t (font.ascent), int16_t (font.descent), int16_t (font.advance), int16_t (font.leading) };
    });
}

int16_t HostExt_TextWidth (const void* text, int16_t first, int16_t count)
{
    const auto characters = charactersOf (text, first, count);
    return draw (
        "TextWidth", { first, count }, [&] (Graphics& g) { return int16_t (g.currentFont().width (characters.size())); },
        std::string (characters));
}

void HostExt_DrawText (const void* text, int16_t first, int16_t count)
{
    const auto characters = charactersOf (text, first, count);
    draw (
        "DrawText", { first, count }, [&] (Graphics& g) { g.drawText (characters); }, std::string (characters));
}

void HostExt_DrawString (ConstStr255Param text)
{
    const std::string characters = kestrune::host::rtas::textOf (text);
    draw (
        "DrawString", {}, [&] (Graphics& g) { g.drawText (characters); }, characters);
}

void HostExt_TETextBox (const void* text, int32_t length, const Rect* box, int16_t just)
{
    const std::string_view characters = text != nullptr && length > 0 ? std::string_view (static_cast<const char*> (text), size_t (length))
                                                                      : std::string_view();
    draw (
        "TETextBox", argumentsOf (box) + std::vector<int64_t> { just }, [&] (Graphics& g) {
            if (box != nullptr)
                g.textBox (characters, *box, just);
        },
        std::string (characters));
}

// Patterns, pictures, icons and pixels.

PixPatHandle HostExt_GetPixPat (int16_t id)
{
    toolbox().script().record ("GetPixPat", { id });
    return withToolbox ([&] (HostExtToolbox& t) -> PixPatHandle {
        if (t.failsNow ("GetPixPat"))
            return nullptr;
        const auto bytes = t.resourceBytes (kestrune::rtas::abi::fourCC ("ppat"), id);
        if (! bytes)
            return nullptr;
        auto pattern = kestrune::host::rtas::parsePixelPattern (bytes->data(), bytes->size());
        if (! pattern)
        {
            t.resources().setError (mapReadErr);
            return nullptr;
        }
        return t.graphics().addPattern (std::move (*pattern));
    });
}

void HostExt_DisposePixPat (PixPatHandle pattern)
{
    draw ("DisposePixPat", { addressOf (pattern) }, [&] (Graphics& g) { g.disposePattern (pattern); });
}

void HostExt_BackPixPat (PixPatHandle pattern)
{
    changePort ("BackPixPat", { addressOf (pattern) }, [&] (Graphics& g, Port& port) {
        if (pattern == nullptr || g.pattern (pattern) != nullptr)
            port.backPattern = pattern;
    });
}

PixPatHandle HostExt_GetBackPixPat()
{
    return draw ("GetBackPixPat", {}, [] (Graphics& g) -> PixPatHandle {
        const Port* port = g.currentPort();
        return port != nullptr ? port->backPattern : nullptr;
    });
}

void HostExt_DrawPicture (Handle picture, const Rect* frame)
{
    withBlock ("DrawPicture", picture, "picture", frame, [] (Graphics& g, const uint8_t* data, size_t size, const Rect& rect) {
        g.drawPicture (data, size, rect);
    });
}

void HostExt_PlotIcon (const Rect* frame, Handle icon)
{
    withBlock ("PlotIcon", icon, "icon", frame, [] (Graphics& g, const uint8_t* data, size_t size, const Rect& rect) {
        g.plotIcon (data, size, rect);
    });
}

void HostExt_CopyARGBPixels (const uint32_t* pixels, int32_t width, int32_t height, int32_t rowBytes, const Rect* destination)
{
    draw ("CopyARGBPixels", std::vector<int64_t> { addressOf (pixels), width, height, rowBytes } + argumentsOf (destination),
          [&] (Graphics& g) {
              if (destination != nullptr)
                  g.copyPixels (pixels, width, height, rowBytes, *destination);
          });
}
