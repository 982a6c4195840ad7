#include "views/editors/CPopUpMenu.h"

#include <cstdint>
#include <utility>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ViewGeometry.h"

namespace
{
const unsigned char kNoTitle[1] {};

// The bounds of the screen of that index; none when the toolbox gives none.
std::optional<Rect> ScreenBounds (int16_t index)
{
    Rect bounds {};
    if (HostToolbox().GetScreenBounds (index, &bounds) == 0)
        return std::nullopt;
    return bounds;
}
} // namespace

// Marks the menu open and inserted for the scope; at its end the drawing target is cleared and
// the menu deleted, however the pop-up ended.
class CPopUpMenu::ScopedOpen
{
public:
    explicit ScopedOpen (CPopUpMenu& menu) : fMenu (menu)
    {
        HostToolbox().InsertMenu (fMenu.fMenu, -1);
        fMenu.fOpen = true;
        fMenu.fFailure = nullptr;
    }

    ~ScopedOpen()
    {
        fMenu.fOpen = false;
        fMenu.fDrawingTarget.reset();
        if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
            toolbox->DeleteMenu (kPopUpMenuID);
    }

    ScopedOpen (const ScopedOpen&) = delete;
    ScopedOpen& operator= (const ScopedOpen&) = delete;

private:
    CPopUpMenu& fMenu;
};

CPopUpMenu::CPopUpMenu (IPopUpMenuOwner& owner) : fOwner (owner)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    fMenu = toolbox.NewMenu (kPopUpMenuID, kNoTitle);
    if (fMenu != nullptr)
        fDefinition = toolbox.NewMenuDefinition (&CPopUpMenu::Definition);
    if (fMenu == nullptr || fDefinition == nullptr)
    {
        Dispose();
        throw CDAEError (RTASError::kNullPointer);
    }
    toolbox.SetMenuDefinition (fMenu, fDefinition);
    toolbox.SetMenuReference (fMenu, static_cast<int32_t> (reinterpret_cast<uintptr_t> (this)));
}

CPopUpMenu::~CPopUpMenu()
{
    Dispose();
}

void CPopUpMenu::Dispose() noexcept
{
    const HostToolboxRoutines* toolbox = InstalledHostToolbox();
    if (toolbox == nullptr)
        return;
    if (fMenu != nullptr)
        toolbox->DisposeMenu (fMenu);
    if (fDefinition != nullptr)
        toolbox->DisposeMenuDefinition (fDefinition);
    fMenu = nullptr;
    fDefinition = nullptr;
}

int32_t CPopUpMenu::PopUp (Point global, int16_t item)
{
    int32_t result = 0;
    {
        ScopedOpen open (*this);
        result = HostToolbox().PopUpMenuSelect (fMenu, global.v, global.h, item);
    }
    if (fFailure)
        std::rethrow_exception (std::exchange (fFailure, nullptr));
    return result;
}

void CPopUpMenu::CoverScreen (const Rect& area)
{
    if (! fOpen || fDrawingTarget)
        return;
    GrafPtr window = nullptr;
    HostToolbox().GetPort (&window);
    fDrawingTarget.emplace (window, &area);
}

void CPopUpMenu::SetSize (int16_t width, int16_t height)
{
    MenuRecord& record = **fMenu;
    record.menuWidth = width;
    record.menuHeight = height;
}

// [window thread] Called by the toolbox inside PopUp (and by anyone holding the menu); a menu
// that is not one of ours, or whose pop-up failed already, is left alone.
void CPopUpMenu::Definition (int16_t message, MenuHandle menu, Rect* menuRect, Point hitPoint, int16_t* item)
{
    try
    {
        const HostToolboxRoutines* toolbox = InstalledHostToolbox();
        if (toolbox == nullptr || menu == nullptr || menuRect == nullptr || item == nullptr)
            return;
        auto* popUp = reinterpret_cast<CPopUpMenu*> (static_cast<uintptr_t> (static_cast<uint32_t> (toolbox->GetMenuReference (menu))));
        if (popUp == nullptr || popUp->fMenu != menu || popUp->fFailure)
            return;
        try
        {
            popUp->fOwner.HandleMenuMessage (message, *menuRect, hitPoint, *item);
        }
        catch (...)
        {
            if (popUp->fOpen)
                popUp->fFailure = std::current_exception();
        }
    }
    catch (...)
    {
    }
}

std::optional<Rect> ScreenHolding (Point global)
{
    const int16_t count = HostToolbox().CountScreens();
    for (int16_t index = 0; index < count; ++index)
        if (const std::optional<Rect> bounds = ScreenBounds (index); bounds && ViewGeometry::Contains (*bounds, global))
            return bounds;
    return std::nullopt;
}

Rect ScreenHoldingOrMain (Point global)
{
    if (const std::optional<Rect> holding = ScreenHolding (global))
        return *holding;
    const int16_t count = HostToolbox().CountScreens();
    for (int16_t index = 0; index < count; ++index)
        if (const std::optional<Rect> bounds = ScreenBounds (index))
            return *bounds;
    return kDefaultLimitRect;
}
