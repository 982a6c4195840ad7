#include "Controls.h"

#include "PascalText.h"

#include <algorithm>
#include <cstring>

namespace kestrune::host::rtas
{

namespace
{

    constexpr int16_t kTitleSize = 12;
    constexpr int32_t kMarkSide = 12;
    constexpr RGBColor kBlack { 0, 0, 0 };
    constexpr RGBColor kWhite { 0xFFFF, 0xFFFF, 0xFFFF };

    int16_t partOf (int16_t kind)
    {
        return kind == checkBoxProc || kind == radioButProc ? kControlCheckBoxPart : kControlButtonPart;
    }

    std::string titleOf (const ControlRecord& control)
    {
        return std::string (reinterpret_cast<const char*> (control.title + 1), control.title[0]);
    }

    // Draws with the control's own black and white, leaving the port's colours as they were.
    class ControlInk
    {
    public:
        explicit ControlInk (Port& port) : port_ (port), fore_ (port.fore), back_ (port.back)
        {
            port.fore = kBlack;
            port.back = kWhite;
        }
        ~ControlInk()
        {
            port_.fore = fore_;
            port_.back = back_;
        }
        ControlInk (const ControlInk&) = delete;
        ControlInk& operator= (const ControlInk&) = delete;

    private:
        Port& port_;
        RGBColor fore_;
        RGBColor back_;
    };

} // namespace

ControlHandle Controls::create (WindowRef window, const Rect& bounds, const std::string& title, bool visible, int16_t value,
                                int16_t minimum, int16_t maximum, int16_t kind, int32_t reference)
{
    if (graphics_.port (window) == nullptr)
        return nullptr;
    Handle block = heap_.allocate (sizeof (ControlRecord), true);
    if (block == nullptr)
        return nullptr;
    auto control = reinterpret_cast<ControlHandle> (block);
    ControlRecord& record = **control;
    record.reference = reference;
    record.kind = kind;
    record.bounds = bounds;
    record.value = value;
    record.minimum = minimum;
    record.maximum = maximum;
    record.owner = window;
    setPascal (record.title, title);
    controls_.push_back (control);
    if (visible)
        show (control);
    return control;
}

ControlHandle Controls::createFromTemplate (const uint8_t* data, size_t size, WindowRef window)
{
    ControlTemplate header {};
    if (data == nullptr || size < sizeof header)
        return nullptr;
    std::memcpy (&header, data, sizeof header);
    std::string title;
    if (size > sizeof header)
    {
        const size_t length = data[sizeof header];
        if (length > size - sizeof header - 1)
            return nullptr;
        title.assign (reinterpret_cast<const char*> (data + sizeof header + 1), length);
    }
    return create (window, header.bounds, title, header.visible != 0, header.value, header.minimum, header.maximum, header.kind,
                   header.reference);
}

bool Controls::known (ControlHandle control)
{
    return graphics_.recognises (owns (reinterpret_cast<Handle> (control)), control, "control");
}

bool Controls::owns (Handle block) const
{
    return std::find (controls_.begin(), controls_.end(), reinterpret_cast<ControlHandle> (block)) != controls_.end();
}

void Controls::erase (ControlRecord& control)
{
    if (Port* port = graphics_.port (control.owner))
    {
        graphics_.fill (*port, boxOf (control.bounds), srcCopy, false);
        graphics_.invalidate (control.owner, control.bounds);
    }
}

void Controls::paint (ControlRecord& control)
{
    Port* port = graphics_.port (control.owner);
    if (port == nullptr)
        return;
    control.state |= kControlStateDrawn;
    const ControlInk ink (*port);
    const Box box = boxOf (control.bounds);
    const Region limit (box);
    graphics_.fill (*port, box, srcCopy, false, &limit);

    const FontMetrics font = fontMetrics (kTitleSize, 0);
    const std::string title = titleOf (control);
    const int32_t baseline = box.top + (box.height() - font.ascent - font.descent) / 2 + font.ascent;
    const bool marked = control.kind == checkBoxProc || control.kind == radioButProc;
    const Box mark { box.left, (box.top + box.bottom) / 2 - kMarkSide / 2, box.left + kMarkSide, (box.top + box.bottom) / 2 + kMarkSide / 2 };
    const bool hilited = (control.state & kControlStateHilited) != 0;

    if (! marked)
    {
        const Region frame = Region::combine (Region (box), Region (box.inset (1, 1)), Region::Operation::subtract);
        graphics_.fill (*port, box, patCopy, true, &frame);
        const int32_t left = justifiedLeft (box.left, box.right, font.width (title.size()), teCenter);
        graphics_.drawRun (*port, left, baseline, title, font, srcOr, &limit);
        if (hilited)
        {
            const Region inner (box.inset (1, 1));
            graphics_.fill (*port, box, srcXor, true, &inner);
        }
        return;
    }

    const Region markArea = Region::combine (Region (mark), limit, Region::Operation::intersect);
    const Box inner = mark.inset (1, 1);
    if (control.kind == checkBoxProc)
    {
        const Region frame = Region::combine (Region::combine (Region (mark), Region (inner), Region::Operation::subtract), limit,
                                              Region::Operation::intersect);
        graphics_.fill (*port, mark, patCopy, true, &frame);
        if (control.value != 0)
            port->transfer (
                inner, patCopy,
                [&] (int32_t x, int32_t y) -> std::optional<bool> {
                    const int32_t column = x - inner.left;
                    const int32_t row = y - inner.top;
                    if (column == row || column == inner.height() - 1 - row)
                        return true;
                    return std::nullopt;
                },
                nullptr, &markArea);
    }
    else
    {
        port->transfer (
            mark, patCopy,
            [&] (int32_t x, int32_t y) -> std::optional<bool> {
                const bool ring = Graphics::insideOval (mark, x, y) && ! Graphics::insideOval (inner, x, y);
                const bool dot = control.value != 0 && Graphics::insideOval (mark.inset (3, 3), x, y);
                if (ring || dot)
                    return true;
                return std::nullopt;
            },
            nullptr, &markArea);
    }
    if (hilited)
    {
        const Region ring = Region::combine (Region::combine (Region (inner), Region (inner.inset (1, 1)), Region::Operation::subtract),
                                             limit, Region::Operation::intersect);
        graphics_.fill (*port, inner, srcXor, true, &ring);
    }
    graphics_.drawRun (*port, box.left + kMarkSide + 4, baseline, title, font, srcOr, &limit);
}

void Controls::dispose (ControlHandle control)
{
    if (! known (control))
        return;
    if ((*control)->visible != 0)
        erase (**control);
    controls_.erase (std::find (controls_.begin(), controls_.end(), control));
    heap_.dispose (reinterpret_cast<Handle> (control));
}

void Controls::disposeAllOf (WindowRef window)
{
    for (size_t i = controls_.size(); i-- > 0;)
        if ((*controls_[i])->owner == window)
        {
            heap_.dispose (reinterpret_cast<Handle> (controls_[i]));
            controls_.erase (controls_.begin() + std::ptrdiff_t (i));
        }
}

void Controls::show (ControlHandle control)
{
    if (! known (control))
        return;
    (*control)->visible = 1;
    paint (**control);
}

void Controls::draw (ControlHandle control)
{
    if (known (control) && (*control)->visible != 0)
        paint (**control);
}

void Controls::move (ControlHandle control, int16_t h, int16_t v)
{
    if (! known (control))
        return;
    ControlRecord& record = **control;
    if (record.visible != 0)
        erase (record);
    const int16_t width = int16_t (record.bounds.right - record.bounds.left);
    const int16_t height = int16_t (record.bounds.bottom - record.bounds.top);
    record.bounds = { v, h, int16_t (v + height), int16_t (h + width) };
    if (record.visible != 0)
        paint (record);
}

void Controls::bounds (ControlHandle control, Rect* bounds)
{
    if (known (control) && bounds != nullptr)
        *bounds = (*control)->bounds;
}

bool Controls::inside (const ControlRecord& control, Point local) const
{
    return boxOf (control.bounds).contains (local.h, local.v);
}

Point Controls::localMouse (const ControlRecord& control)
{
    const Port* port = graphics_.port (control.owner);
    return port != nullptr ? Graphics::toLocal (*port, mouse_.where()) : mouse_.where();
}

void Controls::followMouseUntilUp()
{
    while (mouse_.stillDown())
    {
    }
}

int16_t Controls::track (ControlHandle control, Point start, ControlActionProc action)
{
    if (! known (control))
        return 0;
    const int16_t part = partOf ((*control)->kind);
    const bool followsScript = mouse_.pending() > 0;
    const auto setHilite = [&] (bool hilited) {
        ControlRecord& record = **control;
        const uint8_t state = uint8_t ((record.state & ~kControlStateHilited) | (hilited ? kControlStateHilited : 0));
        if (state == record.state)
            return;
        record.state = state;
        if (record.visible != 0)
            paint (record);
    };

    (*control)->state |= kControlStateTracking;
    setHilite (inside (**control, start));
    while (mouse_.stillDown())
    {
        const bool in = inside (**control, localMouse (**control));
        setHilite (in);
        if (action == nullptr)
            continue;
        action (control, in ? part : 0);
        // The action procedure may have disposed of the control.
        if (! owns (reinterpret_cast<Handle> (control)))
        {
            followMouseUntilUp();
            return 0;
        }
    }
    const bool released = inside (**control, followsScript ? localMouse (**control) : start);
    setHilite (false);
    (*control)->state &= uint8_t (~kControlStateTracking);
    return released ? part : 0;
}

} // namespace kestrune::host::rtas
