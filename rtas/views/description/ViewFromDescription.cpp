#include "views/description/ViewFromDescription.h"

#include "process/base/CDAEError.h"
#include "views/custom/CCustomView.h"
#include "views/description/CViewDescriptionReader.h"

namespace
{
struct SDescribedView
{
    ViewCreator creator = nullptr;
    const SDescriptionNode* attributeLists = nullptr;
};

// The view type and the first attribute list of a well-formed description; no creator otherwise.
SDescribedView ShapeOf (const SDescriptionNode* head)
{
    const SDescriptionNode* marker = head;
    const SDescriptionNode* type = marker != nullptr ? marker->next : nullptr;
    const SDescriptionNode* lists = type != nullptr ? type->next : nullptr;
    if (marker == nullptr || marker->kind != kNodeMarker || type == nullptr || type->kind != kNodeViewType || lists == nullptr
        || lists->kind != kNodeList || lists->next != nullptr)
        return {};
    const SDescriptionNode* first = ListNodes (*lists);
    if (first == nullptr)
        return {};
    for (const SDescriptionNode* list = first; list != nullptr; list = list->next)
        if (list->kind != kNodeList)
            return {};
    return { NodeCreator (*type), first };
}
} // namespace

std::unique_ptr<CCustomView> CreateViewFromDescription (const SDialogItem& item, bool* ok)
{
    if (ok != nullptr)
        *ok = false;
    try
    {
        CViewDescriptionReader reader (item);
        reader.Read();
        const SDescribedView described = ShapeOf (reader.GetHead());
        if (described.creator == nullptr)
            return nullptr;
        std::unique_ptr<CCustomView> view = described.creator();
        if (view == nullptr)
            return nullptr;
        if ((item.type & kDialogItemDisabled) == 0)
            view->SetEnabled (true);
        view->SetRect (item.bounds);
        view->ReadItem (item);
        reader.SetAttributeLists (described.attributeLists);
        view->ReadDescription (reader);
        if (ok != nullptr)
            *ok = true;
        return view;
    }
    catch (const CDAEError&)
    {
        return nullptr;
    }
}
