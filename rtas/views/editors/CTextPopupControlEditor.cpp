#include "views/editors/CTextPopupControlEditor.h"

#include <algorithm>
#include <cstring>

#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/controls/CControlView.h"
#include "views/text/CStaticTextView.h"

using namespace ViewGeometry;

namespace
{
inline constexpr int16_t kTextFace = 0;
inline constexpr int16_t kTextInset = 3;
inline constexpr int16_t kItemWidthMargin = 14;
inline constexpr int16_t kItemHeightMargin = 4;
inline constexpr int16_t kTriangleRows = 6;
inline constexpr RGBColor kMenuTextColour { 0x0000, 0x0000, 0x0000 };

// The port's font for the menu's texts, kept for the scope.
class ScopedMenuFont
{
public:
    explicit ScopedMenuFont (int16_t face)
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        toolbox.TextFont (kViewTextFont);
        toolbox.TextSize (kViewTextSize);
        toolbox.TextFace (face);
    }

private:
    ScopedPortText fSaved;
};

// The distance that the menu may move towards `hidden` pixels of itself, while the mouse lies
// within the arrow zone at `edge` (inside the visible part towards `inward`) or up to a zone's
// depth beyond it.
int32_t ScrollTowards (int32_t mouse, int32_t edge, int32_t inward, int32_t hidden)
{
    const int32_t depth = (mouse - edge) * inward;
    if (depth < -kScrollArrowZone || depth >= kScrollArrowZone || hidden <= 0)
        return 0;
    return std::min<int32_t> (hidden, kMenuScrollStep);
}

// The start of a span of `size` that lies wholly beyond [low, high): slid back until it reaches
// just onto it (as much of it as fits). Any other start is kept.
int32_t SlideOnto (int32_t start, int32_t size, int32_t low, int32_t high)
{
    if (start >= high)
        return high - std::min (size, high - low);
    if (start + size <= low)
        return low;
    return start;
}

// A triangle of 6 rows pointing out of the zone's side (PopUpArrow), centred in the zone.
void DrawArrowTriangle (const Rect& zone, uint16_t side)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    const int32_t centreH = (zone.left + zone.right) / 2;
    const int32_t centreV = (zone.top + zone.bottom) / 2;
    for (int32_t row = 0; row < kTriangleRows; ++row)
    {
        const int32_t spread = side == PopUpArrow::kUp || side == PopUpArrow::kLeft ? row : kTriangleRows - 1 - row;
        const int32_t at = row - kTriangleRows / 2;
        if (side == PopUpArrow::kUp || side == PopUpArrow::kDown)
        {
            toolbox.MoveTo (Saturate (centreH - spread), Saturate (centreV + at));
            toolbox.LineTo (Saturate (centreH + spread), Saturate (centreV + at));
        }
        else
        {
            toolbox.MoveTo (Saturate (centreH + at), Saturate (centreV - spread));
            toolbox.LineTo (Saturate (centreH + at), Saturate (centreV + spread));
        }
    }
}
} // namespace

CTextPopupControlEditor::CTextPopupControlEditor() : fMenu (std::make_unique<CPopUpMenu> (static_cast<IPopUpMenuOwner&> (*this))) {}

// ---- The shown step ----

bool CTextPopupControlEditor::TakeShownStep()
{
    const auto step = static_cast<int16_t> (std::clamp<int32_t> (GetStep(), -1, INT16_MAX));
    if (step == fShownStep)
        return false;
    fShownStep = step;
    return true;
}

void CTextPopupControlEditor::ValueChanged()
{
    if (TakeShownStep())
        Invalidate (nullptr);
}

void CTextPopupControlEditor::ValueChangedQuiet()
{
    if (TakeShownStep())
        InvalidateFrame();
}

Rect CTextPopupControlEditor::GetItemRect() const
{
    const Rect frame = GetRect();
    return { Saturate (frame.top + 1), Saturate (frame.left + 1), Saturate (frame.bottom - 2), Saturate (frame.right - 1) };
}

void CTextPopupControlEditor::DrawContents (const Rect&)
{
    DrawFrame (GetRect());
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour foreColour (ScopedPortColour::Which::fore);
    const RGBColor colour = GetForeColor();
    toolbox.RGBForeColor (&colour);
    const Rect item = GetItemRect();
    int32_t left = item.left + fMargins[0];
    int32_t right = item.right - fMargins[1];
    int32_t top = item.top + fMargins[2];
    int32_t bottom = item.bottom + fMargins[2];
    if (GetWindow() != nullptr)
    {
        left += fMargins[3];
        right += fMargins[3];
        top += fMargins[4];
        bottom += fMargins[4];
    }
    DrawItem (static_cast<int16_t> (fShownStep + 1), { Saturate (top), Saturate (left), Saturate (bottom), Saturate (right) }, true);
}

// ---- Items ----

void CTextPopupControlEditor::ItemText (int16_t item, char* text)
{
    text[0] = 0;
    CControlView* view = GetBoundView();
    if (view != nullptr && item >= 1 && item <= GetStepCount())
        view->ValueToText (ValueFromStep (item - 1), text, kStaticTextLength);
}

int16_t CTextPopupControlEditor::ItemHeight()
{
    ScopedMenuFont font (kTextFace);
    FontInfo info {};
    HostToolbox().GetFontInfo (&info);
    fItemHeight = static_cast<int16_t> (std::max (1, info.ascent + info.descent + kItemHeightMargin));
    return fItemHeight;
}

int16_t CTextPopupControlEditor::GetItemCount()
{
    const int32_t fitting = INT16_MAX / ItemHeight();
    return static_cast<int16_t> (std::clamp<int32_t> (GetStepCount(), 0, fitting));
}

void CTextPopupControlEditor::GetItemSize (int16_t item, int16_t* width, int16_t* height)
{
    char text[kStaticTextLength + 1];
    ItemText (item, text);
    const int16_t lineHeight = ItemHeight();
    ScopedMenuFont font (kTextFaceBold);
    const auto length = static_cast<int16_t> (std::strlen (text));
    if (width != nullptr)
        *width = Saturate (HostToolbox().TextWidth (text, 0, length) + kItemWidthMargin);
    if (height != nullptr)
        *height = lineHeight;
}

void CTextPopupControlEditor::GetMenuSize (int16_t* width, int16_t* height)
{
    int32_t widest = 0;
    int32_t total = 0;
    const int16_t count = GetItemCount();
    for (int16_t item = 1; item <= count; ++item)
    {
        int16_t itemWidth = 0;
        int16_t itemHeight = 0;
        GetItemSize (item, &itemWidth, &itemHeight);
        widest = std::max<int32_t> (widest, itemWidth);
        total += itemHeight;
    }
    if (width != nullptr)
        *width = Saturate (widest);
    if (height != nullptr)
        *height = Saturate (total);
}

void CTextPopupControlEditor::DrawItem (int16_t item, const Rect& area, bool ownFace)
{
    char text[kStaticTextLength + 1];
    ItemText (item, text);
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedMenuFont font (ownFace ? kTextFace : item == fShownStep + 1 ? kTextFaceBold
                                                                      : kTextFace);
    if (! ownFace)
        toolbox.EraseRect (&area);
    const int32_t room = area.right - area.left - 2 * kTextInset;
    auto length = static_cast<int16_t> (std::strlen (text));
    while (length > 1 && toolbox.TextWidth (text, 0, length) > room)
        --length;
    const int32_t textWidth = length > 0 ? toolbox.TextWidth (text, 0, length) : 0;
    int32_t left = area.left + kTextInset;
    if (ownFace && fAlignment == PopUpAlignment::kRight)
        left = area.right - kTextInset - textWidth;
    else if (ownFace && fAlignment != PopUpAlignment::kLeft)
        left = area.left + (area.right - area.left - textWidth) / 2;
    FontInfo info {};
    toolbox.GetFontInfo (&info);
    toolbox.MoveTo (Saturate (left), Saturate (area.bottom - 1 - info.descent));
    toolbox.DrawText (text, 0, length);
}

void CTextPopupControlEditor::DrawItemHilited (int16_t item, const Rect& area)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour fore (ScopedPortColour::Which::fore);
    ScopedPortColour back (ScopedPortColour::Which::back);
    RGBColor foreColour {};
    RGBColor backColour {};
    toolbox.GetForeColor (&foreColour);
    toolbox.GetBackColor (&backColour);
    toolbox.RGBForeColor (&backColour);
    toolbox.RGBBackColor (&foreColour);
    DrawItem (item, area, false);
}

// ---- The menu: placement, drawing, scrolling ----

Rect CTextPopupControlEditor::MenuItemRect (int16_t item) const
{
    const int32_t top = fMenuRect.top + (item - 1) * fItemHeight;
    return { Saturate (top), fMenuRect.left, Saturate (top + fItemHeight), fMenuRect.right };
}

Rect CTextPopupControlEditor::ItemArea() const
{
    Rect area = fVisibleRect;
    if ((fScrollArrows & PopUpArrow::kUp) != 0)
        area.top = Saturate (area.top + kScrollArrowZone);
    if ((fScrollArrows & PopUpArrow::kDown) != 0)
        area.bottom = Saturate (area.bottom - kScrollArrowZone);
    if ((fScrollArrows & PopUpArrow::kLeft) != 0)
        area.left = Saturate (area.left + kScrollArrowZone);
    if ((fScrollArrows & PopUpArrow::kRight) != 0)
        area.right = Saturate (area.right - kScrollArrowZone);
    return area;
}

void CTextPopupControlEditor::UpdateScrollArrows()
{
    fScrollArrows = 0;
    if (fMenuRect.top < fVisibleRect.top)
        fScrollArrows |= PopUpArrow::kUp;
    if (fMenuRect.bottom > fVisibleRect.bottom)
        fScrollArrows |= PopUpArrow::kDown;
    if (fMenuRect.left < fVisibleRect.left)
        fScrollArrows |= PopUpArrow::kLeft;
    if (fMenuRect.right > fVisibleRect.right)
        fScrollArrows |= PopUpArrow::kRight;
}

// The item under the click sits with two thirds of it above the click. A menu that would lie
// wholly beyond the screen's edge is slid back just onto it.
void CTextPopupControlEditor::PlaceMenu (Point click, int16_t item)
{
    int16_t width = 0;
    int16_t height = 0;
    GetMenuSize (&width, &height);
    const int32_t shown = std::max<int32_t> (item - 1, 0);
    int32_t top = click.v - shown * fItemHeight - 2 * fItemHeight / 3;
    int32_t left = click.h + kMenuClickOffset;
    fScreenRect = ScreenHoldingOrMain (click);
    const Rect allowed = Inset (fScreenRect, kMenuScreenMargin, kMenuScreenMargin);
    left = SlideOnto (left, width, allowed.left, allowed.right);
    top = SlideOnto (top, height, allowed.top, allowed.bottom);
    fMenuRect = { Saturate (top), Saturate (left), Saturate (top + height), Saturate (left + width) };
    fVisibleRect = Intersection (fMenuRect, allowed);
    fHilitedItem = 0;
    UpdateScrollArrows();
}

void CTextPopupControlEditor::DrawMenu()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour fore (ScopedPortColour::Which::fore);
    ScopedPortColour back (ScopedPortColour::Which::back);
    toolbox.RGBForeColor (&kMenuTextColour);
    toolbox.RGBBackColor (&kMenuBackColour);
    toolbox.EraseRect (&fVisibleRect);
    const Rect area = ItemArea();
    {
        ScopedClipRect clip (area);
        const int16_t count = GetItemCount();
        for (int16_t item = 1; item <= count; ++item)
        {
            const Rect itemRect = MenuItemRect (item);
            if (! Meet (itemRect, area))
                continue;
            if (item == fHilitedItem)
                DrawItemHilited (item, itemRect);
            else
                DrawItem (item, itemRect, false);
        }
    }
    DrawScrollArrows();
}

void CTextPopupControlEditor::DrawScrollArrows()
{
    const Rect& visible = fVisibleRect;
    const struct
    {
        uint16_t side;
        Rect zone;
    } zones[] = {
        { PopUpArrow::kUp, { visible.top, visible.left, Saturate (visible.top + kScrollArrowZone), visible.right } },
        { PopUpArrow::kDown, { Saturate (visible.bottom - kScrollArrowZone), visible.left, visible.bottom, visible.right } },
        { PopUpArrow::kLeft, { visible.top, visible.left, visible.bottom, Saturate (visible.left + kScrollArrowZone) } },
        { PopUpArrow::kRight, { visible.top, Saturate (visible.right - kScrollArrowZone), visible.bottom, visible.right } },
    };
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPenState pen;
    toolbox.PenNormal();
    for (const auto& arrow : zones)
    {
        if ((fScrollArrows & arrow.side) == 0)
            continue;
        toolbox.EraseRect (&arrow.zone);
        DrawArrowTriangle (arrow.zone, arrow.side);
    }
}

void CTextPopupControlEditor::AutoScroll (Point mouse)
{
    const Rect& visible = fVisibleRect;
    const bool inColumns = mouse.h >= visible.left && mouse.h < visible.right;
    const bool inRows = mouse.v >= visible.top && mouse.v < visible.bottom;
    int32_t dv = 0;
    int32_t dh = 0;
    if (inColumns && (fScrollArrows & PopUpArrow::kUp) != 0)
        dv = ScrollTowards (mouse.v, visible.top, 1, visible.top - fMenuRect.top);
    if (inColumns && dv == 0 && (fScrollArrows & PopUpArrow::kDown) != 0)
        dv = -ScrollTowards (mouse.v, visible.bottom - 1, -1, fMenuRect.bottom - visible.bottom);
    if (inRows && (fScrollArrows & PopUpArrow::kLeft) != 0)
        dh = ScrollTowards (mouse.h, visible.left, 1, visible.left - fMenuRect.left);
    if (inRows && dh == 0 && (fScrollArrows & PopUpArrow::kRight) != 0)
        dh = -ScrollTowards (mouse.h, visible.right - 1, -1, fMenuRect.right - visible.right);
    if (dh != 0 || dv != 0)
        ScrollMenu (Saturate (dh), Saturate (dv));
}

void CTextPopupControlEditor::ScrollMenu (int16_t dh, int16_t dv)
{
    fMenuRect = ViewGeometry::Offset (fMenuRect, dh, dv);
    UpdateScrollArrows();
    DrawMenu();
}

int16_t CTextPopupControlEditor::FindItem (Point where)
{
    if (fItemHeight <= 0 || ! Contains (ItemArea(), where) || ! Contains (fMenuRect, where))
        return 0;
    const int32_t item = (where.v - fMenuRect.top) / fItemHeight + 1;
    return item <= GetItemCount() ? static_cast<int16_t> (item) : 0;
}

// Only items lying wholly inside the visible part are drawn again.
void CTextPopupControlEditor::HiliteItem (int16_t item)
{
    if (item == fHilitedItem)
        return;
    const int16_t previous = fHilitedItem;
    fHilitedItem = item;
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour fore (ScopedPortColour::Which::fore);
    ScopedPortColour back (ScopedPortColour::Which::back);
    toolbox.RGBForeColor (&kMenuTextColour);
    toolbox.RGBBackColor (&kMenuBackColour);
    const Rect area = ItemArea();
    if (previous != 0 && Encloses (area, MenuItemRect (previous)))
        DrawItem (previous, MenuItemRect (previous), false);
    if (item != 0 && Encloses (area, MenuItemRect (item)))
        DrawItemHilited (item, MenuItemRect (item));
}

void CTextPopupControlEditor::HandleMenuMessage (int16_t message, Rect& menuRect, Point hitPoint, int16_t& item)
{
    switch (message)
    {
        case kMenuSizeMessage:
        {
            int16_t width = 0;
            int16_t height = 0;
            GetMenuSize (&width, &height);
            fMenu->SetSize (width, height);
            break;
        }
        case kMenuPlaceMessage:
            PlaceMenu (hitPoint, item);
            menuRect = fVisibleRect;
            break;
        case kMenuDrawMessage:
            fMenu->CoverScreen (fVisibleRect);
            DrawMenu();
            break;
        case kMenuTrackMessage:
            AutoScroll (hitPoint);
            HiliteItem (FindItem (hitPoint));
            item = fHilitedItem;
            break;
        case kMenuThemeMessage: item = kMenuThemeAnswer; break;
        case kMenuFindItemMessage: item = FindItem (hitPoint); break;
        case kMenuHiliteItemMessage: HiliteItem (item); break;
        default: break;
    }
}

// ---- Tracking ----

void CTextPopupControlEditor::TrackMouse (const EventRecord& event, bool synthetic)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (synthetic || toolbox.StillDown() == 0)
    {
        CControlEditor::TrackMouse (event, true);
        return;
    }
    ScopedViewDrawing drawing (*this, nullptr);
    ScopedHiliteOff hiliteOff (*this);
    SetHilite (1);
    int32_t result = 0;
    {
        ScopedMenuFont font (kTextFace);
        Point global = event.where;
        toolbox.LocalToGlobal (&global);
        result = fMenu->PopUp (global, static_cast<int16_t> (fShownStep + 1));
    }
    const auto chosen = static_cast<int16_t> (result & 0xFFFF);
    if ((result >> 16) == kPopUpMenuID && chosen != 0 && chosen != GetStep() + 1)
        SetStep (chosen - 1);
}
