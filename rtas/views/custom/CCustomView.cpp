#include "views/custom/CCustomView.h"

#include <initializer_list>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/custom/ColourSets.h"
#include "views/custom/SharedBackPatterns.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"

using ViewGeometry::Saturate;

namespace
{
struct SPenPoint
{
    int32_t h;
    int32_t v;
};

void Polyline (const HostToolboxRoutines& toolbox, std::initializer_list<SPenPoint> points)
{
    bool first = true;
    for (const SPenPoint& point : points)
    {
        if (first)
            toolbox.MoveTo (Saturate (point.h), Saturate (point.v));
        else
            toolbox.LineTo (Saturate (point.h), Saturate (point.v));
        first = false;
    }
}
} // namespace

CCustomView::CCustomView()
{
    UseSharedBackPatterns();
}

CCustomView::~CCustomView()
{
    if (fUsesSharedPatterns)
        ReleaseSharedBackPatterns();
}

void CCustomView::UseSharedBackPatterns()
{
    if (! fUsesSharedPatterns)
        fUsesSharedPatterns = AcquireSharedBackPatterns (*this);
}

void CCustomView::ReadDescription (CViewDescriptionReader& reader)
{
    const SDescriptionNode* node = reader.TakeAttributeList();
    if (node == nullptr || node->kind != kNodeFourCharCode)
        throw CDAEError (RTASError::kConditionFalse);
    SetID (NodeFourCharCode (*node));
    for (node = node->next; node != nullptr; node = node->next)
    {
        if (node->kind == kNodeKeyword && node->value == ViewKeyword::kPlate)
            fFramed = 1;
        else if (node->kind == kNodeKeyword && node->value == ViewKeyword::kInversePlate)
        {
            fFramed = 1;
            fInverse = 1;
        }
        else if (node->kind == kNodeInteger && IsValidColourSet (node->value))
            fColourSet = static_cast<int16_t> (node->value);
        else
            throw CDAEError (RTASError::kConditionFalse);
    }
    UseSharedBackPatterns();
}

void CCustomView::SetStyle (bool framed, int16_t colourSet, uint16_t styleBits)
{
    if (! IsValidColourSet (colourSet))
        throw CDAEError (RTASError::kConditionFalse);
    fFramed = framed ? 1 : 0;
    fColourSet = colourSet;
    fStyleBits = styleBits;
    if (GetWindow() != nullptr)
    {
        const Rect frame = GetRect();
        Invalidate (&frame);
    }
}

int16_t CCustomView::GetDrawState() const
{
    if (GetHilite() != 0)
        return 1;
    if (! IsHighlighted())
        return fColourSet;
    return ColourSetOfHighlight (GetHighlightColour()).value_or (fColourSet);
}

void CCustomView::DrawFrame (const Rect& frame)
{
    const ColourSet& colours = GetColourSet (GetDrawState());
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour foreColour (ScopedPortColour::Which::fore);
    const int32_t L = frame.left;
    const int32_t T = frame.top;
    const int32_t R = frame.right;
    const int32_t B = frame.bottom;
    const bool inverse = IsInverse();
    const auto use = [&] (int colour, int inverseColour) { toolbox.RGBForeColor (&colours[size_t (inverse ? inverseColour : colour)]); };

    use (2, 2);
    const Rect face = inverse ? Rect { Saturate (T + 3), Saturate (L + 3), Saturate (B - 2), Saturate (R - 2) }
                              : Rect { Saturate (T + 2), Saturate (L + 2), Saturate (B - 3), Saturate (R - 3) };
    toolbox.PaintRect (&face);

    use (0, 5);
    Polyline (toolbox, { { L, B - 2 }, { L, T }, { R - 2, T } });
    if ((fStyleBits & kStyleRidgesAcross) != 0)
        DrawGripRidges (frame, 0);
    if ((fStyleBits & kStyleRidgesDown) != 0)
        DrawGripRidges (frame, 2);

    use (1, 4);
    Polyline (toolbox, { { L + 1, B - 3 }, { L + 1, T + 1 }, { R - 3, T + 1 } });

    use (3, 3);
    if (inverse)
        Polyline (toolbox, { { L, B - 1 }, { L + 2, B - 3 }, { L + 2, T + 2 }, { R - 3, T + 2 }, { R - 1, T } });
    else
        Polyline (toolbox, { { L, B - 1 }, { L + 2, B - 3 }, { R - 3, B - 3 }, { R - 3, T + 2 }, { R - 1, T } });
    if ((fStyleBits & kStyleRidgesAcross) != 0)
        DrawGripRidges (frame, 1);
    if ((fStyleBits & kStyleRidgesDown) != 0)
        DrawGripRidges (frame, 3);

    use (4, 1);
    Polyline (toolbox, { { L + 2, B - 2 }, { R - 2, B - 2 }, { R - 2, T + 2 } });

    use (5, 0);
    Polyline (toolbox, { { L + 1, B - 1 }, { R - 1, B - 1 }, { R - 1, T + 1 } });
}

// Ridges on the frame inset by 3, one every third pixel row (kinds 0 and 1, running across the
// width) or column (kinds 2 and 3, running down the height). Each ridge is two one-pixel strokes:
// its light edge and end (kinds 0 and 2) or its dark edge and end (kinds 1 and 3).
void CCustomView::DrawGripRidges (const Rect& frame, int kind) const
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    const Rect area = ViewGeometry::Inset (frame, 3, 3);
    const int32_t width = area.right - area.left;
    const int32_t height = area.bottom - area.top;
    if (width < 2 || height < 2)
        return;
    const bool across = kind == 0 || kind == 1;
    const int32_t count = across ? height / 3 : width / 3;
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t h = across ? area.left : area.left + 3 * i;
        const int32_t v = across ? area.top + 3 * i : area.top;
        switch (kind)
        {
            case 0:
                toolbox.MoveTo (Saturate (h), Saturate (v + 1));
                toolbox.Line (0, -1);
                toolbox.Line (Saturate (width - 2), 0);
                break;
            case 1:
                toolbox.MoveTo (Saturate (h + 1), Saturate (v + 1));
                toolbox.Line (Saturate (width - 2), 0);
                toolbox.Line (0, -1);
                break;
            case 2:
                toolbox.MoveTo (Saturate (h + 1), Saturate (v));
                toolbox.Line (-1, 0);
                toolbox.Line (0, Saturate (height - 2));
                break;
            default:
                toolbox.MoveTo (Saturate (h + 1), Saturate (v + 1));
                toolbox.Line (0, Saturate (height - 2));
                toolbox.Line (-1, 0);
                break;
        }
    }
}

void CCustomView::SetWindow (WindowRef window)
{
    BuildShadesOnce (GetBackColor());
    CPlugInView::SetWindow (window);
}

RGBColor CCustomView::GetBackColor() const
{
    if (IsFramed())
        return GetColourSet (GetDrawState())[2];
    return CPlugInView::GetBackColor();
}

PixPatHandle CCustomView::GetBackPattern() const
{
    if (IsFramed())
        return GetSharedBackPattern (fColourSet != 0 ? kColouredBackPatternID : kPlainBackPatternID);
    return CPlugInView::GetBackPattern();
}

void CCustomView::DrawBackground (const Rect& area)
{
    if (IsFramed())
    {
        DrawFrame (GetRect());
        return;
    }
    CPlugInView::DrawBackground (ViewGeometry::Intersection (area, GetRect()));
}
