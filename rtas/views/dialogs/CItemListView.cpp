#include "views/dialogs/CItemListView.h"

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/controls/CScrollControlView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/dialogs/DialogItemViews.h"
#include "views/dialogs/DialogResources.h"

namespace
{
// The item lists being built, innermost last: a list that holds itself, directly or through
// others, would be built without end.
std::vector<int16_t>& ItemListsBeingBuilt()
{
    static std::vector<int16_t> building;
    return building;
}

class ScopedItemListBuild
{
public:
    explicit ScopedItemListBuild (int16_t id)
    {
        std::vector<int16_t>& building = ItemListsBeingBuilt();
        if (std::find (building.begin(), building.end(), id) != building.end())
            ThrowConditionFalse();
        building.push_back (id);
    }
    ~ScopedItemListBuild() { ItemListsBeingBuilt().pop_back(); }
    ScopedItemListBuild (const ScopedItemListBuild&) = delete;
    ScopedItemListBuild& operator= (const ScopedItemListBuild&) = delete;
};

CPlugInView* LastChildOf (const CPlugInView& view)
{
    CPlugInView* last = view.GetFirstChild();
    while (last != nullptr && last->GetNextSibling() != nullptr)
        last = last->GetNextSibling();
    return last;
}
} // namespace

CItemListView::~CItemListView()
{
    for (CScrollControlView*& control : fScrollControls)
    {
        if (control != nullptr)
            control->ForgetScrolledView (this);
        control = nullptr;
    }
}

void CItemListView::Draw (const Rect& area)
{
    ScopedViewDrawing drawing (*this, &area);
    CCustomView::Draw (area);
}

CPlugInView* CItemListView::GetParentOrAttach()
{
    LoadItems();
    return CCustomView::GetParentOrAttach();
}

// ---- Building the items ----

void CItemListView::LoadItems()
{
    if (fItemsLoaded)
        return;
    if (fItemListID == kNoItemListID)
        throw CDAEError (RTASError::kNullPointer);
    const ScopedItemListBuild build (fItemListID);
    ScopedPlugInResFile plugInFile;
    if (! plugInFile.IsOpen())
        throw CDAEError (RTASError::kNullPointer);
    const ScopedLockedResource itemList (kDialogItemListType, fItemListID);
    if (! itemList.IsFound())
        throw CDAEError (RTASError::kNullPointer);
    BuildItems (itemList.Data(), itemList.Size());
    fItemsLoaded = true;
}

// Every item in order, nested by rectangle; then the children move by the list's top-left
// corner. A failure takes away every child built so far.
void CItemListView::BuildItems (const uint8_t* data, size_t size)
{
    const std::vector<SDialogItem> items = ReadDialogItemList (data, size);
    CPlugInView* const lastBefore = LastChildOf (*this);
    try
    {
        for (const SDialogItem& item : items)
        {
            std::unique_ptr<CPlugInView> view = MakeDialogItemView (item);
            CPlugInView& added = *view;
            AddChild (std::move (view), true);
            added.FinishCreate();
        }
    }
    catch (...)
    {
        CPlugInView* first = lastBefore != nullptr ? lastBefore->GetNextSibling() : GetFirstChild();
        while (first != nullptr)
        {
            CPlugInView* next = first->GetNextSibling();
            RemoveChild (first);
            first = next;
        }
        throw;
    }
    const Rect frame = GetRect();
    CPlugInView* child = lastBefore != nullptr ? lastBefore->GetNextSibling() : GetFirstChild();
    for (; child != nullptr; child = child->GetNextSibling())
        child->MoveBy (frame.left, frame.top);
}

void CItemListView::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    const SDescriptionNode* id = reader.TakeAttributeList();
    ThrowIfNull (id);
    if (id->kind != kNodeInteger || id->value < INT16_MIN || id->value > INT16_MAX)
        ThrowConditionFalse();
    const SDescriptionNode* horizontal = id->next;
    if (horizontal != nullptr)
    {
        if (horizontal->kind != kNodeFourCharCode)
            ThrowConditionFalse();
        const SDescriptionNode* vertical = horizontal->next;
        ThrowIfNull (vertical);
        if (vertical->kind != kNodeFourCharCode || vertical->next != nullptr)
            ThrowConditionFalse();
        SetScrollControlIDs (NodeFourCharCode (*horizontal), NodeFourCharCode (*vertical));
    }
    fItemListID = static_cast<int16_t> (id->value);
}

// ---- Scrolling ----

void CItemListView::SetScrollControlIDs (uint32_t horizontal, uint32_t vertical)
{
    fScrollControlIDs[0] = horizontal;
    fScrollControlIDs[1] = vertical;
}

CScrollControlView* CItemListView::GetScrollControl (int16_t orientation) const
{
    if (orientation == ScrollOrientation::kHorizontal)
        return fScrollControls[0];
    if (orientation == ScrollOrientation::kVertical)
        return fScrollControls[1];
    return nullptr;
}

void CItemListView::ForgetScrollControl (const CScrollControlView* control)
{
    for (CScrollControlView*& attached : fScrollControls)
        if (attached == control)
            attached = nullptr;
}

void CItemListView::TakeScrollControl (int16_t orientation, CScrollControlView* control)
{
    const int slot = orientation == ScrollOrientation::kHorizontal ? 0 : 1;
    CScrollControlView* previous = std::exchange (fScrollControls[slot], control);
    if (previous != nullptr && previous != control && ! HoldsScrollControl (previous))
        previous->ForgetScrolledView (this);
}

void CItemListView::AttachAll()
{
    AttachScrollControl (fScrollControlIDs[0], ScrollOrientation::kHorizontal);
    AttachScrollControl (fScrollControlIDs[1], ScrollOrientation::kVertical);
    CCustomView::AttachAll();
}

// The control is looked for in the parent's subtree, then the grandparent's, up to the root's.
// A control found takes its slot as it takes the list; one that refuses the list changes
// nothing: the slot keeps what it held.
void CItemListView::AttachScrollControl (uint32_t id, int16_t orientation)
{
    CPlugInView* found = nullptr;
    for (const CPlugInView* scope = GetParent() != nullptr ? GetParent() : this; scope != nullptr && found == nullptr; scope = scope->GetParent())
        found = scope->FindSubViewByID (id);
    auto* control = dynamic_cast<CScrollControlView*> (found);
    if (control != nullptr)
        control->SetScrolledView (this, orientation);
    else
        TakeScrollControl (orientation, nullptr);
}

bool CItemListView::HoldsScrollControl (const CScrollControlView* control) const
{
    return std::find (std::begin (fScrollControls), std::end (fScrollControls), control) != std::end (fScrollControls);
}

void CItemListView::DetachAll()
{
    DetachScrollControls();
    CCustomView::DetachAll();
}

void CItemListView::DetachScrollControls()
{
    for (int slot = 0; slot < 2; ++slot)
    {
        CScrollControlView* control = fScrollControls[slot];
        fScrollControls[slot] = nullptr;
        if (control != nullptr && control->GetScrolledView() == this)
            control->SetScrolledView (nullptr, slot == 0 ? ScrollOrientation::kHorizontal : ScrollOrientation::kVertical);
    }
}

void CItemListView::GetContentBounds (Rect* bounds) const
{
    if (bounds == nullptr)
        return;
    Rect contents {};
    for (const CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        contents = ViewGeometry::Union (contents, child->GetRect());
    *bounds = contents;
}

void CItemListView::ScrollBy (int16_t dh, int16_t dv)
{
    if (dh == 0 && dv == 0)
        return;
    const auto offsetChildren = [&] {
        for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
            child->Offset (dh, dv);
    };
    if (GetWindow() == nullptr)
    {
        offsetChildren();
        return;
    }
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    ScopedRegion uncovered;
    {
        ScopedPortColour back (ScopedPortColour::Which::back);
        const RGBColor colour = GetBackColor();
        toolbox.RGBBackColor (&colour);
        ApplyBackPattern();
        const Rect visible = GetVisibleRect();
        toolbox.ScrollRect (&visible, dh, dv, uncovered.Get());
        RestoreBackPattern();
    }
    offsetChildren();
    Rect area {};
    toolbox.GetRegionBounds (uncovered.Get(), &area);
    if (! ViewGeometry::IsEmpty (area))
        Invalidate (&area);
}
