#include "views/controls/CScrollControlView.h"

#include <algorithm>

#include "process/base/CDAEError.h"
#include "process/controls/ControlValueMapping.h"
#include "views/base/ViewGeometry.h"
#include "views/dialogs/CItemListView.h"

CScrollControlView::~CScrollControlView()
{
    if (fScrolled != nullptr)
        fScrolled->ForgetScrollControl (this);
}

// The list's extent, its contents' extent and how far the contents are scrolled (the list's edge
// minus the contents' edge), along the orientation.
CScrollControlView::SExtents CScrollControlView::Measure (const CItemListView& view, int16_t orientation) const
{
    const Rect frame = view.GetRect();
    Rect contents {};
    view.GetContentBounds (&contents);
    if (orientation == ScrollOrientation::kHorizontal)
        return { frame.right - frame.left, contents.right - contents.left, frame.left - contents.left };
    return { frame.bottom - frame.top, contents.bottom - contents.top, frame.top - contents.top };
}

void CScrollControlView::SetScrolledView (CItemListView* view, int16_t orientation)
{
    if (orientation != ScrollOrientation::kHorizontal && orientation != ScrollOrientation::kVertical)
        throw CDAEError (RTASError::kConditionFalse);
    int32_t pages = 1;
    int32_t value = kControlValueMin;
    if (view != nullptr)
    {
        const SExtents extents = Measure (*view, orientation);
        if (extents.offset < 0)
            throw CDAEError (RTASError::kConditionFalse);
        if (CanScroll (extents))
        {
            pages = (extents.contents + extents.view - 1) / extents.view;
            const int32_t travel = extents.contents - extents.view;
            value = ScaleToLong (std::min (extents.offset, travel), 0, travel);
        }
    }
    if (fScrolled != nullptr && fScrolled != view)
        fScrolled->ForgetScrollControl (this);
    fScrolled = view;
    fOrientation = orientation;
    fPageCount = pages;
    StoreValue (value);
    if (view != nullptr)
        view->TakeScrollControl (orientation, this);
    UpdateEditors();
}

void CScrollControlView::ForgetScrolledView (const CItemListView* view)
{
    if (fScrolled == view)
        fScrolled = nullptr;
}

int32_t CScrollControlView::GetStepCount() const
{
    return fPageCount;
}

void CScrollControlView::SetValue (int32_t value)
{
    if (fScrolled != nullptr)
    {
        const SExtents extents = Measure (*fScrolled, fOrientation);
        if (CanScroll (extents))
        {
            const int32_t travel = extents.contents - extents.view;
            const int32_t target = std::clamp (ScaleFromLong (value, 0, travel), 0, travel);
            const int16_t step = ViewGeometry::Saturate (extents.offset - target);
            if (fOrientation == ScrollOrientation::kHorizontal)
                fScrolled->ScrollBy (step, 0);
            else
                fScrolled->ScrollBy (0, step);
        }
    }
    CControlView::SetValue (value);
}
