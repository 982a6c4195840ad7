#include "views/editors/CDialControlEditor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/KeyMap.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/custom/ColourSets.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"

using namespace ViewGeometry;

namespace
{
inline constexpr double kPi = 3.1415926538;
inline constexpr double kQuarterTurn = 1.5707963269;
// Without "cyclical" the pointer sweeps 0.8 of half a turn each way (144 degrees).
inline constexpr double kSweep = 0.8;
inline constexpr int16_t kPointerInset = 8;
inline constexpr int16_t kFaceInset = 4;
inline constexpr RGBColor kDarkBlueFrame { 0x0000, 0x0000, 0xAAAA };

int16_t Truncated (double coordinate)
{
    return Saturate (static_cast<int32_t> (std::clamp (coordinate, -32768.0, 32767.0)));
}

void DrawLine (const RGBColor& colour, Point from, Point to)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPenState pen;
    ScopedPortColour foreColour (ScopedPortColour::Which::fore);
    toolbox.PenSize (1, 1);
    toolbox.RGBForeColor (&colour);
    toolbox.MoveTo (from.h, from.v);
    toolbox.LineTo (to.h, to.v);
}
} // namespace

// ---- The pointer ----

void CDialControlEditor::PointerFor (int32_t value, Point* inner, Point* outer) const
{
    double angle = value / 2147483647.0 * kPi;
    if (! fCyclical)
        angle *= kSweep;
    if (fReversed)
        angle = -angle;
    angle -= kQuarterTurn;
    const Rect dial = Inset (GetRect(), kPointerInset, kPointerInset);
    const int32_t radiusH = (dial.right - dial.left) / 2;
    const int32_t radiusV = (dial.bottom - dial.top) / 2;
    const int32_t centreH = (dial.left + dial.right) / 2;
    const int32_t centreV = (dial.top + dial.bottom) / 2;
    const double cosine = std::cos (angle);
    const double sine = std::sin (angle);
    if (outer != nullptr)
        *outer = { Truncated (centreV + radiusV * sine), Truncated (centreH + radiusH * cosine) };
    if (inner != nullptr)
        *inner = { Truncated (centreV + 0.25 * radiusV * sine), Truncated (centreH + 0.25 * radiusH * cosine) };
}

bool CDialControlEditor::UpdatePointer (Point* oldInner, Point* oldOuter)
{
    Point inner {};
    Point outer {};
    PointerFor (GetValue(), &inner, &outer);
    *oldInner = fPointerInner;
    *oldOuter = fPointerOuter;
    fPointerInner = inner;
    fPointerOuter = outer;
    return ! SamePoint (inner, *oldInner) || ! SamePoint (outer, *oldOuter);
}

void CDialControlEditor::ValueChanged()
{
    Point oldInner {};
    Point oldOuter {};
    if (! UpdatePointer (&oldInner, &oldOuter) || GetWindow() == nullptr)
        return;
    ScopedViewDrawing drawing (*this, nullptr);
    ErasePointer (oldInner, oldOuter);
    DrawPointer (fPointerInner, fPointerOuter);
}

void CDialControlEditor::ValueChangedQuiet()
{
    Point oldInner {};
    Point oldOuter {};
    if (UpdatePointer (&oldInner, &oldOuter))
        InvalidateFrame();
}

Point CDialControlEditor::GetAnchorPoint() const
{
    return fPointerOuter;
}

void CDialControlEditor::Offset (int16_t dh, int16_t dv)
{
    CControlEditor::Offset (dh, dv);
    for (Point* point : { &fPointerInner, &fPointerOuter })
        *point = { Saturate (point->v + dv), Saturate (point->h + dh) };
}

// ---- Drawing ----

RGBColor CDialControlEditor::GetForeColor() const
{
    if (IsHighlighted() && GetWindow() != nullptr)
    {
        const std::optional<int16_t> set = ColourSetOfHighlight (GetHighlightColour());
        return set ? GetColourSet (*set)[4] : CControlEditor::GetForeColor();
    }
    switch (GetDrawState())
    {
        case 1: return kHighlightColor;
        case 4: return kDarkBlueFrame;
        default: return CControlEditor::GetForeColor();
    }
}

void CDialControlEditor::ErasePointer (Point inner, Point outer)
{
    DrawLine (kDialFaceColour, inner, outer);
}

void CDialControlEditor::DrawPointer (Point inner, Point outer)
{
    DrawLine (GetForeColor(), inner, outer);
}

void CDialControlEditor::DrawContents (const Rect& area)
{
    DrawBackground (area);
    Point oldInner {};
    Point oldOuter {};
    UpdatePointer (&oldInner, &oldOuter);

    const HostToolboxRoutines& toolbox = HostToolbox();
    const Rect face = Inset (GetRect(), kFaceInset, kFaceInset);
    {
        ScopedPenState pen;
        ScopedPortColour foreColour (ScopedPortColour::Which::fore);
        toolbox.RGBForeColor (&kDialFaceColour);
        toolbox.PaintOval (&face);
        const RGBColor frame = GetForeColor();
        toolbox.PenSize (2, 2);
        toolbox.RGBForeColor (&frame);
        toolbox.FrameOval (&face);
    }
    DrawPointer (fPointerInner, fPointerOuter);
}

// ---- Tracking ----

int32_t CDialControlEditor::AngularValue (Point mouse, int32_t current) const
{
    const Rect dial = GetRect();
    int16_t toolboxAngle = 0;
    HostToolbox().PtToAngle (&dial, mouse, &toolboxAngle);
    int32_t angle = toolboxAngle > 180 ? toolboxAngle - 360 : toolboxAngle;
    if (fReversed)
        angle = -angle;
    if (! fCyclical)
        angle = angle * 10 / 8;
    angle = std::clamp (angle, -180, 180);
    const int32_t upper = angle == 180 ? 0x7FFF : angle * 65536 / 360;
    if (upper == current >> 16)
        return current;
    uint32_t value = static_cast<uint32_t> (upper) << 16;
    if (upper > 0)
        value += static_cast<uint32_t> (2 * upper) & 0xFFFF;
    return static_cast<int32_t> (value);
}

int32_t CDialControlEditor::LinearValue (Point mouse, Point last, int32_t current) const
{
    int32_t dh = mouse.h - last.h;
    int32_t dv = last.v - mouse.v;
    if ((dh > 0 && dv < 0) || (dh < 0 && dv > 0))
    {
        if (std::abs (dh) <= std::abs (dv))
            dh = 0;
        else
            dv = 0;
    }
    const int64_t step = int64_t (kDialPixelStep) * (IsKeyDown (kDialFineKeyCode) ? kDialFineFactor : kDialCoarseFactor);
    const int64_t value = current + int64_t (dh + dv) * step;
    return static_cast<int32_t> (std::clamp<int64_t> (value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void CDialControlEditor::TrackMouse (const EventRecord& event, bool synthetic)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    Point last = event.where;
    if (! synthetic)
        last.h = Saturate (last.h - 1);
    int32_t current = GetValue();
    ScopedHiliteOff hiliteOff (*this);
    SetHilite (1);
    while (toolbox.StillDown() != 0)
    {
        Point mouse {};
        toolbox.GetMouse (&mouse);
        if (synthetic && Contains (GetRect(), mouse) && ! Contains (GetVisibleRect(), mouse))
            break;
        RunIdleService();
        if (SamePoint (mouse, last))
            continue;
        current = fAngularTracking ? AngularValue (mouse, current) : LinearValue (mouse, last, current);
        last = mouse;
        SetValue (current);
    }
}

void CDialControlEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CControlEditor::ReadDescription (reader);
    for (const SDescriptionNode* node = TakeOptionalList (reader); node != nullptr; node = node->next)
    {
        if (node->kind == kNodeKeyword && node->value == ViewKeyword::kReverse)
            fReversed = true;
        else if (node->kind == kNodeKeyword && node->value == ViewKeyword::kCyclical)
            fCyclical = true;
        else
            throw CDAEError (RTASError::kConditionFalse);
    }
}
