#pragma once
// The host menu that a pop-up editor opens: a toolbox menu of ID 1000 whose menu definition is
// the library's one definition callback. The toolbox sends the callback its messages (size, place,
// draw, track, ...) while the pop-up is open; the callback hands each to the menu's owner (found
// through the menu's reference value). No exception leaves the callback: a failure ends the
// owner's messages and is passed on once the toolbox has returned from the pop-up.
//
// [window thread] for every operation.

#include <exception>
#include <optional>

#include "views/base/CPlugInView.h"

inline constexpr int16_t kPopUpMenuID = 1000;
// A pop-up opens this far right of the click and keeps this far inside the screen's edges.
inline constexpr int16_t kMenuClickOffset = 10;
inline constexpr int16_t kMenuScreenMargin = 5;

// Messages beside the toolbox's own (HostTypes.h): the theme question, finding the item under a
// point and changing the hilited item; the answer to the theme question.
inline constexpr int16_t kMenuThemeMessage = 7;
inline constexpr int16_t kMenuFindItemMessage = 10;
inline constexpr int16_t kMenuHiliteItemMessage = 11;
inline constexpr int16_t kMenuThemeAnswer = 29811;

// Scroll-arrow flags of a pop-up whose visible part is clipped.
namespace PopUpArrow
{
inline constexpr uint16_t kDown = 1;
inline constexpr uint16_t kUp = 2;
inline constexpr uint16_t kRight = 4;
inline constexpr uint16_t kLeft = 8;
} // namespace PopUpArrow

class IPopUpMenuOwner
{
public:
    // [window thread] One message of the open pop-up: the menu's rectangle (global), the mouse
    // (global) and the item, as the message uses them. The pop-up's window is the current port
    // while the toolbox draws; its local coordinates are global ones.
    virtual void HandleMenuMessage (int16_t message, Rect& menuRect, Point hitPoint, int16_t& item) = 0;

protected:
    ~IPopUpMenuOwner() = default;
};

class CPopUpMenu
{
public:
    // Makes the menu and its definition; either one that the toolbox cannot make throws
    // CDAEError -7053 and leaves nothing behind.
    explicit CPopUpMenu (IPopUpMenuOwner& owner);
    // Disposes of the menu and its definition.
    ~CPopUpMenu();
    CPopUpMenu (const CPopUpMenu&) = delete;
    CPopUpMenu& operator= (const CPopUpMenu&) = delete;

    // Inserts the menu and runs the toolbox's pop-up selection at the global point with the
    // initial item (0 for none); the menu is deleted again however it ends. Answers the toolbox's
    // result (the menu ID in the high half, the chosen item in the low half). A failure in one of
    // the messages is thrown here.
    int32_t PopUp (Point global, int16_t item);
    // While the pop-up is open: its window (the current port) covers `area` (global) of the
    // screen, so that the views of other windows draw around it until it closes.
    void CoverScreen (const Rect& area);
    // The size message's answer.
    void SetSize (int16_t width, int16_t height);
    MenuHandle GetMenu() const { return fMenu; }

    // The library's menu definition, shared by every pop-up menu for as long as the library is
    // loaded.
    static void Definition (int16_t message, MenuHandle menu, Rect* menuRect, Point hitPoint, int16_t* item);

private:
    class ScopedOpen;

    void Dispose() noexcept;

    IPopUpMenuOwner& fOwner;
    MenuHandle fMenu = nullptr;
    Handle fDefinition = nullptr;
    bool fOpen = false;
    std::exception_ptr fFailure;
    std::optional<ScopedDrawingTarget> fDrawingTarget;
};

// [window thread] The bounds of the first screen that holds the global point; none when no screen
// holds it.
std::optional<Rect> ScreenHolding (Point global);
// [window thread] The screen that holds the global point, else the first (main) screen; without
// screens a rectangle that limits nothing.
Rect ScreenHoldingOrMain (Point global);
