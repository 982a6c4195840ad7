#include "views/editors/CRadioGroupControlEditor.h"

#include <cstring>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/description/CViewDescriptionReader.h"

using namespace ViewGeometry;

namespace
{
inline constexpr char kEnableHighlight[] = "EnableHighlight";

// The frame colour of a highlight colour index: 0 red, 1 blue, 2 green, 3 amber, any other green.
RGBColor FrameColourOf (int16_t highlightColour)
{
    // clang-format off
    switch (highlightColour)
    {
        case 0:  return { 0xFFFF, 0x0000, 0x0000 };
        case 1:  return { 0x0000, 0x0000, 0xAAAA };
        case 3:  return { 0xFFFF, 0xCCCC, 0x0000 };
        default: return { 0x0000, 0xDDDD, 0x0000 };
    }
    // clang-format on
}

bool IsEnableHighlight (const SDescriptionNode& string)
{
    const uint8_t* text = NodeText (string);
    return text[0] == sizeof kEnableHighlight - 1 && std::memcmp (text + 1, kEnableHighlight, text[0]) == 0;
}
} // namespace

CPlugInView* CRadioGroupControlEditor::ChildAt (int32_t index) const
{
    if (index < 0)
        return nullptr;
    CPlugInView* child = GetFirstChild();
    for (int32_t i = 0; child != nullptr && i < index; ++i)
        child = child->GetNextSibling();
    return child;
}

int32_t CRadioGroupControlEditor::IndexOfChildAt (Point where) const
{
    int32_t index = 0;
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling(), ++index)
        if (Contains (child->GetRect(), where))
            return index;
    return -1;
}

CPlugInView* CRadioGroupControlEditor::GetSelectedChild() const
{
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (child == fSelected)
            return child;
    return nullptr;
}

void CRadioGroupControlEditor::SelectCurrentStep()
{
    CPlugInView* target = ChildAt (GetStep());
    CPlugInView* previous = GetSelectedChild();
    fSelected = target;
    if (previous != nullptr && previous != target)
        previous->SetHilite (0);
    if (target != nullptr)
        target->SetHilite (1);
}

void CRadioGroupControlEditor::ValueChanged()
{
    SelectCurrentStep();
}

void CRadioGroupControlEditor::ValueChangedQuiet()
{
    SelectCurrentStep();
}

Point CRadioGroupControlEditor::GetAnchorPoint() const
{
    const CPlugInView* selected = GetSelectedChild();
    return Centre (selected != nullptr ? selected->GetRect() : GetRect());
}

void CRadioGroupControlEditor::TrackMouse (const EventRecord& event, bool synthetic)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    Point mouse = event.where;
    while (Contains (GetVisibleRect(), mouse))
    {
        const int32_t index = IndexOfChildAt (mouse);
        if (index < 0 || index >= GetStepCount())
            break;
        if (ChildAt (index) != GetSelectedChild())
        {
            SetStep (index);
            GivePlugInGroupIdleTime();
        }
        if (! synthetic || toolbox.StillDown() == 0)
            break;
        toolbox.GetMouse (&mouse);
    }
}

void CRadioGroupControlEditor::DrawContents (const Rect& area)
{
    CControlEditor::DrawContents (area);
    if (fEnableHighlight)
        DrawHighlightFrame();
}

void CRadioGroupControlEditor::DrawHighlightFrame()
{
    if (! IsHighlighted())
    {
        if (fFrameDrawn)
            InvalidateFrame();
        fFrameDrawn = false;
        return;
    }
    const RGBColor frameColour = FrameColourOf (GetHighlightColour());
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPenState pen;
    ScopedPortColour foreColour (ScopedPortColour::Which::fore);
    const Rect frame = GetRect();
    toolbox.PenNormal();
    toolbox.RGBForeColor (&frameColour);
    toolbox.FrameRect (&frame);
    fFrameDrawn = true;
}

void CRadioGroupControlEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CControlEditor::ReadDescription (reader);
    for (const SDescriptionNode* node = TakeOptionalList (reader); node != nullptr; node = node->next)
    {
        if (node->kind != kNodeString)
            throw CDAEError (RTASError::kConditionFalse);
        if (IsEnableHighlight (*node))
            fEnableHighlight = true;
    }
}
