#pragma once
// A pop-up menu of the control's steps: the "TextPopup" view type. The editor shows the current
// step's value text in a plate; a click opens a menu of every step's text beside the click, with
// the shown step under the mouse, and choosing another step sets it. A menu that does not fit the
// screen shows the part that does, with arrow zones at its clipped sides that scroll it while the
// mouse rests in them.
//
// [window thread] for every operation.

#include <array>
#include <memory>

#include "views/editors/CControlEditor.h"
#include "views/editors/CPopUpMenu.h"

// How the shown text is placed in the editor's plate.
namespace PopUpAlignment
{
inline constexpr int32_t kCentred = 0;
inline constexpr int32_t kRight = 1;
inline constexpr int32_t kLeft = 2;
} // namespace PopUpAlignment

inline constexpr RGBColor kMenuBackColour { 0xFFFF, 0xFFFF, 0xFFFF };
inline constexpr int16_t kScrollArrowZone = 12;
inline constexpr int16_t kMenuScrollStep = 16;

class CTextPopupControlEditor : public CControlEditor, private IPopUpMenuOwner
{
public:
    // Makes the menu; one the toolbox cannot make throws CDAEError -7053.
    CTextPopupControlEditor();

    // While the button is down, pops up the menu and sets the chosen step when it differs from
    // the current one. A pop-up's synthetic click only highlights.
    void TrackMouse (const EventRecord& event, bool synthetic) override;
    // Redraws when the step to show changed.
    void ValueChanged() override;
    // Marks the editor for the host's next update when the step to show changed.
    void ValueChangedQuiet() override;
    // The plate, then the shown step's text in the item rectangle moved in by the margins.
    void DrawContents (const Rect& area) override;

    // The editor's rectangle inset by 1, its bottom one pixel higher.
    virtual Rect GetItemRect() const;
    // The widest item by the sum of the items' heights.
    virtual void GetMenuSize (int16_t* width, int16_t* height);
    // Places the menu beside the global click with the item (1-based; 0 for none) under it, and
    // its visible part on the screen that holds the click.
    virtual void PlaceMenu (Point click, int16_t item);
    // Draws the text of item n (1-based) in the rectangle: in the menu (erased first, the shown
    // item bold, 3 pixels in from the left) or, with `ownFace`, in the editor (placed by the
    // alignment). The text is shortened until it fits the rectangle less 6 pixels.
    virtual void DrawItem (int16_t item, const Rect& area, bool ownFace);
    // The menu item with the port's fore and back colours swapped.
    virtual void DrawItemHilited (int16_t item, const Rect& area);
    // The item's width (its text in bold, plus 14) and height (the font's ascent and descent,
    // plus 4).
    virtual void GetItemSize (int16_t item, int16_t* width, int16_t* height);
    // Scrolls the menu while the mouse rests in an arrow zone (or up to 12 pixels beyond it):
    // towards the hidden end, at most 16 pixels per call.
    virtual void AutoScroll (Point mouse);
    // Moves the menu by (dh, dv) behind its visible part and draws it again.
    virtual void ScrollMenu (int16_t dh, int16_t dv);

    // The step shown in the plate; -1 before the first value.
    int16_t GetShownStep() const { return fShownStep; }
    MenuHandle GetMenu() const { return fMenu->GetMenu(); }
    // The menu's rectangle, its visible part, the screen and the scroll arrows (PopUpArrow) of
    // the last pop-up, in global coordinates.
    Rect GetMenuRect() const { return fMenuRect; }
    Rect GetVisibleMenuRect() const { return fVisibleRect; }
    Rect GetScreenRect() const { return fScreenRect; }
    uint16_t GetScrollArrows() const { return fScrollArrows; }
    int16_t GetHilitedItem() const { return fHilitedItem; }
    // The number of items: the step count, as many as a menu can hold.
    int16_t GetItemCount();

    void SetAlignment (int32_t alignment) { fAlignment = alignment; }
    // Moves the shown text in by the margins: from the left, from the right, down on top and
    // bottom, then (while the editor has a window) across and down.
    void SetMargins (const std::array<int32_t, 5>& margins) { fMargins = margins; }

private:
    void HandleMenuMessage (int16_t message, Rect& menuRect, Point hitPoint, int16_t& item) override;
    // Takes the step the value now shows; false when it is the one already shown.
    bool TakeShownStep();
    int16_t ItemHeight();
    Rect MenuItemRect (int16_t item) const;
    // The visible part less the arrow zones.
    Rect ItemArea() const;
    void UpdateScrollArrows();
    int16_t FindItem (Point where);
    void HiliteItem (int16_t item);
    void DrawMenu();
    void DrawScrollArrows();
    // The value text of item n (1-based); empty for no such item or an unbound editor.
    void ItemText (int16_t item, char* text);

    int16_t fShownStep = -1;
    int32_t fAlignment = PopUpAlignment::kCentred;
    std::array<int32_t, 5> fMargins {};
    int16_t fItemHeight = 0;
    Rect fMenuRect {};
    Rect fVisibleRect {};
    Rect fScreenRect {};
    uint16_t fScrollArrows = 0;
    int16_t fHilitedItem = 0;
    std::unique_ptr<CPopUpMenu> fMenu;
};
