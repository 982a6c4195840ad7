#include "views/base/CPlugInView.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"

using namespace ViewGeometry;

namespace
{
inline constexpr ResType kPixelPatternType = kestrune::rtas::abi::fourCC ("ppat");

struct SDeferredRedraw
{
    CPlugInView* view;
    Rect area;
};

// The window that a pop-up draws into while it is open, the part of the screen it covers, and the
// views whose drawing it held back.
struct SDrawingTarget
{
    WindowRef window = nullptr;
    Rect globalArea {};
    std::vector<SDeferredRedraw> deferred;
};

SDrawingTarget& DrawingTarget()
{
    static SDrawingTarget target;
    return target;
}

void DeferRedraw (CPlugInView* view, const Rect& area)
{
    auto& deferred = DrawingTarget().deferred;
    const auto listed = std::find_if (deferred.begin(), deferred.end(), [view] (const SDeferredRedraw& entry) { return entry.view == view; });
    if (listed != deferred.end())
    {
        listed->area = Union (listed->area, area);
        return;
    }
    if (deferred.size() >= size_t (kDeferredRedrawCapacity))
        throw CDAEError (RTASError::kConditionFalse);
    deferred.push_back ({ view, area });
}

void ForgetDeferredRedraw (const CPlugInView* view)
{
    auto& deferred = DrawingTarget().deferred;
    std::erase_if (deferred, [view] (const SDeferredRedraw& entry) { return entry.view == view; });
}

Point PortOrigin (const HostToolboxRoutines& toolbox, WindowRef window)
{
    Rect bounds {};
    toolbox.GetPortBounds (window, &bounds);
    return { bounds.top, bounds.left };
}

// The rectangle whose two corners the toolbox converted (LocalToGlobal or GlobalToLocal).
Rect ConvertedCorners (const Rect& r, void (*convert) (Point*))
{
    Point topLeft { r.top, r.left };
    Point bottomRight { r.bottom, r.right };
    convert (&topLeft);
    convert (&bottomRight);
    return { topLeft.v, topLeft.h, bottomRight.v, bottomRight.h };
}

Point PinnedInside (Point mouse, Point start, const Rect& child, const Rect& allowed)
{
    const auto pin = [] (int32_t value, int32_t lowest, int32_t highest) {
        return lowest > highest ? value : std::clamp (value, lowest, highest);
    };
    return { Saturate (pin (mouse.v, start.v + allowed.top - child.top, start.v + allowed.bottom - child.bottom)),
             Saturate (pin (mouse.h, start.h + allowed.left - child.left, start.h + allowed.right - child.right)) };
}
} // namespace

CPlugInView::CPlugInView() = default;

CPlugInView::~CPlugInView()
{
    while (fDrawingDepth > 0)
        PopDrawingState();
    ForgetDeferredRedraw (this);
    for (CPlugInView* view = this; view != nullptr; view = view->fParent)
        if (view->fFocus == this)
            view->fFocus = nullptr;
    while (fFirstChild != nullptr)
    {
        std::unique_ptr<CPlugInView> child = std::move (fFirstChild);
        fFirstChild = std::move (child->fNextSibling);
        child.reset();
    }
}

// ---- Geometry and the tree ----

Rect CPlugInView::GetVisibleRect() const
{
    const Rect own = Intersection (fLimitRect, fFrame);
    return fParent != nullptr ? Intersection (own, fParent->GetVisibleRect()) : own;
}

CPlugInView* CPlugInView::FindSubViewByID (uint32_t id) const
{
    if (id == kNoViewID)
        return nullptr;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (child->fID == id)
            return child;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (CPlugInView* found = child->FindSubViewByID (id))
            return found;
    return nullptr;
}

std::unique_ptr<CPlugInView> CPlugInView::RemoveChild (CPlugInView* child)
{
    std::unique_ptr<CPlugInView>* link = &fFirstChild;
    while (*link != nullptr && link->get() != child)
        link = &(*link)->fNextSibling;
    if (*link == nullptr)
        return nullptr;
    std::unique_ptr<CPlugInView> removed = std::move (*link);
    *link = std::move (removed->fNextSibling);
    for (CPlugInView* view = this; view != nullptr; view = view->fParent)
        view->ForgetFocusWithin (removed.get());
    removed->fParent = nullptr;
    return removed;
}

CPlugInView* CPlugInView::Root()
{
    CPlugInView* root = this;
    while (root->fParent != nullptr)
        root = root->fParent;
    return root;
}

void CPlugInView::ForgetFocusWithin (const CPlugInView* subtree)
{
    for (const CPlugInView* view = fFocus; view != nullptr; view = view->fParent)
    {
        if (view == subtree)
        {
            fFocus = nullptr;
            return;
        }
    }
}

// ---- Drawing ----

void CPlugInView::BeginDrawing (const Rect* area)
{
    if (fDrawingDepth >= kDrawingStackDepth)
        throw CDAEError (RTASError::kConditionFalse);
    PushDrawingState();
    if (fWindow == nullptr)
        return;
    try
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        toolbox.PenMode (patCopy);
        toolbox.TextMode (patCopy);
        toolbox.SetOrigin (fPortOrigin.h, fPortOrigin.v);
        const Rect visible = GetVisibleRect();
        ClipToVisibleArea (area != nullptr ? Intersection (visible, *area) : visible);
    }
    catch (...)
    {
        PopDrawingState();
        throw;
    }
}

void CPlugInView::PushDrawingState()
{
    SDrawingState state;
    if (fWindow != nullptr)
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        state.clip = toolbox.NewRgn();
        if (state.clip == nullptr)
            throw CDAEError (RTASError::kNullPointer);
        state.changedPort = true;
        toolbox.GetPort (&state.port);
        toolbox.SetPort (fWindow);
        state.origin = PortOrigin (toolbox, fWindow);
        toolbox.GetClip (state.clip);
    }
    fDrawingStack[fDrawingDepth++] = state;
}

// The clip becomes the visible area; while a pop-up of another window covers part of it, that
// part is left out and the area is redrawn when the pop-up closes.
void CPlugInView::ClipToVisibleArea (const Rect& visible)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    const SDrawingTarget& target = DrawingTarget();
    if (target.window != nullptr && target.window != fWindow)
    {
        const Rect covered = ConvertedCorners (target.globalArea, toolbox.GlobalToLocal);
        if (Meet (covered, visible))
        {
            DeferRedraw (this, visible);
            ScopedRegion clip;
            ScopedRegion hole;
            toolbox.RectRgn (clip.Get(), &visible);
            toolbox.RectRgn (hole.Get(), &covered);
            toolbox.DiffRgn (clip.Get(), hole.Get(), clip.Get());
            toolbox.SetClip (clip.Get());
            return;
        }
    }
    toolbox.ClipRect (&visible);
}

void CPlugInView::EndDrawing()
{
    if (fDrawingDepth <= 0)
        throw CDAEError (RTASError::kConditionFalse);
    PopDrawingState();
}

void CPlugInView::PopDrawingState() noexcept
{
    const SDrawingState state = fDrawingStack[--fDrawingDepth];
    fDrawingStack[fDrawingDepth] = {};
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (! state.changedPort || toolbox == nullptr)
        return;
    toolbox->SetOrigin (state.origin.h, state.origin.v);
    toolbox->SetClip (state.clip);
    toolbox->DisposeRgn (state.clip);
    toolbox->SetPort (state.port);
}

void CPlugInView::InvalidateFrame()
{
    if (fWindow == nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    const Point origin = PortOrigin (toolbox, fWindow);
    const Rect area = ViewGeometry::Offset (fFrame, origin.h - fPortOrigin.h, origin.v - fPortOrigin.v);
    toolbox.InvalWindowRect (fWindow, &area);
}

void CPlugInView::MoveBy (int16_t dh, int16_t dv)
{
    if (dh == 0 && dv == 0)
        return;
    InvalidateFrame();
    Offset (dh, dv);
    InvalidateFrame();
}

void CPlugInView::MoveTo (int16_t h, int16_t v)
{
    MoveBy (Saturate (h - fFrame.left), Saturate (v - fFrame.top));
}

void CPlugInView::MoveByRedrawing (int16_t dh, int16_t dv)
{
    if (fWindow == nullptr)
    {
        Offset (dh, dv);
        return;
    }
    ScopedViewDrawing drawing (*this, nullptr);
    const Rect old = fFrame;
    Offset (dh, dv);
    Invalidate (&fFrame);

    // The strips of the old frame that the new one no longer covers: one across the full width
    // on the side of the vertical move, one across the full height on the side of the horizontal.
    std::optional<Rect> strips[2];
    if (dv > 0)
        strips[0] = Rect { old.top, old.left, Saturate (std::min<int32_t> (old.bottom, old.top + dv)), old.right };
    else if (dv < 0)
        strips[0] = Rect { Saturate (std::max<int32_t> (old.top, old.bottom + dv)), old.left, old.bottom, old.right };
    if (dh > 0)
        strips[1] = Rect { old.top, old.left, old.bottom, Saturate (std::min<int32_t> (old.right, old.left + dh)) };
    else if (dh < 0)
        strips[1] = Rect { old.top, Saturate (std::max<int32_t> (old.left, old.right + dh)), old.bottom, old.right };
    CPlugInView* root = Root();
    for (const auto& strip : strips)
        if (strip && ! IsEmpty (*strip))
            root->Invalidate (&*strip);
}

void CPlugInView::SetDrawingTarget (WindowRef target, const Rect* area)
{
    SDrawingTarget& state = DrawingTarget();
    state.window = target;
    state.globalArea = {};
    if (area != nullptr)
        state.globalArea = ConvertedCorners (*area, HostToolbox().LocalToGlobal);
    if (target != nullptr)
        return;

    // Every deferred view is redrawn, also when one of them fails; the first failure is passed on.
    std::optional<CDAEError> failure;
    while (! state.deferred.empty())
    {
        const SDeferredRedraw entry = state.deferred.back();
        state.deferred.pop_back();
        try
        {
            entry.view->Invalidate (&entry.area);
        }
        catch (const CDAEError& error)
        {
            if (! failure)
                failure = error;
        }
    }
    if (failure)
        throw *failure;
}

// ---- Operations that derived views override ----

void CPlugInView::FinishCreate()
{
    GetParentOrAttach();
}

void CPlugInView::ReadItem (const SDialogItem&) {}

void CPlugInView::AddChild (std::unique_ptr<CPlugInView> view, bool nest)
{
    if (view == nullptr)
        return;
    if (nest)
    {
        for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        {
            if (Encloses (child->fFrame, view->fFrame))
            {
                child->AddChild (std::move (view), true);
                return;
            }
        }
    }
    if (fFirstChild != nullptr)
    {
        fFirstChild->AppendSibling (std::move (view));
        return;
    }
    view->SetParent (this);
    view->fNextSibling.reset();
    fFirstChild = std::move (view);
}

void CPlugInView::AppendSibling (std::unique_ptr<CPlugInView> view)
{
    if (view == nullptr)
        return;
    view->SetParent (fParent);
    view->fNextSibling.reset();
    CPlugInView* last = this;
    while (last->fNextSibling != nullptr)
        last = last->fNextSibling.get();
    last->fNextSibling = std::move (view);
}

void CPlugInView::SetParent (CPlugInView* parent)
{
    fParent = parent;
}

CPlugInView* CPlugInView::FindViewAtPoint (Point where)
{
    if (! Contains (fFrame, where))
        return nullptr;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (Contains (child->fFrame, where))
            return child->FindViewAtPoint (where);
    return this;
}

void CPlugInView::ChildMoved (CPlugInView*) {}

void CPlugInView::Deactivate()
{
    fActive = 0;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->Deactivate();
}

void CPlugInView::Activate()
{
    fActive = 1;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->Activate();
}

void CPlugInView::SetWindow (WindowRef window)
{
    fWindow = window;
    if (window == nullptr)
    {
        if (CPlugInView* focus = fFocus)
        {
            if (focus != this)
                focus->SetWindow (nullptr);
            focus->EndEditing (false);
            fFocus = nullptr;
        }
        for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
            child->SetWindow (nullptr);
        return;
    }

    // A subtree takes the window whole or not at all: when a view cannot take it (a host control
    // that cannot be made), the views that took it give it back before the failure is passed on.
    try
    {
        fPortOrigin = PortOrigin (HostToolbox(), window);
        for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
            child->SetWindow (window);
    }
    catch (...)
    {
        try
        {
            SetWindow (nullptr);
        }
        catch (...)
        {
        }
        throw;
    }
}

Rect CPlugInView::GetFrame() const
{
    return fFrame;
}

void CPlugInView::Show()
{
    if (fFrame.left > 8191)
        MoveBy (-kHiddenOffset, 0);
}

void CPlugInView::Hide()
{
    if (fFrame.left < 8192)
        MoveBy (kHiddenOffset, 0);
}

void CPlugInView::HandleKey (int16_t, bool& handled)
{
    handled = false;
}

void CPlugInView::EndEditing (bool) {}
void CPlugInView::BeginEditing() {}

bool CPlugInView::CanTakeFocus() const
{
    return false;
}

void CPlugInView::HandleEvent (EventRecord* event, uint8_t* handled)
{
    bool taken = false;
    if (event != nullptr)
        taken = DispatchKey (*event);
    if (handled != nullptr)
        *handled = taken ? 1 : 0;
}

bool CPlugInView::DispatchKey (const EventRecord& event)
{
    ScopedViewDrawing drawing (*this, nullptr);
    CPlugInView* focus = fFocus;
    if (focus == nullptr)
        return false;
    bool handled = true;
    const uint8_t character = uint8_t (event.message & 0xFF);
    switch (character)
    {
        case kEnterKey:
            focus->EndEditing (true);
            focus->BeginEditing();
            break;
        case kTabKey:
            handled = MoveFocusByTab ((event.modifiers & kShiftModifier) != 0);
            break;
        case kReturnKey:
            focus->EndEditing (true);
            fFocus = nullptr;
            break;
        case kEscapeKey:
            focus->EndEditing (false);
            fFocus = nullptr;
            break;
        default:
            handled = false;
            focus->HandleKey (character, handled);
            break;
    }
    return handled;
}

// A focus without a parent (the root itself) has no siblings to move to: the key is left alone.
bool CPlugInView::MoveFocusByTab (bool backwards)
{
    CPlugInView* focus = fFocus;
    if (focus->fParent == nullptr)
        return false;
    focus->EndEditing (true);
    CPlugInView* next = FindFocusTarget (backwards);
    fFocus = next;
    if (next != nullptr)
        next->BeginEditing();
    return true;
}

// Tab: the first sibling after the focus that takes the focus and is enabled, else the first
// such from the start up to the focus. Shift-Tab: the last such before the focus, else the last
// after it.
CPlugInView* CPlugInView::FindFocusTarget (bool backwards) const
{
    const CPlugInView* focus = fFocus;
    if (focus == nullptr || focus->fParent == nullptr)
        return nullptr;
    const auto eligible = [] (CPlugInView* view) { return view->CanTakeFocus() && view->IsEnabled(); };
    CPlugInView* beforeFirst = nullptr;
    CPlugInView* beforeLast = nullptr;
    CPlugInView* afterFirst = nullptr;
    CPlugInView* afterLast = nullptr;
    bool pastFocus = false;
    for (CPlugInView* view = focus->fParent->GetFirstChild(); view != nullptr; view = view->GetNextSibling())
    {
        if (view == focus)
        {
            pastFocus = true;
            continue;
        }
        if (! eligible (view))
            continue;
        CPlugInView*& first = pastFocus ? afterFirst : beforeFirst;
        CPlugInView*& last = pastFocus ? afterLast : beforeLast;
        if (first == nullptr)
            first = view;
        last = view;
    }
    if (backwards)
        return beforeLast != nullptr ? beforeLast : afterLast;
    return afterFirst != nullptr ? afterFirst : beforeFirst;
}

int32_t CPlugInView::HandleClick (EventRecord* event)
{
    if (event == nullptr)
        return 0;
    ScopedViewDrawing drawing (*this, nullptr);
    CPlugInView* hit = FindViewAtPoint (event->where);
    while (hit != nullptr && ! hit->IsEnabled())
        hit = hit->GetParent();
    if (hit == nullptr)
        return 0;
    if (CPlugInView* focus = fFocus; focus != nullptr && focus != hit)
    {
        focus->EndEditing (false);
        fFocus = nullptr;
    }
    if (hit->CanTakeFocus() && IsActive())
        fFocus = hit;
    const EventRecord copy = *event;
    hit->Click (copy);
    return 0;
}

namespace
{
class ScopedDragging
{
public:
    explicit ScopedDragging (CPlugInView& child) : fChild (child) { fChild.SetDragging (true); }
    ~ScopedDragging() { fChild.SetDragging (false); }
    ScopedDragging (const ScopedDragging&) = delete;
    ScopedDragging& operator= (const ScopedDragging&) = delete;

private:
    CPlugInView& fChild;
};
} // namespace

void CPlugInView::TrackMouse (const EventRecord&, bool immediate)
{
    if (immediate)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (toolbox.StillDown() == 0)
        return;
    ScopedHiliteOff hiliteOff (*this);
    bool inside = false;
    do
    {
        Point mouse {};
        toolbox.GetMouse (&mouse);
        if (Contains (fFrame, mouse) != inside)
        {
            inside = ! inside;
            SetHilite (inside ? 1 : 0);
        }
        GivePlugInGroupIdleTime();
    } while (toolbox.StillDown() != 0);
    SetHilite (0);
}

void CPlugInView::DragChild (const EventRecord& event, CPlugInView* child)
{
    if (child == nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    const Rect allowed = Inset (fFrame, 1, 1);
    const Rect start = child->fFrame;
    ScopedDragging dragging (*child);
    Point last = PinnedInside (event.where, event.where, start, allowed);
    while (toolbox.StillDown() != 0)
    {
        Point mouse {};
        toolbox.GetMouse (&mouse);
        mouse = PinnedInside (mouse, event.where, start, allowed);
        if (! SamePoint (mouse, last))
        {
            child->MoveByRedrawing (Saturate (mouse.h - last.h), Saturate (mouse.v - last.v));
            ChildMoved (child);
            last = mouse;
        }
        GivePlugInGroupIdleTime();
    }
}

void CPlugInView::Draw (const Rect& area)
{
    DrawContents (area);
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (Meet (child->fFrame, area))
            child->Draw (Intersection (child->fFrame, area));
}

void CPlugInView::Invalidate (const Rect* area)
{
    if (fWindow == nullptr)
        return;
    const Rect visible = GetVisibleRect();
    const Rect redrawn = area != nullptr ? Intersection (visible, *area) : visible;
    if (IsEmpty (redrawn))
        return;
    ScopedViewDrawing drawing (*this, &redrawn);
    Draw (redrawn);
}

void CPlugInView::Idle (int32_t value)
{
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->Idle (value);
    GivePlugInGroupIdleTime();
}

void CPlugInView::SetHilite (uint8_t flag)
{
    if (flag == fHighlight)
        return;
    fHighlight = flag;
    Invalidate (nullptr);
}

void CPlugInView::SetEnabled (bool enabled)
{
    fEnabled = enabled ? 1 : 0;
}

bool CPlugInView::IsEnabled() const
{
    return fEnabled != 0;
}

void CPlugInView::Offset (int16_t dh, int16_t dv)
{
    fFrame = ViewGeometry::Offset (fFrame, dh, dv);
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->Offset (dh, dv);
}

RGBColor CPlugInView::GetForeColor() const
{
    return fHighlight != 0 ? kHighlightColor : fForeColor;
}

RGBColor CPlugInView::GetBackColor() const
{
    return fParent != nullptr ? fParent->GetBackColor() : fBackColor;
}

void CPlugInView::SetForeColor (const RGBColor& colour)
{
    fForeColor = colour;
}

void CPlugInView::SetBackColor (const RGBColor& colour)
{
    fBackColor = colour;
}

PixPatHandle CPlugInView::GetBackPattern() const
{
    return fParent != nullptr ? fParent->GetBackPattern() : nullptr;
}

void CPlugInView::ApplyBackPattern()
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (PixPatHandle pattern = GetBackPattern())
    {
        if (! fReplacedBackPattern)
        {
            fSavedBackPattern = toolbox.GetBackPixPat();
            fReplacedBackPattern = true;
        }
        toolbox.BackPixPat (pattern);
        return;
    }
    const RGBColor colour = GetBackColor();
    toolbox.RGBBackColor (&colour);
}

// Puts back the port's own pattern, also when it had none.
void CPlugInView::RestoreBackPattern()
{
    if (! fReplacedBackPattern)
        return;
    fReplacedBackPattern = false;
    HostToolbox().BackPixPat (fSavedBackPattern);
    fSavedBackPattern = nullptr;
}

void CPlugInView::GetControlIndex (int32_t* index) const
{
    if (index != nullptr)
        *index = 0;
}

bool CPlugInView::IsProcessControl() const
{
    return false;
}

bool CPlugInView::IsHighlighted() const
{
    return fParent != nullptr && fParent->IsHighlighted();
}

void CPlugInView::GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const
{
    if (fParent != nullptr)
    {
        fParent->GetHighlight (colour, extra, text);
        return;
    }
    if (colour != nullptr)
        *colour = 0;
    if (extra != nullptr)
        *extra = 0;
    if (text != nullptr)
        text[0] = 0;
}

int16_t CPlugInView::GetHighlightColour() const
{
    int16_t colour = 0;
    int16_t extra = 0;
    uint8_t text[256] {};
    GetHighlight (&colour, &extra, text);
    return colour;
}

PixPatHandle CPlugInView::LoadPicture (int16_t id)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    Handle resource = toolbox.Get1Resource (kPixelPatternType, id);
    if (resource == nullptr)
    {
        toolbox.ClearResError();
        return nullptr;
    }
    toolbox.ReleaseResource (resource);
    return toolbox.GetPixPat (id);
}

CPlugInView* CPlugInView::GetParentOrAttach()
{
    if (fParent == nullptr)
        AttachAll();
    return fParent;
}

void CPlugInView::AttachAll()
{
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->AttachAll();
}

void CPlugInView::DetachAll()
{
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        child->DetachAll();
}

void CPlugInView::DrawBackground (const Rect& area)
{
    if (fParent == nullptr)
        EraseBackground (area);
}

void CPlugInView::EraseBackground (const Rect& area)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour backColour (ScopedPortColour::Which::back);
    const RGBColor colour = GetBackColor();
    toolbox.RGBBackColor (&colour);
    ApplyBackPattern();
    const Rect erased = Intersection (fFrame, area);
    toolbox.EraseRect (&erased);
    RestoreBackPattern();
}

void CPlugInView::DrawContents (const Rect& area)
{
    DrawBackground (area);
}

void CPlugInView::Click (const EventRecord& event)
{
    if (fDraggable != 0 && fParent != nullptr)
    {
        ScopedHiliteOff hiliteOff (*this);
        SetHilite (1);
        fParent->DragChild (event, this);
        SetHilite (0);
        return;
    }
    if (IsEnabled())
        TrackMouse (event, event.message == kImmediateClickMessage);
}

// Mouse tracking and the idle pass give the plug-in's group time on each round.
void GivePlugInGroupIdleTime()
{
    if (CProcessGroupInterface* group = LivePlugInGroup())
        group->YieldLock();
}

// ---- Scoped drawing, highlight and drawing target ----

ScopedHiliteOff::~ScopedHiliteOff()
{
    if (fView.GetHilite() == 0)
        return;
    try
    {
        fView.SetHilite (0);
    }
    catch (...)
    {
    }
}

ScopedViewDrawing::ScopedViewDrawing (CPlugInView& view, const Rect* area) : fView (view), fDepthBefore (view.fDrawingDepth)
{
    fView.BeginDrawing (area);
}

// Also closes what the scope opened on the view and left open.
ScopedViewDrawing::~ScopedViewDrawing()
{
    while (fView.fDrawingDepth > fDepthBefore)
        fView.PopDrawingState();
}

ScopedDrawingTarget::ScopedDrawingTarget (WindowRef target, const Rect* area)
{
    CPlugInView::SetDrawingTarget (target, area);
}

ScopedDrawingTarget::~ScopedDrawingTarget()
{
    try
    {
        CPlugInView::SetDrawingTarget (nullptr, nullptr);
    }
    catch (...)
    {
    }
}
