#include "views/editors/CViewPopupControlEditor.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/base/ViewGeometry.h"
#include "views/controls/CControlView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/dialogs/CDialogView.h"

using namespace ViewGeometry;

namespace
{
// Takes the pop-up's view tree off its window at the end of the scope, however the pop-up ended.
class ScopedDetachedView
{
public:
    explicit ScopedDetachedView (CPlugInView& view) : fView (view) {}
    ~ScopedDetachedView()
    {
        try
        {
            fView.SetWindow (nullptr);
        }
        catch (...)
        {
        }
    }
    ScopedDetachedView (const ScopedDetachedView&) = delete;
    ScopedDetachedView& operator= (const ScopedDetachedView&) = delete;

private:
    CPlugInView& fView;
};
} // namespace

// Registers the inner editors with a control view for the scope and unregisters them at its end,
// however it ends (also when a registration fails half-way).
class CViewPopupControlEditor::ScopedInnerEditors
{
public:
    ScopedInnerEditors (CControlView* view, const std::array<CControlEditor*, kViewPopupEditors>& editors)
    {
        if (view == nullptr)
            return;
        try
        {
            for (CControlEditor* editor : editors)
            {
                if (editor == nullptr)
                    continue;
                editor->Unbind();
                fRegistered.push_back (editor);
                view->AttachEditor (editor);
            }
        }
        catch (...)
        {
            UnregisterAll();
            throw;
        }
    }

    ~ScopedInnerEditors() { UnregisterAll(); }
    ScopedInnerEditors (const ScopedInnerEditors&) = delete;
    ScopedInnerEditors& operator= (const ScopedInnerEditors&) = delete;

private:
    void UnregisterAll() noexcept
    {
        for (CControlEditor* editor : fRegistered)
            editor->Unbind();
        fRegistered.clear();
    }

    std::vector<CControlEditor*> fRegistered;
};

CViewPopupControlEditor::CViewPopupControlEditor() : fMenu (std::make_unique<CPopUpMenu> (static_cast<IPopUpMenuOwner&> (*this))) {}

CViewPopupControlEditor::~CViewPopupControlEditor() = default;

void CViewPopupControlEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CControlEditor::ReadDescription (reader);
    const SDescriptionNode* node = reader.TakeAttributeList();
    ThrowIfNull (node);
    if (node->kind != kNodeInteger || node->value < INT16_MIN || node->value > INT16_MAX)
        throw CDAEError (RTASError::kConditionFalse);
    fContentID = static_cast<int16_t> (node->value);
    size_t slot = 0;
    for (node = node->next; node != nullptr; node = node->next, ++slot)
    {
        if (node->kind != kNodeFourCharCode || slot >= fEditorIDs.size())
            throw CDAEError (RTASError::kConditionFalse);
        fEditorIDs[slot] = NodeFourCharCode (*node);
    }
}

CPlugInView* CViewPopupControlEditor::GetParentOrAttach()
{
    if (fPopUpView == nullptr)
    {
        auto view = std::make_unique<CDialogView>();
        view->SetDialogID (fContentID);
        view->FinishCreate();
        for (size_t slot = 0; slot < fEditorIDs.size(); ++slot)
        {
            fEditors[slot] = dynamic_cast<CControlEditor*> (view->FindSubViewByID (fEditorIDs[slot]));
            if (fEditors[slot] != nullptr)
                fEditors[slot]->Unbind();
        }
        fPopUpView = std::move (view);
    }
    return CControlEditor::GetParentOrAttach();
}

// ---- The pop-up ----

// Beside the click as the text pop-up opens, moved onto the screen that holds the click (inset by
// 5) as far as it fits there. A click on no screen throws CDAEError -7400.
void CViewPopupControlEditor::PlaceMenu (Point click)
{
    const std::optional<Rect> screen = ScreenHolding (click);
    if (! screen)
        ThrowConditionFalse();
    const Rect content = fPopUpView->GetRect();
    const int32_t width = content.right - content.left;
    const int32_t height = content.bottom - content.top;
    const Rect allowed = Inset (*screen, kMenuScreenMargin, kMenuScreenMargin);
    const auto fit = [] (int32_t start, int32_t size, int32_t low, int32_t high) {
        return std::max (low, std::min (start, high - size));
    };
    const int32_t left = fit (click.h + kMenuClickOffset, width, allowed.left, allowed.right);
    const int32_t top = fit (click.v, height, allowed.top, allowed.bottom);
    fMenuRect = { Saturate (top), Saturate (left), Saturate (top + height), Saturate (left + width) };
    fVisibleRect = Intersection (fMenuRect, allowed);
}

// The view tree goes to the pop-up's window (the current port) at the menu's place and is drawn.
void CViewPopupControlEditor::DrawPopUpView()
{
    const Rect content = fPopUpView->GetRect();
    fPopUpView->Offset (Saturate (fMenuRect.left - content.left), Saturate (fMenuRect.top - content.top));
    GrafPtr window = nullptr;
    HostToolbox().GetPort (&window);
    fPopUpView->SetWindow (window);
    fPopUpView->Invalidate (nullptr);
}

void CViewPopupControlEditor::PassClick (Point where)
{
    EventRecord click {};
    click.what = kMouseDownEvent;
    click.message = kImmediateClickMessage;
    click.when = HostToolbox().TickCount();
    click.where = where;
    click.modifiers = kSyntheticClickModifiers;
    fPopUpView->HandleClick (&click);
}

void CViewPopupControlEditor::HandleMenuMessage (int16_t message, Rect& menuRect, Point hitPoint, int16_t& item)
{
    switch (message)
    {
        case kMenuSizeMessage:
        {
            const Rect content = fPopUpView->GetRect();
            fMenu->SetSize (Saturate (content.right - content.left), Saturate (content.bottom - content.top));
            break;
        }
        case kMenuPlaceMessage:
            PlaceMenu (hitPoint);
            menuRect = fVisibleRect;
            break;
        case kMenuDrawMessage:
            fMenu->CoverScreen (fVisibleRect);
            DrawPopUpView();
            break;
        case kMenuTrackMessage:
        case kMenuFindItemMessage:
            PassClick (hitPoint);
            item = 0;
            break;
        case kMenuThemeMessage: item = kMenuThemeAnswer; break;
        default: break;
    }
}

void CViewPopupControlEditor::TrackMouse (const EventRecord& event, bool synthetic)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    if (synthetic || fPopUpView == nullptr || toolbox.StillDown() == 0)
    {
        CControlEditor::TrackMouse (event, true);
        return;
    }
    ScopedViewDrawing drawing (*this, nullptr);
    ScopedHiliteOff hiliteOff (*this);
    SetHilite (1);
    ScopedPortText portText;
    toolbox.TextFont (kViewTextFont);
    toolbox.TextSize (kViewTextSize);
    Point global = event.where;
    toolbox.LocalToGlobal (&global);
    const ScopedDetachedView detached (*fPopUpView);
    const ScopedInnerEditors inner (GetBoundView(), fEditors);
    fMenu->PopUp (global, 0);
}
