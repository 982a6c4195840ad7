#include "views/hostcontrols/CMacControlView.h"

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"
#include "views/base/PStringOrEmpty.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/DescriptionNode.h"

namespace
{
int16_t ShortIntegerOf (const SDescriptionNode* node)
{
    ThrowIfNull (node);
    if (node->kind != kNodeInteger || node->value < INT16_MIN || node->value > INT16_MAX)
        ThrowConditionFalse();
    return static_cast<int16_t> (node->value);
}
} // namespace

CMacControlView::~CMacControlView()
{
    DisposeControl();
}

void CMacControlView::DisposeControl()
{
    if (fControl == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->DisposeControl (fControl);
    fControl = nullptr;
    fShowOnFirstDraw = 0;
}

ControlHandle CMacControlView::CreateControl (WindowRef window)
{
    const Rect frame = GetRect();
    const int16_t kind = GetControlKind();
    return HostToolbox().NewControl (window, &frame, fTitle, 0, fValue, fMinimum, fMaximum, kind, PointerValue (this));
}

int16_t CMacControlView::GetControlKind() const
{
    ThrowConditionFalse();
}

void CMacControlView::SetWindow (WindowRef window)
{
    DisposeControl();
    if (window != nullptr)
    {
        try
        {
            fControl = CreateControl (window);
            ThrowIfNull (fControl);
        }
        catch (...)
        {
            CCustomView::SetWindow (nullptr);
            throw;
        }
        fShowOnFirstDraw = 1;
    }
    CCustomView::SetWindow (window);
}

void CMacControlView::DrawContents (const Rect&)
{
    if (fControl == nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (fShowOnFirstDraw != 0)
    {
        fShowOnFirstDraw = 0;
        toolbox.ShowControl (fControl);
    }
    else
        toolbox.Draw1Control (fControl);
}

void CMacControlView::Click (const EventRecord& event)
{
    if (fControl != nullptr)
        HostToolbox().TrackControl (fControl, event.where, nullptr);
}

void CMacControlView::Offset (int16_t dh, int16_t dv)
{
    CCustomView::Offset (dh, dv);
    if (fControl != nullptr)
    {
        const Rect frame = GetRect();
        HostToolbox().MoveControl (fControl, frame.left, frame.top);
    }
}

void CMacControlView::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    const SDescriptionNode* title = reader.TakeAttributeList();
    ThrowIfNull (title);
    if (title->kind != kNodeString)
        ThrowConditionFalse();
    const int16_t minimum = ShortIntegerOf (title->next);
    const int16_t maximum = ShortIntegerOf (title->next->next);
    const int16_t value = ShortIntegerOf (title->next->next->next);
    if (title->next->next->next->next != nullptr)
        ThrowConditionFalse();
    SetTitle (NodeText (*title));
    SetRange (minimum, maximum);
    fValue = value;
}

void CMacControlView::SetTitle (const uint8_t* title)
{
    PStrCopy (PStrOrEmpty (title), fTitle);
}

void CMacControlView::SetRange (int16_t minimum, int16_t maximum)
{
    fMinimum = minimum;
    fMaximum = maximum;
}
