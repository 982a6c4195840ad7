#include "Menus.h"

#include "PascalText.h"

#include <algorithm>
#include <cstring>

namespace kestrune::host::rtas
{

namespace
{

    template <typename Item>
    bool holds (const std::vector<Item>& items, const void* item)
    {
        return std::any_of (items.begin(), items.end(), [&] (const Item& each) { return reinterpret_cast<const void*> (each) == item; });
    }

    template <typename Item>
    void forget (std::vector<Item>& items, const Item& item)
    {
        items.erase (std::remove (items.begin(), items.end(), item), items.end());
    }

} // namespace

MenuHandle Menus::create (int16_t menuID, const std::string& title)
{
    Handle block = heap_.allocate (sizeof (MenuRecord), true);
    if (block == nullptr)
        return nullptr;
    auto menu = reinterpret_cast<MenuHandle> (block);
    MenuRecord& record = **menu;
    record.menuID = menuID;
    setPascal (record.title, title);
    menus_.push_back (menu);
    return menu;
}

Handle Menus::newDefinition (MenuDefProc proc)
{
    Handle block = heap_.allocate (sizeof (MenuDefinitionRecord), true);
    if (block == nullptr)
        return nullptr;
    reinterpret_cast<MenuDefinitionRecord*> (*block)->proc = proc;
    definitions_.push_back (block);
    return block;
}

bool Menus::known (MenuHandle menu)
{
    return graphics_.recognises (holds (menus_, menu), menu, "menu");
}

bool Menus::owns (Handle block) const
{
    return holds (menus_, block) || holds (definitions_, block);
}

void Menus::dispose (MenuHandle menu)
{
    if (! known (menu))
        return;
    forget (inserted_, menu);
    forget (menus_, menu);
    heap_.dispose (reinterpret_cast<Handle> (menu));
}

void Menus::disposeDefinition (Handle definition)
{
    if (! holds (definitions_, definition))
    {
        graphics_.reportInvalid (definition, "menu definition");
        return;
    }
    // No menu keeps a definition that is gone.
    for (MenuHandle menu : menus_)
        if ((*menu)->definition == definition)
            (*menu)->definition = nullptr;
    forget (definitions_, definition);
    heap_.dispose (definition);
}

void Menus::setDefinition (MenuHandle menu, Handle definition)
{
    if (! known (menu))
        return;
    if (definition != nullptr && ! holds (definitions_, definition))
    {
        graphics_.reportInvalid (definition, "menu definition");
        return;
    }
    (*menu)->definition = definition;
}

void Menus::setReference (MenuHandle menu, int32_t reference)
{
    if (known (menu))
        (*menu)->reference = reference;
}

int32_t Menus::reference (MenuHandle menu)
{
    return known (menu) ? (*menu)->reference : 0;
}

void Menus::insert (MenuHandle menu)
{
    if (known (menu) && ! holds (inserted_, menu))
        inserted_.push_back (menu);
}

void Menus::remove (int16_t menuID)
{
    inserted_.erase (std::remove_if (inserted_.begin(), inserted_.end(), [&] (MenuHandle menu) { return (*menu)->menuID == menuID; }),
                     inserted_.end());
}

MenuDefProc Menus::procOf (MenuHandle menu) const
{
    const Handle definition = (*menu)->definition;
    return definition != nullptr ? reinterpret_cast<const MenuDefinitionRecord*> (*definition)->proc : nullptr;
}

// The definition may draw, read the mouse and run tracking of its own inside any message; the
// pop-up window is current while it does, and the caller's port is current again afterwards.
int32_t Menus::popUp (MenuHandle menu, int16_t top, int16_t left, int16_t item)
{
    if (! known (menu) || procOf (menu) == nullptr)
        return 0;
    const GrafPtr callersPort = graphics_.current();
    const auto send = [&] (int16_t message, Rect& rect, Point point, int16_t& which) {
        if (MenuDefProc proc = holds (menus_, menu) ? procOf (menu) : nullptr)
            proc (message, menu, &rect, point, &which);
    };

    Rect rect {};
    int16_t which = 0;
    send (kMenuSizeMessage, rect, { 0, 0 }, which);
    if (! holds (menus_, menu))
        return 0;
    rect = { top, left, int16_t (top + (*menu)->menuHeight), int16_t (left + (*menu)->menuWidth) };
    which = item;
    send (kMenuPlaceMessage, rect, { top, left }, which);

    if (graphics_.exists (popUpWindow_))
        closeWindow_ (popUpWindow_);
    Region onScreens;
    for (const Box& screen : screens_)
        onScreens = Region::combine (onScreens, Region (boxOf (rect).intersection (screen)), Region::Operation::unite);
    const Box bounds = onScreens.bounds();
    popUpWindow_ = graphics_.newWindow (bounds);
    graphics_.setCurrent (popUpWindow_);
    graphics_.setOrigin (bounds.left, bounds.top);

    which = 0;
    send (kMenuDrawMessage, rect, { 0, 0 }, which);
    which = 0;
    for (bool down = true;;)
    {
        send (kMenuTrackMessage, rect, mouse_.where(), which);
        if (! down)
            break;
        down = mouse_.stillDown();
    }

    graphics_.setCurrent (graphics_.exists (callersPort) ? callersPort : nullptr);
    if (which == 0 || ! holds (menus_, menu))
        return 0;
    return int32_t ((uint32_t (uint16_t ((*menu)->menuID)) << 16) | uint16_t (which));
}

void Menus::clear()
{
    menus_.clear();
    definitions_.clear();
    inserted_.clear();
    popUpWindow_ = nullptr;
}

} // namespace kestrune::host::rtas
