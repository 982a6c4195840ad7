#include "views/description/ViewRegistry.h"

#include <map>
#include <string>

#include "views/controls/CProcessControlView.h"
#include "views/controls/CScrollControlView.h"
#include "views/custom/CCustomView.h"
#include "views/dialogs/CItemListView.h"
#include "views/editors/CDialControlEditor.h"
#include "views/editors/CRadioGroupControlEditor.h"
#include "views/editors/CSliderControlEditor.h"
#include "views/editors/CTextControlEditor.h"
#include "views/editors/CTextPopupControlEditor.h"
#include "views/editors/CViewPopupControlEditor.h"
#include "views/hostcontrols/CMacControlView.h"
#include "views/pictures/CPictureView.h"
#include "views/text/CStaticTextView.h"

namespace
{
struct SRegistryEntry
{
    int16_t kind;
    int32_t value;
};

using Registry = std::map<std::string, SRegistryEntry>;

template <class View>
std::unique_ptr<CCustomView> Create()
{
    return std::make_unique<View>();
}

struct SStandardViewType
{
    const char* name;
    ViewCreator creator;
};

struct SStandardEntry
{
    const char* name;
    int16_t kind;
    int32_t value;
};

// clang-format off
const SStandardViewType kStandardViewTypes[] = {
    { "Background",     &Create<CCustomView> },
    { "ItemList",       &Create<CItemListView> },
    { "ProcessControl", &Create<CProcessControlView> },
    { "ScrollControl",  &Create<CScrollControlView> },
    { "Slider",         &Create<CSliderControlEditor> },
    { "Dial",           &Create<CDialControlEditor> },
    { "TextEditor",     &Create<CTextControlEditor> },
    { "RadioGroup",     &Create<CRadioGroupControlEditor> },
    { "TextPopup",      &Create<CTextPopupControlEditor> },
    { "Button",         &Create<CButtonView> },
    { "CheckBox",       &Create<CCheckBoxView> },
    { "RadioButton",    &Create<CRadioButtonView> },
    { "StaticText",     &Create<CStaticTextView> },
    { "Picture",        &Create<CPictureView> },
    { "ViewPopup",      &Create<CViewPopupControlEditor> },
};

const SStandardEntry kStandardEntries[] = {
    { "default",      kNodeKeyword,   ViewKeyword::kDefault },
    { "left",         kNodeKeyword,   ViewKeyword::kLeft },
    { "right",        kNodeKeyword,   ViewKeyword::kRight },
    { "top",          kNodeKeyword,   ViewKeyword::kTop },
    { "bottom",       kNodeKeyword,   ViewKeyword::kBottom },
    { "center",       kNodeKeyword,   ViewKeyword::kCenter },
    { "reverse",      kNodeKeyword,   ViewKeyword::kReverse },
    { "cyclical",     kNodeKeyword,   ViewKeyword::kCyclical },
    { "plate",        kNodeKeyword,   ViewKeyword::kPlate },
    { "inversePlate", kNodeKeyword,   ViewKeyword::kInversePlate },
    { "normal",       kNodeKeyword,   ViewKeyword::kNormal },
    { "clicked",      kNodeKeyword,   ViewKeyword::kClicked },
    { "disabled",     kNodeKeyword,   ViewKeyword::kDisabled },
    { "editable",     kNodeKeyword,   ViewKeyword::kEditable },
    { "horizontal",   kNodeKeyword,   ViewKeyword::kHorizontal },
    { "vertical",     kNodeKeyword,   ViewKeyword::kVertical },
    { "round",        kNodeKeyword,   ViewKeyword::kRound },
    { "square",       kNodeKeyword,   ViewKeyword::kSquare },
    { "frame",        kNodeKeyword,   ViewKeyword::kFrame },
    { "green",        kNodeKeyword,   ViewKeyword::kGreen },
    { "darkGreen",    kNodeKeyword,   ViewKeyword::kDarkGreen },
    { "red",          kNodeKeyword,   ViewKeyword::kRed },
    { "darkRed",      kNodeKeyword,   ViewKeyword::kDarkRed },
    { "blue",         kNodeKeyword,   ViewKeyword::kBlue },
    { "darkBlue",     kNodeKeyword,   ViewKeyword::kDarkBlue },
    { "amber",        kNodeKeyword,   ViewKeyword::kAmber },
    { "darkAmber",    kNodeKeyword,   ViewKeyword::kDarkAmber },
    { "ASCII",        kNodeKeyword,   ViewKeyword::kASCII },
    { "getList",      kNodeTextQuery, TextQuery::kGetList },
    { "getString",    kNodeTextQuery, TextQuery::kGetString },
    { "shortVersion", kNodeTextQuery, TextQuery::kShortVersion },
    { "longVersion",  kNodeTextQuery, TextQuery::kLongVersion },
};
// clang-format on

std::string NameOf (const char* name)
{
    return name != nullptr ? std::string (name) : std::string();
}

std::string NameOf (const uint8_t* name)
{
    return name != nullptr ? std::string (reinterpret_cast<const char*> (name + 1), name[0]) : std::string();
}

void AddStandardEntries (Registry& registry)
{
    for (const auto& type : kStandardViewTypes)
        registry[NameOf (type.name)] = { kNodeViewType, CreatorValue (type.creator) };
    for (const auto& entry : kStandardEntries)
        registry[NameOf (entry.name)] = { entry.kind, entry.value };
}

Registry& TheRegistry()
{
    static Registry registry = [] {
        Registry standard;
        AddStandardEntries (standard);
        return standard;
    }();
    return registry;
}
} // namespace

void RegisterViewKeyword (const char* name, int16_t kind, int32_t value)
{
    TheRegistry()[NameOf (name)] = { kind, value };
}

void RegisterViewKeyword (const uint8_t* name, int16_t kind, int32_t value)
{
    TheRegistry()[NameOf (name)] = { kind, value };
}

void RegisterViewType (const char* name, ViewCreator creator)
{
    RegisterViewKeyword (name, kNodeViewType, CreatorValue (creator));
}

void RegisterViewType (const uint8_t* name, ViewCreator creator)
{
    RegisterViewKeyword (name, kNodeViewType, CreatorValue (creator));
}

bool LookupViewKeyword (const uint8_t* name, SDescriptionNode* node)
{
    const Registry& registry = TheRegistry();
    const auto found = registry.find (NameOf (name));
    if (found == registry.end())
        return false;
    if (node != nullptr)
    {
        node->kind = found->second.kind;
        node->value = found->second.value;
    }
    return true;
}

void RegisterViewTypes()
{
    AddStandardEntries (TheRegistry());
}
