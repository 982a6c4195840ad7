#include "views/editors/CControlEditor.h"

#include <algorithm>
#include <iterator>
#include <memory>
#include <optional>

#include "process/base/CDAEError.h"
#include "process/process/CProcess.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ViewGeometry.h"
#include "views/controls/CControlView.h"
#include "views/controls/CProcessControlView.h"
#include "views/description/CViewDescriptionReader.h"

namespace
{
bool BindsNothing (uint32_t id)
{
    return std::find (std::begin (kUnboundControlIDs), std::end (kUnboundControlIDs), id) != std::end (kUnboundControlIDs);
}

// Tells the process that its control is being touched for the scope, and that the touch ended
// however the scope ends.
class ScopedControlTouch
{
public:
    ScopedControlTouch (CProcess& process, int32_t index) : fProcess (process), fIndex (index) { fProcess.BeginControlTouch (fIndex); }
    ~ScopedControlTouch()
    {
        try
        {
            fProcess.EndControlTouch (fIndex);
        }
        catch (...)
        {
        }
    }
    ScopedControlTouch (const ScopedControlTouch&) = delete;
    ScopedControlTouch& operator= (const ScopedControlTouch&) = delete;

private:
    CProcess& fProcess;
    int32_t fIndex;
};
} // namespace

CControlEditor::~CControlEditor()
{
    Unbind();
}

// ---- The binding ----

void CControlEditor::SetBoundView (CControlView* view)
{
    if (view == fBoundView)
        return;
    if (view != nullptr && fBoundView != nullptr)
        throw CDAEError (RTASError::kConditionFalse);
    fBoundView = view;
}

void CControlEditor::Unbind()
{
    if (fBoundView != nullptr)
        fBoundView->DetachEditor (this);
    fBoundView = nullptr;
    fNextEditor = nullptr;
}

void CControlEditor::ValueChanged() {}

void CControlEditor::ValueChangedQuiet() {}

void CControlEditor::Redraw()
{
    Invalidate (nullptr);
}

CControlView* CControlEditor::FindOrMakeControlView()
{
    if (BindsNothing (fControlID))
        return nullptr;
    for (CPlugInView* ancestor = GetParent(); ancestor != nullptr; ancestor = ancestor->GetParent())
        if (CPlugInView* found = ancestor->FindSubViewByID (fControlID))
            return dynamic_cast<CControlView*> (found);
    return MakeProcessControlView();
}

// A process control view of the editor's control ID after the last child of the top view; none
// for an editor without a parent.
CControlView* CControlEditor::MakeProcessControlView()
{
    if (GetParent() == nullptr)
        return nullptr;
    CPlugInView* firstChild = Root()->GetFirstChild();
    if (firstChild == nullptr)
        return nullptr;
    auto view = std::make_unique<CProcessControlView>();
    view->SetID (fControlID);
    CProcessControlView* made = view.get();
    firstChild->AppendSibling (std::move (view));
    made->FinishCreate();
    return made;
}

void CControlEditor::AttachAll()
{
    CControlView* view = FindOrMakeControlView();
    if (view != fBoundView)
    {
        Unbind();
        if (view != nullptr)
            view->AttachEditor (this);
    }
    CCustomView::AttachAll();
}

void CControlEditor::DetachAll()
{
    Unbind();
    CCustomView::DetachAll();
}

// ---- The value ----

int32_t CControlEditor::GetDefaultValue() const
{
    return fBoundView != nullptr ? fBoundView->GetDefaultValue() : 0;
}

void CControlEditor::SetValue (int32_t value)
{
    if (fBoundView != nullptr)
    {
        fBoundView->SetValue (value);
        return;
    }
    fOwnValue = value;
    ValueChanged();
}

Point CControlEditor::GetAnchorPoint() const
{
    return ViewGeometry::Centre (GetRect());
}

int32_t CControlEditor::GetValue() const
{
    return fBoundView != nullptr ? fBoundView->GetValue() : fOwnValue;
}

int32_t CControlEditor::GetStepCount() const
{
    return fBoundView != nullptr ? fBoundView->GetStepCount() : 1;
}

int32_t CControlEditor::ValueFromStep (int32_t step) const
{
    return fBoundView != nullptr ? fBoundView->ValueFromStep (step) : 0;
}

int32_t CControlEditor::GetStep() const
{
    return fBoundView != nullptr ? fBoundView->GetStep() : 0;
}

void CControlEditor::SetStep (int32_t step)
{
    if (fBoundView != nullptr)
        fBoundView->SetStep (step);
}

// ---- The view's part ----

void CControlEditor::GetControlIndex (int32_t* index) const
{
    if (fBoundView != nullptr && fBoundView->IsProcessControl())
        fBoundView->GetControlIndex (index);
}

bool CControlEditor::IsHighlighted() const
{
    return fBoundView != nullptr && fBoundView->IsHighlighted();
}

void CControlEditor::GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const
{
    if (fBoundView != nullptr)
    {
        fBoundView->GetHighlight (colour, extra, text);
        return;
    }
    if (colour != nullptr)
        *colour = 0;
    if (extra != nullptr)
        *extra = 0;
    if (text != nullptr)
        text[0] = 0;
}

void CControlEditor::RunIdleService()
{
    if (fBoundView != nullptr)
        fBoundView->Idle (0);
    else
        GivePlugInGroupIdleTime();
}

void CControlEditor::Click (const EventRecord& event)
{
    if (event.what != kMouseDownEvent)
    {
        CCustomView::Click (event);
        return;
    }
    auto* processView = dynamic_cast<CProcessControlView*> (fBoundView);
    CProcess* process = processView != nullptr ? processView->GetProcess() : nullptr;
    std::optional<ScopedControlTouch> touch;
    if (process != nullptr)
    {
        int32_t index = 0;
        processView->GetControlIndex (&index);
        touch.emplace (*process, index);
    }

    const HostToolboxRoutines& toolbox = HostToolbox();
    if ((event.modifiers & kDefaultValueModifier) != 0)
    {
        SetValue (GetDefaultValue());
        while (toolbox.StillDown() != 0)
            RunIdleService();
        return;
    }
    CCustomView::Click (event);
    while (toolbox.StillDown() != 0)
    {
        Idle (0);
        if (process != nullptr)
            process->ServiceSDSTokens();
    }
}

// ---- The description ----

const SDescriptionNode* CControlEditor::TakeOptionalList (CViewDescriptionReader& reader)
{
    return reader.HasAttributeList() ? reader.TakeAttributeList() : nullptr;
}

uint32_t CControlEditor::ControlIDOf (const SDescriptionNode* node)
{
    if (node == nullptr)
        throw CDAEError (RTASError::kNullPointer);
    if (node->kind != kNodeFourCharCode)
        throw CDAEError (RTASError::kConditionFalse);
    return NodeFourCharCode (*node);
}

void CControlEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    const SDescriptionNode* id = reader.TakeAttributeList();
    fControlID = ControlIDOf (id);
    if (id->next != nullptr)
        throw CDAEError (RTASError::kConditionFalse);
}
