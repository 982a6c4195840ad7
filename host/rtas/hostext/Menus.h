#pragma once
// The stand-in toolbox's menus: MenuRecords in blocks of the heap, menu definitions holding a
// callback, the list of inserted menus, and the pop-up selection that drives a definition
// under the scripted mouse in a pop-up window of its own.

#include "Graphics.h"
#include "HandleHeap.h"
#include "MouseScript.h"

#include <string>

namespace kestrune::host::rtas
{

class Menus
{
public:
    Menus (HandleHeap& heap, Graphics& graphics, MouseScript& mouse) : heap_ (heap), graphics_ (graphics), mouse_ (mouse) {}

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
    std::vector<MenuHandle> menus_;
    std::vector<Handle> definitions_;
    std::vector<MenuHandle> inserted_;
    WindowRef popUpWindow_ = nullptr;
};

} // namespace kestrune::host::rtas
