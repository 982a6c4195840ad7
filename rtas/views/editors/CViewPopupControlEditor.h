#pragma once
// A pop-up of a whole view tree: the "ViewPopup" view type. Its description names a dialog of the
// plug-in's resources (the pop-up's content) and up to four editors inside it. A click pops the
// dialog up beside the mouse; while it is up those editors work on this editor's control view,
// taking the mouse through synthetic clicks, and afterwards they let it go again.
//
// [window thread] for every operation.

#include <array>
#include <memory>

#include "views/editors/CControlEditor.h"
#include "views/editors/CPopUpMenu.h"

class CDialogView;

inline constexpr int kViewPopupEditors = 4;

class CViewPopupControlEditor : public CControlEditor, private IPopUpMenuOwner
{
public:
    // Makes the menu; one the toolbox cannot make throws CDAEError -7053.
    CViewPopupControlEditor();
    // Deletes the pop-up's view tree.
    ~CViewPopupControlEditor() override;

    // The control ID list, then one list: the dialog ID of the content (an integer; no list or
    // no ID throws CDAEError -7053, another kind -7400) and up to four four-character codes, the
    // IDs of editors inside it (anything else, or a fifth, throws -7400).
    void ReadDescription (CViewDescriptionReader& reader) override;
    // Builds the pop-up's view tree from the dialog (once): the editors named in the description
    // are found in it and left unbound. Then the base's.
    CPlugInView* GetParentOrAttach() override;
    // While the button is down: pops the view tree up beside the mouse with its editors working
    // on this editor's control view, then takes them off it and the tree off the pop-up's window.
    void TrackMouse (const EventRecord& event, bool synthetic) override;

    CDialogView* GetPopUpView() const { return fPopUpView.get(); }
    int16_t GetContentID() const { return fContentID; }
    uint32_t GetInnerEditorID (int slot) const { return fEditorIDs.at (size_t (slot)); }
    CControlEditor* GetInnerEditor (int slot) const { return fEditors.at (size_t (slot)); }
    MenuHandle GetMenu() const { return fMenu->GetMenu(); }
    // The pop-up's rectangle and its visible part in the last pop-up, in global coordinates.
    Rect GetMenuRect() const { return fMenuRect; }
    Rect GetVisibleMenuRect() const { return fVisibleRect; }

private:
    class ScopedInnerEditors;

    void HandleMenuMessage (int16_t message, Rect& menuRect, Point hitPoint, int16_t& item) override;
    void PlaceMenu (Point click);
    void DrawPopUpView();
    void PassClick (Point where);

    int16_t fContentID = 0;
    std::array<uint32_t, kViewPopupEditors> fEditorIDs { kNoViewID, kNoViewID, kNoViewID, kNoViewID };
    std::array<CControlEditor*, kViewPopupEditors> fEditors {};
    std::unique_ptr<CDialogView> fPopUpView;
    Rect fMenuRect {};
    Rect fVisibleRect {};
    std::unique_ptr<CPopUpMenu> fMenu;
};
