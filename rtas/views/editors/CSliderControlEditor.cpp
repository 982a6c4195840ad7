#include "views/editors/CSliderControlEditor.h"

#include <cstdint>
#include <memory>
#include <optional>

#include "process/base/CDAEError.h"
#include "process/controls/ControlValueMapping.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"

using namespace ViewGeometry;

namespace
{
inline constexpr int32_t kFineFactor = 6;
inline constexpr RGBColor kGrooveShadow { 0x3333, 0x3333, 0x3333 };
inline constexpr RGBColor kGrooveLight { 0x9999, 0x9999, 0x9999 };

// The value's place along a travel of `travel` pixels: its upper 15 bits (rounded, without
// passing the maximum) spread over the travel.
int32_t PlaceOnTravel (int32_t value, int32_t travel)
{
    const int32_t upper = value < 0x7FFF8000 ? (value + 32768) >> 17 : value >> 17;
    return static_cast<int32_t> (int64_t (travel) * (upper + 16384) / 32767);
}
} // namespace

bool CSliderControlEditor::IsVertical() const
{
    const Rect frame = GetRect();
    return frame.right - frame.left < frame.bottom - frame.top;
}

int32_t CSliderControlEditor::AxisLength() const
{
    const Rect frame = GetRect();
    return IsVertical() ? frame.bottom - frame.top : frame.right - frame.left;
}

int32_t CSliderControlEditor::ThumbLength() const
{
    const Rect frame = GetRect();
    const int32_t across = IsVertical() ? frame.right - frame.left : frame.bottom - frame.top;
    return static_cast<int32_t> (0.75 * across);
}

Rect CSliderControlEditor::GetThumbRect() const
{
    const Rect frame = GetRect();
    const int32_t length = ThumbLength();
    const int32_t travel = AxisLength() - length;
    int32_t place = PlaceOnTravel (GetValue(), travel);
    if (fReversed)
        place = travel - place;
    if (IsVertical())
    {
        const int32_t bottom = frame.bottom - place;
        return { Saturate (bottom - length), frame.left, Saturate (bottom), frame.right };
    }
    const int32_t left = frame.left + place;
    return { frame.top, Saturate (left), frame.bottom, Saturate (left + length) };
}

int32_t CSliderControlEditor::GetFineFactor() const
{
    return kFineFactor;
}

Point CSliderControlEditor::GetAnchorPoint() const
{
    return Centre (GetThumbRect());
}

// ---- The thumb ----

CPlugInView* CSliderControlEditor::GetParentOrAttach()
{
    if (fThumb == nullptr)
    {
        auto thumb = std::make_unique<CCustomView>();
        thumb->SetRect (GetThumbRect());
        thumb->SetID (kSliderThumbID);
        thumb->SetStyle (true, 0, IsVertical() ? kStyleRidgesAcross : kStyleRidgesDown);
        CCustomView* added = thumb.get();
        AddChild (std::move (thumb), false);
        fThumb = added;
        fThumb->FinishCreate();
    }
    return CControlEditor::GetParentOrAttach();
}

void CSliderControlEditor::ValueChanged()
{
    if (fThumb == nullptr)
        return;
    const Rect from = fThumb->GetRect();
    const Rect to = GetThumbRect();
    const auto dh = Saturate (to.left - from.left);
    const auto dv = Saturate (to.top - from.top);
    if (dh == 0 && dv == 0)
        return;
    if (fThumb->GetWindow() != nullptr)
        fThumb->MoveByRedrawing (dh, dv);
    else
        fThumb->Offset (dh, dv);
}

void CSliderControlEditor::ValueChangedQuiet()
{
    if (fThumb == nullptr)
        return;
    const Rect to = GetThumbRect();
    fThumb->MoveTo (to.left, to.top);
}

// ---- Dragging ----

void CSliderControlEditor::TrackMouse (const EventRecord& event, bool synthetic)
{
    const Rect thumb = fThumb != nullptr ? fThumb->GetRect() : GetThumbRect();
    int32_t travel = AxisLength() - ThumbLength();
    if (! Contains (thumb, event.where) || travel <= 0)
    {
        CControlEditor::TrackMouse (event, synthetic);
        return;
    }
    if ((event.modifiers & kFineDragModifier) != 0)
        travel *= GetFineFactor();

    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    const int32_t start = ScaleFromLong (GetValue(), 0, travel);
    int32_t written = ScaleToLong (start, 0, travel);
    const bool vertical = IsVertical();
    std::optional<ScopedHiliteOff> thumbHilite;
    if (fThumb != nullptr)
    {
        thumbHilite.emplace (*fThumb);
        fThumb->SetHilite (1);
    }
    while (toolbox.StillDown() != 0)
    {
        Point mouse {};
        toolbox.GetMouse (&mouse);
        if (synthetic && Contains (GetRect(), mouse) && ! Contains (GetVisibleRect(), mouse))
            break;
        int32_t distance = vertical ? event.where.v - mouse.v : mouse.h - event.where.h;
        if (fReversed)
            distance = -distance;
        const int32_t value = ScaleToLong (start + distance, 0, travel);
        if (value == written)
            RunIdleService();
        else
        {
            SetValue (value);
            written = value;
        }
        ValueChanged();
    }
}

// ---- Drawing ----

void CSliderControlEditor::DrawBackground (const Rect& area)
{
    EraseBackground (area);
}

// The groove: a line 2 pixels wide about the slider's middle, 2 pixels short of either end, sunk
// (its left and top edges dark, its right and bottom edges light).
void CSliderControlEditor::DrawContents (const Rect& area)
{
    const Rect frame = GetRect();
    int32_t top = frame.top + 2;
    int32_t left = frame.left + 2;
    int32_t bottom = frame.bottom - 2;
    int32_t right = frame.right - 2;
    if (IsVertical())
    {
        left = frame.left + (frame.right - frame.left) / 2 - 1;
        right = left + 2;
    }
    else
    {
        top = frame.top + (frame.bottom - frame.top) / 2 - 1;
        bottom = top + 2;
    }

    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPenState pen;
    ScopedPortColour foreColour (ScopedPortColour::Which::fore);
    toolbox.PenNormal();
    DrawBackground (area);
    toolbox.RGBForeColor (&kGrooveShadow);
    toolbox.MoveTo (Saturate (left), Saturate (bottom - 1));
    toolbox.LineTo (Saturate (left), Saturate (top));
    toolbox.LineTo (Saturate (right - 1), Saturate (top));
    toolbox.RGBForeColor (&kGrooveLight);
    toolbox.MoveTo (Saturate (right), Saturate (top));
    toolbox.LineTo (Saturate (right), Saturate (bottom - 1));
    toolbox.LineTo (Saturate (left), Saturate (bottom - 1));
}

void CSliderControlEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CControlEditor::ReadDescription (reader);
    const SDescriptionNode* keywords = TakeOptionalList (reader);
    if (keywords == nullptr)
        return;
    if (keywords->kind != kNodeKeyword || keywords->value != ViewKeyword::kReverse || keywords->next != nullptr)
        throw CDAEError (RTASError::kConditionFalse);
    fReversed = true;
}
