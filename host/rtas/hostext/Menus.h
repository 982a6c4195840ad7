#pragma once
// The stand-in toolbox's menus: MenuRecords in blocks of the heap, menu definitions holding a
// callback, the list of inserted menus, and the pop-up selection that drives a definition
// under the scripted mouse in a pop-up window of its own, as large as the part of the placed
// rectangle that lies on the screens.

#include "Graphics.h"
#include "HandleHeap.h"
#include "MouseScript.h"

#include <functional>
#include <string>

namespace kestrune::host::rtas
{

class Menus
{
public:
    // `screens` bound the pop-up windows; `closeWindow` disposes of a window and its controls.
    Menus (HandleHeap& heap, Graphics& graphics, MouseScript& mouse, const std::vector<Box>& screens,
           std::function<void (WindowRef)> closeWindow)
        : heap_ (heap), graphics_ (graphics), mouse_ (mouse), screens_ (screens), closeWindow_ (std::move (closeWindow))
    {
    }

    // Null when the heap has no room.
    MenuHandle create (int16_t menuID, const std::string& title);
    Handle newDefinition (MenuDefProc proc);

    // Each of these ignores (and records) a menu or definition it does not know.
    void dispose (MenuHandle menu);
    void disposeDefinition (Handle definition);
    void setDefinition (MenuHandle menu, Handle definition);
    void setReference (MenuHandle menu, int32_t reference);
    int32_t reference (MenuHandle menu);
    // Inserting a menu that is inserted already changes nothing.
    void insert (MenuHandle menu);
    void remove (int16_t menuID);
    int32_t popUp (MenuHandle menu, int16_t top, int16_t left, int16_t item);

    WindowRef lastPopUpWindow() const { return popUpWindow_; }
    bool owns (Handle block) const;
    size_t menuCount() const { return menus_.size(); }
    size_t definitionCount() const { return definitions_.size(); }
    void clear();

private:
    bool known (MenuHandle menu);
    MenuDefProc procOf (MenuHandle menu) const;

    HandleHeap& heap_;
    Graphics& graphics_;
    MouseScript& mouse_;
    const std::vector<Box>& screens_;
    std::function<void (WindowRef)> closeWindow_;
    std::vector<MenuHandle> menus_;
    std::vector<Handle> definitions_;
    std::vector<MenuHandle> inserted_;
    WindowRef popUpWindow_ = nullptr;
};

} // namespace kestrune::host::rtas
