#pragma once
// What a process asks of its editor view and of the control views inside it. The view toolkit
// implements these; the process owns its root view and binds each control view to its control by
// the control's four-character view ID. A process without a view (the library's view-less mode,
// or no view made yet) answers every view question as if there were none.
//
// [window thread] for every operation: the host drives views from its window thread.

#include <cstdint>
#include <memory>

#include <abi/HostTypes.h>

class CProcess;
struct OpaqueGrafPtr;

inline constexpr uint32_t kNoViewID = 0x4E4F4E45; // 'NONE': never matches in searches

// A control view that can mirror one control of a process.
class IProcessControlView
{
public:
    virtual ~IProcessControlView() = default;

    // Binds to control number index of the process, or unbinds with (null, 0); the view takes the
    // control's current value and, when asked, refreshes its editors.
    virtual void SetControl (CProcess* process, int32_t index, bool refreshEditors) = 0;
    // The control number it is bound to; 0 while unbound.
    virtual int32_t GetBoundControlIndex() const = 0;
    // Shows a value that the host has given the control.
    virtual void ShowValue (int32_t controlValue) = 0;

    virtual void SetHighlighted (bool highlighted) = 0;
    virtual bool IsHighlighted() const = 0;
    // The highlight colour, its extra value and its length-prefixed text (at most 255 characters;
    // the text buffer holds 256 bytes).
    virtual void SetHighlight (int16_t colour, int16_t extra, const uint8_t* text) = 0;
    virtual void GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const = 0;
};

// A view of the process's window: the root view or one of its descendants.
class IProcessView
{
public:
    virtual ~IProcessView() = default;

    // Completes the view after the process made it; may throw.
    virtual void FinishCreate() = 0;

    virtual void Invalidate (const Rect* area) = 0;
    virtual int32_t HandleClick (EventRecord* event) = 0;
    virtual void HandleEvent (EventRecord* event, uint8_t* handled) = 0;
    virtual Rect GetFrame() const = 0;
    // Null takes the window away (and ends any editing in progress).
    virtual void SetWindow (OpaqueGrafPtr* window) = 0;
    virtual void MoveTo (int16_t horizontal, int16_t vertical) = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;

    virtual uint32_t GetID() const = 0;
    virtual bool IsEnabled() const = 0;
    virtual IProcessView* GetParent() const = 0;
    virtual IProcessView* GetFirstChild() const = 0;
    virtual IProcessView* GetNextSibling() const = 0;
    // 'NONE' finds nothing; the direct children first, then each child's subtree.
    virtual IProcessView* FindSubViewByID (uint32_t id) const = 0;
    // The innermost view whose frame holds the point; null outside this view's frame.
    virtual IProcessView* FindViewAtPoint (Point where) = 0;
    // The control index the view stands for (0 for none).
    virtual void GetControlIndex (int32_t* index) const = 0;

    // The control-view side of this view; null for a view that mirrors no control.
    virtual IProcessControlView* AsControlView() { return nullptr; }
};

// The maker of a process's default view, installed by the view toolkit; until one is installed a
// process that needs views has none to make.
using DefaultProcessViewMaker = std::unique_ptr<IProcessView> (*) (CProcess& process);
void SetDefaultProcessViewMaker (DefaultProcessViewMaker maker);
DefaultProcessViewMaker GetDefaultProcessViewMaker();
