#pragma once
// The base of every view of the plug-in's window: a rectangle in a host window that owns a list
// of child views, draws itself and its children through the host toolbox, takes clicks and keys,
// and can be dragged, hidden and highlighted. The root of a tree is handed the host's window and
// receives the host's clicks, keys and redraw requests, which it dispatches through the tree.
//
// Frames are in the window port's local coordinates, as they are when the view's port origin is
// set. A view owns its children; destroying a view destroys its subtree.
//
// Drawing happens between BeginDrawing and EndDrawing, which save and restore the port, its
// origin and its clip (at most four levels per view). While a pop-up covers part of the screen
// (the drawing target), views of other windows draw around it and are redrawn once it closes.
//
// A view is what a process asks of its editor view (IProcessView): the process hands the root its
// window and its host events, and finds control views by their IDs.
//
// Every operation runs on the [window thread]: the host's thread that drives the plug-in's
// window; none takes a lock.

#include <cstdint>
#include <memory>

#include <abi/HostTypes.h>

#include "process/process/ProcessView.h"

struct SDialogItem;

inline constexpr int kDrawingStackDepth = 4;
inline constexpr int kDeferredRedrawCapacity = 128;

// Character codes of the keys that move the focus, and the Shift modifier bit.
inline constexpr uint8_t kEnterKey = 3;
inline constexpr uint8_t kTabKey = 9;
inline constexpr uint8_t kReturnKey = 13;
inline constexpr uint8_t kEscapeKey = 27;
inline constexpr uint16_t kShiftModifier = 0x0200;
// A click whose message is this is handed to a view without tracking the mouse.
inline constexpr uint32_t kImmediateClickMessage = 0x12345678;
// Hide moves a view this far to the right, Show moves it back.
inline constexpr int16_t kHiddenOffset = 16384;

inline constexpr RGBColor kDefaultForeColor { 0x0000, 0x0000, 0x2222 };
inline constexpr RGBColor kDefaultBackColor { 0x8888, 0x8888, 0x8888 };
inline constexpr RGBColor kHighlightColor { 0x0000, 0x6666, 0xFFFF };
inline constexpr Rect kDefaultLimitRect { -32000, -32000, 32000, 32000 };
// The small font that views draw and edit their texts in: its font number and size.
inline constexpr int16_t kViewTextFont = 3;
inline constexpr int16_t kViewTextSize = 9;

class CPlugInView : public IProcessView
{
public:
    CPlugInView();
    // Ends any drawing left open, takes the view out of the deferred redraws and out of its
    // root's focus, and destroys its children first.
    ~CPlugInView() override;
    CPlugInView (const CPlugInView&) = delete;
    CPlugInView& operator= (const CPlugInView&) = delete;

    // ---- Geometry and the tree ----
    void SetRect (const Rect& frame) { fFrame = frame; }
    Rect GetRect() const { return fFrame; }
    void SetLimitRect (const Rect& limit) { fLimitRect = limit; }
    // The limit rectangle, the frame and the parent's visible rectangle, intersected.
    Rect GetVisibleRect() const;
    CPlugInView* GetFirstChild() const override { return fFirstChild.get(); }
    CPlugInView* GetNextSibling() const override { return fNextSibling.get(); }
    CPlugInView* GetParent() const override { return fParent; }
    uint32_t GetID() const override { return fID; }
    void SetID (uint32_t id) { fID = id; }
    // The first descendant with that ID (kNoViewID finds none): the direct children first, then
    // each child's subtree.
    CPlugInView* FindSubViewByID (uint32_t id) const override;
    // Unlinks a direct child and hands it over (null when it is not one). A focus inside the
    // removed subtree is cleared.
    std::unique_ptr<CPlugInView> RemoveChild (CPlugInView* child);
    // The top of the tree: the ancestor without a parent, or this view.
    CPlugInView* Root();
    // The window this view draws into; null while it is not shown.
    WindowRef GetWindow() const { return fWindow; }
    // At the root: the view that receives keys; null when none.
    CPlugInView* GetFocusView() const { return fFocus; }
    bool IsActive() const { return fActive != 0; }

    // ---- Drawing ----
    // Saves the port, its origin and its clip, makes this view's window current with the view's
    // origin and clips to the visible rectangle (within `area` when given). Throws -7400 when
    // four levels are open already; nothing changes then.
    void BeginDrawing (const Rect* area);
    // Restores what the matching BeginDrawing saved; -7400 when nothing is open.
    void EndDrawing();
    // Marks the frame of a view that has a window for update by the host.
    void InvalidateFrame();
    void MoveBy (int16_t dh, int16_t dv);
    void MoveTo (int16_t h, int16_t v) override;
    // Moves the view and redraws it and what it uncovered at once.
    void MoveByRedrawing (int16_t dh, int16_t dv);

    uint8_t GetHilite() const { return fHighlight; }
    void SetDraggable (bool draggable) { fDraggable = draggable ? 1 : 0; }
    bool IsDraggable() const { return fDraggable != 0; }
    void SetDragging (bool dragging) { fDragging = dragging ? 1 : 0; }
    bool IsDragging() const { return fDragging != 0; }

    // While `target` is a window (a pop-up), views of other windows leave `area` (local to the
    // current port; null for none) out of their drawing and are redrawn when the target is
    // cleared again (null), last deferred first.
    static void SetDrawingTarget (WindowRef target, const Rect* area);

    // ---- Operations that derived views override ----
    // Called by loaders after adding the view to its parent; the root attaches its tree.
    void FinishCreate() override;
    // The dialog item the view was made from.
    virtual void ReadItem (const SDialogItem& item);
    // Adds a view (nothing for null). With `nest`, a view whose frame lies wholly inside an
    // existing child's frame goes to that child instead.
    virtual void AddChild (std::unique_ptr<CPlugInView> view, bool nest);
    // Links the view after this view's last sibling, under the same parent.
    virtual void AppendSibling (std::unique_ptr<CPlugInView> view);
    virtual void SetParent (CPlugInView* parent);
    // The deepest view at the point: null outside the frame.
    CPlugInView* FindViewAtPoint (Point where) override;
    // Called after each step of a drag of the child.
    virtual void ChildMoved (CPlugInView* child);
    void Deactivate() override;
    void Activate() override;
    // Gives the view and its subtree the window (null takes it away and cancels any editing).
    // When a view of the subtree cannot take the window, the subtree is given null again and the
    // failure passed on: no part of it keeps the window.
    void SetWindow (WindowRef window) override;
    Rect GetFrame() const override;
    virtual void Show();
    virtual void Hide();
    virtual void HandleKey (int16_t character, bool& handled);
    virtual void EndEditing (bool accept);
    virtual void BeginEditing();
    virtual bool CanTakeFocus() const;
    // At the root: a key for the focus view, or one that moves the focus; handled is 1 or 0.
    void HandleEvent (EventRecord* event, uint8_t* handled) override;
    // At the root: a click for the enabled view under it. Answers 0.
    int32_t HandleClick (EventRecord* event) override;
    // Highlights the view while the mouse is down inside it.
    virtual void TrackMouse (const EventRecord& event, bool immediate);
    // Drags the child with the mouse, keeping it inside this view.
    virtual void DragChild (const EventRecord& event, CPlugInView* child);
    // Draws the contents, then every child that meets the area.
    virtual void Draw (const Rect& area);
    // Redraws the visible part (within `area` when given) of a view that has a window, at once.
    void Invalidate (const Rect* area) override;
    // The periodic idle pass through the tree; each view gives the plug-in's group idle time.
    virtual void Idle (int32_t value);
    // Only the low byte counts.
    virtual void SetHilite (uint8_t flag);
    virtual void SetEnabled (bool enabled);
    bool IsEnabled() const override;
    // Moves the frame and the subtree without drawing.
    virtual void Offset (int16_t dh, int16_t dv);
    virtual RGBColor GetForeColor() const;
    virtual RGBColor GetBackColor() const;
    virtual void SetForeColor (const RGBColor& colour);
    virtual void SetBackColor (const RGBColor& colour);
    virtual PixPatHandle GetBackPattern() const;
    // Installs the background pattern (or, without one, the background colour) in the current
    // port; RestoreBackPattern puts back what the port had.
    virtual void ApplyBackPattern();
    virtual void RestoreBackPattern();
    void GetControlIndex (int32_t* index) const override;
    virtual bool IsProcessControl() const;
    virtual bool IsHighlighted() const;
    // `text` is a length-prefixed string buffer of 256 bytes.
    virtual void GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const;
    // The colour GetHighlight gives.
    int16_t GetHighlightColour() const;
    // The pixel pattern of that id in the current resource file; null when there is none.
    virtual PixPatHandle LoadPicture (int16_t id);
    virtual CPlugInView* GetParentOrAttach();
    virtual void AttachAll();
    virtual void DetachAll();
    // At the root: erases the area with the background colour and pattern (EraseBackground).
    virtual void DrawBackground (const Rect& area);
    // Erases the area, within the frame, with the background colour and pattern; the port's back
    // colour and pattern are restored.
    void EraseBackground (const Rect& area);
    virtual void DrawContents (const Rect& area);
    virtual void Click (const EventRecord& event);

private:
    friend class ScopedViewDrawing;

    struct SDrawingState
    {
        bool changedPort = false;
        GrafPtr port = nullptr;
        Point origin {};
        RgnHandle clip = nullptr;
    };

    void PushDrawingState();
    void ClipToVisibleArea (const Rect& visible);
    void PopDrawingState() noexcept;
    bool DispatchKey (const EventRecord& event);
    CPlugInView* FindFocusTarget (bool backwards) const;
    bool MoveFocusByTab (bool backwards);
    void ForgetFocusWithin (const CPlugInView* subtree);

    RGBColor fForeColor = kDefaultForeColor;
    RGBColor fBackColor = kDefaultBackColor;
    WindowRef fWindow = nullptr;
    CPlugInView* fParent = nullptr;
    CPlugInView* fFocus = nullptr;
    uint8_t fActive = 0;
    Point fPortOrigin {};
    Rect fFrame {};
    Rect fLimitRect = kDefaultLimitRect;
    uint8_t fEnabled = 0;
    uint8_t fHighlight = 0;
    uint8_t fDraggable = 0;
    uint8_t fDragging = 0;
    uint32_t fID = kNoViewID;
    std::unique_ptr<CPlugInView> fFirstChild;
    std::unique_ptr<CPlugInView> fNextSibling;
    SDrawingState fDrawingStack[kDrawingStackDepth];
    int16_t fDrawingDepth = 0;
    // The port's background pattern while ApplyBackPattern has replaced it.
    bool fReplacedBackPattern = false;
    PixPatHandle fSavedBackPattern = nullptr;
};

// [window thread] The plug-in group's idle service (none while no group is alive): mouse tracking
// loops and the idle pass run it on each round.
void GivePlugInGroupIdleTime();

// [window thread] Leaves a view unhighlighted however a tracking loop ends; a redraw that fails
// while an exception is already on its way is dropped.
class ScopedHiliteOff
{
public:
    explicit ScopedHiliteOff (CPlugInView& view) : fView (view) {}
    ~ScopedHiliteOff();
    ScopedHiliteOff (const ScopedHiliteOff&) = delete;
    ScopedHiliteOff& operator= (const ScopedHiliteOff&) = delete;

private:
    CPlugInView& fView;
};

// [window thread] Runs BeginDrawing for the scope; EndDrawing however the scope ends.
class ScopedViewDrawing
{
public:
    ScopedViewDrawing (CPlugInView& view, const Rect* area);
    ~ScopedViewDrawing();
    ScopedViewDrawing (const ScopedViewDrawing&) = delete;
    ScopedViewDrawing& operator= (const ScopedViewDrawing&) = delete;

private:
    CPlugInView& fView;
    int16_t fDepthBefore;
};

// [window thread] Sets the drawing target for the scope (a pop-up while it is open) and clears
// it again however the scope ends, redrawing what was deferred.
class ScopedDrawingTarget
{
public:
    ScopedDrawingTarget (WindowRef target, const Rect* area);
    ~ScopedDrawingTarget();
    ScopedDrawingTarget (const ScopedDrawingTarget&) = delete;
    ScopedDrawingTarget& operator= (const ScopedDrawingTarget&) = delete;
};
