#pragma once
// A view whose children are built from a dialog-item list of the plug-in's resource file, one
// view per item: an item whose text is a view description becomes the described view, the others
// become standard views (plain views, host controls, static texts, icons and pictures). Item
// rectangles are relative to the list view; an item inside an earlier item's rectangle becomes
// that item's child. Scroll control views found by their IDs scroll the children.
//
// [window thread] for every operation.

#include <cstdint>

#include "views/custom/CCustomView.h"

class CScrollControlView;

inline constexpr int16_t kNoItemListID = -1;

namespace ScrollOrientation
{
inline constexpr int16_t kHorizontal = 1;
inline constexpr int16_t kVertical = 2;
} // namespace ScrollOrientation

class CItemListView : public CCustomView
{
public:
    CItemListView() = default;
    // Lets the scroll controls it holds go.
    ~CItemListView() override;

    // Draws with the children clipped to the area.
    void Draw (const Rect& area) override;
    // Builds the children from the item list (once), then the base's: the root attaches its tree.
    // An item list of no id or one the resource file does not have throws CDAEError -7053; a
    // table that is not whole, an item of an unknown kind, or an item list that holds itself
    // (also through others) throws -7400. The resource is released and no child is left then.
    CPlugInView* GetParentOrAttach() override;
    // Attaches the scroll controls, then the children. A control that refuses the list (its
    // contents start inside its edge: CDAEError -7400) leaves both as they were: the list keeps
    // the control it held and that control still scrolls it. A control whose editor throws as it
    // shows the attach stays attached on both sides, and the exception goes on.
    void AttachAll() override;
    // Lets the scroll controls go, then detaches the children.
    void DetachAll() override;
    // After the custom view's list, one list: the item-list id and optionally the horizontal and
    // the vertical scroll control's ID (both or neither). Anything else throws -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

    // Scrolls the children by (dh, dv): what is visible moves in the window with the background
    // showing in what it uncovers, the children move without drawing and the uncovered part is
    // drawn again.
    virtual void ScrollBy (int16_t dh, int16_t dv);
    // The union of the children's frames; all zero without children.
    virtual void GetContentBounds (Rect* bounds) const;

    int16_t GetItemListID() const { return fItemListID; }
    void SetItemListID (int16_t id) { fItemListID = id; }
    void SetScrollControlIDs (uint32_t horizontal, uint32_t vertical);
    CScrollControlView* GetScrollControl (int16_t orientation) const;

protected:
    bool AreItemsLoaded() const { return fItemsLoaded; }

private:
    // The list and a scroll control change their link to each other only together.
    friend class CScrollControlView;

    // The control (null: none) scrolls this list in the orientation: it takes that slot, and the
    // control the slot held is let go unless the other slot holds it too.
    void TakeScrollControl (int16_t orientation, CScrollControlView* control);
    // A scroll control that goes away is no longer attached.
    void ForgetScrollControl (const CScrollControlView* control);

    void LoadItems();
    void BuildItems (const uint8_t* data, size_t size);
    void AttachScrollControl (uint32_t id, int16_t orientation);
    bool HoldsScrollControl (const CScrollControlView* control) const;
    void DetachScrollControls();

    int16_t fItemListID = kNoItemListID;
    uint32_t fScrollControlIDs[2] = { kNoViewID, kNoViewID };
    CScrollControlView* fScrollControls[2] = { nullptr, nullptr };
    bool fItemsLoaded = false;
};
