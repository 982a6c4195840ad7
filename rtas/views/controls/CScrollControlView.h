#pragma once
// A control view whose value is the scroll position of an item-list view, horizontally or
// vertically; its step count is the number of pages. An item list attaches it by its ID.
//
// The value is the minimum when the contents' edge lies at the list's edge and the maximum when
// their far end does; in between it is linear in the offset.
//
// [window thread] for every operation.

#include "views/controls/CControlView.h"

class CItemListView;

class CScrollControlView : public CControlView
{
public:
    CScrollControlView() = default;
    // Lets the scrolled view go.
    ~CScrollControlView() override;

    // Attaches the item list (null lets it go) in an orientation (1 horizontal, 2 vertical; other
    // values throw CDAEError -7400). When the list is smaller than its contents, the page count
    // is the contents' extent over the list's, rounded up, and the value the position the
    // contents are scrolled to; otherwise (also for a list of no extent) one page and the
    // minimum. Contents that start inside the list's edge throw -7400 and attach nothing. The
    // list this control scrolled lets it go, and the new list holds it in the orientation's slot,
    // before the editors show the new value: an editor that throws leaves the two holding each
    // other.
    void SetScrolledView (CItemListView* view, int16_t orientation);
    CItemListView* GetScrolledView() const { return fScrolled; }
    int16_t GetOrientation() const { return fOrientation; }

    // The page count.
    int32_t GetStepCount() const override;
    // Scrolls the list to the position of the value when it can scroll, then stores the value.
    void SetValue (int32_t value) override;

private:
    // The list and this control change their link to each other only together.
    friend class CItemListView;

    // The list going away: forgets it without telling anyone.
    void ForgetScrolledView (const CItemListView* view);

    struct SExtents
    {
        int32_t view = 0;
        int32_t contents = 0;
        int32_t offset = 0;
    };

    SExtents Measure (const CItemListView& view, int16_t orientation) const;
    static bool CanScroll (const SExtents& extents) { return extents.view > 0 && extents.view < extents.contents; }

    CItemListView* fScrolled = nullptr;
    int16_t fOrientation = 0;
    int32_t fPageCount = 1;
};
