#include "views/dialogs/DialogItemViews.h"

#include <algorithm>

#include "process/base/CDAEError.h"
#include "views/custom/CCustomView.h"
#include "views/description/ViewFromDescription.h"
#include "views/dialogs/DialogResources.h"
#include "views/hostcontrols/CMacControlView.h"
#include "views/hostcontrols/CResControlView.h"
#include "views/pictures/CIconView.h"
#include "views/pictures/CPictureView.h"
#include "views/text/CStaticTextView.h"

namespace
{
std::unique_ptr<CPlugInView> DescribedView (const SDialogItem& item)
{
    bool described = false;
    std::unique_ptr<CCustomView> view = CreateViewFromDescription (item, &described);
    return described ? std::move (view) : nullptr;
}

template <class HostControl>
std::unique_ptr<CPlugInView> TitledControl (const SDialogItem& item)
{
    auto view = std::make_unique<HostControl>();
    uint8_t title[256];
    title[0] = static_cast<uint8_t> (item.length);
    std::copy (item.text, item.text + item.length, title + 1);
    view->SetTitle (title);
    return view;
}

std::unique_ptr<CPlugInView> ControlItemView (const SDialogItem& item)
{
    switch (item.type & DialogControlKind::kMask)
    {
        case DialogControlKind::kButton: return TitledControl<CButtonView> (item);
        case DialogControlKind::kCheckBox: return TitledControl<CCheckBoxView> (item);
        case DialogControlKind::kRadioButton: return TitledControl<CRadioButtonView> (item);
        default:
        {
            auto view = std::make_unique<CResControlView>();
            view->SetTemplateID (FirstShortOfItem (item));
            return view;
        }
    }
}

std::unique_ptr<CPlugInView> StandardItemView (const SDialogItem& item)
{
    switch (item.type & DialogItemKind::kMask)
    {
        case DialogItemKind::kUser: return std::make_unique<CPlugInView>();
        case DialogItemKind::kControl: return ControlItemView (item);
        case DialogItemKind::kStaticText:
        case DialogItemKind::kEditText:
        {
            auto view = std::make_unique<CStaticTextView>();
            view->SetText (std::string_view (reinterpret_cast<const char*> (item.text), item.length));
            return view;
        }
        case DialogItemKind::kIcon:
        {
            auto view = std::make_unique<CIconView>();
            view->SetIconID (FirstShortOfItem (item));
            return view;
        }
        case DialogItemKind::kPicture:
        {
            auto view = std::make_unique<CPictureView>();
            view->SetPicture (PictureState::kNormal, FirstShortOfItem (item));
            return view;
        }
        default: throw CDAEError (RTASError::kConditionFalse);
    }
}

bool MayCarryDescription (uint8_t type)
{
    const uint8_t kind = type & DialogItemKind::kMask;
    return kind == DialogItemKind::kControl || kind == DialogItemKind::kStaticText || kind == DialogItemKind::kEditText;
}
} // namespace

std::unique_ptr<CPlugInView> MakeDialogItemView (const SDialogItem& item)
{
    if (MayCarryDescription (item.type))
        if (std::unique_ptr<CPlugInView> described = DescribedView (item))
            return described;
    std::unique_ptr<CPlugInView> view = StandardItemView (item);
    view->SetRect (item.bounds);
    view->SetEnabled ((item.type & kDialogItemDisabled) == 0);
    view->ReadItem (item);
    return view;
}
