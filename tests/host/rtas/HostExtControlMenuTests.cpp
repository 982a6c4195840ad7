// The toolbox's controls, menus with a menu definition, screens and the scripted mouse.

#include "HostExtWindowFixture.h"

#include <tuple>

namespace
{

using kestrune::rtas::abi::HostExtRoutines;

const std::string kToolboxResources = KESTRUNE_TOOLBOX_RESOURCES;

std::vector<int16_t> edgesOf (const Rect& r)
{
    return { r.top, r.left, r.bottom, r.right };
}

// What the callbacks below see; they reach the toolbox through these.
HostExtRoutines* routines = nullptr;
kestrune::host::rtas::HostExtControl* control = nullptr;

class HostExtInterface : public HostExtWindowTest
{
protected:
    void SetUp() override
    {
        HostExtWindowTest::SetUp();
        routines = &host;
        control = &toolbox;
    }
};

using HostExtControls = HostExtInterface;

TEST_F (HostExtControls, AControlFromItsTemplate)
{
    ASSERT_GT (host.OpenResFileWithSwap (kToolboxResources.c_str(), nullptr), 0);
    ControlHandle box = host.GetNewControl (128, window);
    ASSERT_NE (box, nullptr);
    const ControlRecord& record = **box;
    EXPECT_EQ (edgesOf (record.bounds), (std::vector<int16_t> { 10, 20, 30, 100 }));
    EXPECT_EQ ((std::vector<int> { record.value, record.minimum, record.maximum, record.kind }), (std::vector<int> { 1, 0, 1, checkBoxProc }));
    EXPECT_EQ (record.reference, 0x12345678);
    EXPECT_EQ (std::string (reinterpret_cast<const char*> (record.title + 1), record.title[0]), "Go");
    const WindowRef owner = record.owner; // a packed field: read, never referred to
    EXPECT_EQ (owner, window);
    EXPECT_EQ (record.visible, 1);
    EXPECT_EQ (record.state, kControlStateDrawn);
    EXPECT_EQ (host.GetHandleSize (reinterpret_cast<Handle> (box)), int32_t (sizeof (ControlRecord)));

    // A check box: a 12-pixel box at the left, centred, crossed when on; the title after it.
    EXPECT_EQ (at (20, 14), kBlack);
    EXPECT_EQ (at (31, 25), kBlack);
    EXPECT_EQ (at (21, 15), kBlack) << "the cross";
    EXPECT_EQ (at (22, 15), kWhite);
    EXPECT_EQ (at (36, 22), kBlack) << "the title";
    EXPECT_EQ (at (20, 9), kWhite) << "nothing above the control";

    EXPECT_EQ (host.GetNewControl (129, window), nullptr);
    EXPECT_EQ (host.ResError(), mapReadErr);
    EXPECT_EQ (host.GetNewControl (130, window), nullptr);
    EXPECT_EQ (host.ResError(), resNotFound);
    EXPECT_EQ (toolbox.objectCounts().controls, 1u);
}

TEST_F (HostExtControls, ShowMoveAndDispose)
{
    const Rect bounds { 2, 2, 12, 30 };
    const unsigned char title[] = "\002OK";
    ControlHandle button = host.NewControl (window, &bounds, title, 0, 0, 0, 1, pushButProc, 5);
    ASSERT_NE (button, nullptr);
    EXPECT_EQ (mismatches ([] (int, int) { return kWhite; }), "") << "invisible until shown";
    host.ShowControl (button);
    EXPECT_EQ (at (2, 2), kBlack) << "the frame";
    EXPECT_EQ (at (8, 9), kBlack) << "the centred title";

    host.MoveControl (button, 5, 15);
    Rect moved {};
    host.GetControlBounds (button, &moved);
    EXPECT_EQ (edgesOf (moved), (std::vector<int16_t> { 15, 5, 25, 33 }));
    EXPECT_EQ (at (2, 2), kWhite) << "erased where it was";
    EXPECT_EQ (at (5, 15), kBlack);
    const auto update = toolbox.updateRegion (window);
    ASSERT_EQ (update.size(), 1u);
    EXPECT_EQ (edgesOf (update[0]), (std::vector<int16_t> { 2, 2, 12, 30 }));

    host.DisposeHandle (reinterpret_cast<Handle> (button));
    EXPECT_EQ (host.MemError(), paramErr) << "a control goes through its own disposal";
    host.DisposeControl (button);
    EXPECT_EQ (mismatches ([] (int, int) { return kWhite; }), "");
    EXPECT_EQ (toolbox.objectCounts().controls, 0u);
    host.Draw1Control (button);
    EXPECT_EQ (toolbox.script().callsOf ("InvalidHandle").back().text, "control");

    host.NewControl (window, &bounds, title, 1, 0, 0, 1, radioButProc, 0);
    toolbox.disposeWindow (window);
    EXPECT_EQ (toolbox.objectCounts().controls, 0u) << "a window takes its controls with it";
    EXPECT_EQ (toolbox.liveHandles(), 0u);
    window = toolbox.newWindow (kGlobalBounds);
}

std::vector<std::pair<int16_t, uint8_t>> actions;

void recordAction (ControlHandle button, int16_t part)
{
    actions.emplace_back (part, (*button)->state);
    // While the mouse is inside, the button is drawn inverted.
    if (part != 0)
    {
        EXPECT_EQ (control->pixel ((*button)->owner, 3, 3), kBlack);
    }
}

TEST_F (HostExtControls, TrackingFollowsTheMouseUntilTheButtonIsUp)
{
    const Rect bounds { 2, 2, 12, 30 };
    ControlHandle button = host.NewControl (window, &bounds, nullptr, 1, 0, 0, 1, pushButProc, 0);
    actions.clear();
    // Global = local + (100, 200).
    toolbox.setMouseScript ({ { { 105, 210 }, true }, { { 105, 212 }, true }, { { 105, 260 }, true }, { { 106, 211 }, false } });
    EXPECT_EQ (host.TrackControl (button, { 5, 10 }, recordAction), kControlButtonPart);
    EXPECT_EQ (actions, (std::vector<std::pair<int16_t, uint8_t>> {
                            { kControlButtonPart, kControlStateDrawn | kControlStateTracking | kControlStateHilited },
                            { 0, kControlStateDrawn | kControlStateTracking } }));
    EXPECT_EQ ((*button)->state, kControlStateDrawn);
    EXPECT_EQ (at (3, 3), kWhite) << "drawn plain again";

    toolbox.setMouseScript ({ { { 105, 210 }, true }, { { 105, 260 }, false } });
    EXPECT_EQ (host.TrackControl (button, { 5, 10 }, nullptr), 0) << "released outside";
    EXPECT_EQ (host.TrackControl (button, { 5, 10 }, nullptr), kControlButtonPart) << "up already: the start point counts";
    EXPECT_EQ (host.TrackControl (button, { 50, 50 }, nullptr), 0);

    toolbox.script().scriptResult ("TrackControl", 7, 1);
    toolbox.setMouseScript ({ { { 105, 210 }, true }, { { 105, 212 }, true }, { { 105, 214 }, true } });
    EXPECT_EQ (host.TrackControl (button, { 5, 10 }, nullptr), 7);
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u) << "the mouse was still followed";
}

struct MenuMessage
{
    int16_t message;
    std::vector<int16_t> rect;
    Point point;
    int16_t item;
};

std::vector<MenuMessage> menuMessages;
GrafPtr portWhileDrawing = nullptr;
int32_t referenceSeen = 0;
bool makeControlWhileDrawing = false;

// A menu of four 10-pixel items, 50 wide, opened 10 pixels right of the point with the
// given item under it.
void testMenuDefinition (int16_t message, MenuHandle menu, Rect* rect, Point point, int16_t* item)
{
    menuMessages.push_back ({ message, edgesOf (*rect), point, *item });
    referenceSeen = routines->GetMenuReference (menu);
    switch (message)
    {
        case kMenuSizeMessage:
            (*menu)->menuWidth = 50;
            (*menu)->menuHeight = 40;
            break;
        case kMenuPlaceMessage:
            *rect = { int16_t (point.v - (*item - 1) * 10), int16_t (point.h + 10), int16_t (point.v - (*item - 1) * 10 + (*menu)->menuHeight),
                      int16_t (point.h + 10 + (*menu)->menuWidth) };
            break;
        case kMenuDrawMessage:
            routines->GetPort (&portWhileDrawing);
            routines->PaintRect (rect);
            if (makeControlWhileDrawing)
                routines->NewControl (portWhileDrawing, rect, nullptr, 1, 0, 0, 1, pushButProc, 0);
            break;
        case kMenuTrackMessage:
            *item = routines->PtInRect (point, rect) ? int16_t (1 + (point.v - rect->top) / 10) : 0;
            break;
        default: break;
    }
}

class HostExtMenus : public HostExtInterface
{
protected:
    void SetUp() override
    {
        HostExtInterface::SetUp();
        menuMessages.clear();
        portWhileDrawing = nullptr;
        makeControlWhileDrawing = false;
        const unsigned char title[] = "\0";
        menu = host.NewMenu (1000, title);
        definition = host.NewMenuDefinition (testMenuDefinition);
        ASSERT_NE (menu, nullptr);
        ASSERT_NE (definition, nullptr);
        host.SetMenuDefinition (menu, definition);
        host.SetMenuReference (menu, 77);
        host.InsertMenu (menu, -1);
    }

    std::vector<int16_t> messageOrder()
    {
        std::vector<int16_t> order;
        for (const auto& m : menuMessages)
            order.push_back (m.message);
        return order;
    }

    MenuHandle menu = nullptr;
    Handle definition = nullptr;
};

TEST_F (HostExtMenus, APopUpSendsItsDefinitionSizePlaceDrawAndTrack)
{
    toolbox.setMouseScript ({ { { 195, 320 }, true }, { { 205, 320 }, true }, { { 215, 330 }, false } });
    const int32_t result = host.PopUpMenuSelect (menu, 200, 300, 2);
    EXPECT_EQ (result, (1000 << 16) | 3);
    EXPECT_EQ (messageOrder(), (std::vector<int16_t> { kMenuSizeMessage, kMenuPlaceMessage, kMenuDrawMessage, kMenuTrackMessage,
                                                       kMenuTrackMessage, kMenuTrackMessage }));
    const auto& place = menuMessages[1];
    EXPECT_EQ (place.rect, (std::vector<int16_t> { 200, 300, 240, 350 })) << "the toolbox's rectangle for the size";
    EXPECT_EQ ((std::vector<int16_t> { place.point.v, place.point.h, place.item }), (std::vector<int16_t> { 200, 300, 2 }));
    EXPECT_EQ (menuMessages[2].rect, (std::vector<int16_t> { 190, 310, 230, 360 })) << "drawn where it was placed";
    EXPECT_EQ ((std::vector<int16_t> { menuMessages[3].point.v, menuMessages[4].point.v, menuMessages[5].point.v }),
               (std::vector<int16_t> { 195, 205, 215 }));
    EXPECT_EQ (menuMessages[5].item, 2) << "each track message gets the item last answered";
    EXPECT_EQ (referenceSeen, 77);

    // The definition drew in a window of its own, in global coordinates.
    WindowRef popUp = toolbox.lastPopUpWindow();
    ASSERT_NE (popUp, nullptr);
    EXPECT_EQ (portWhileDrawing, popUp);
    EXPECT_EQ (toolbox.pixel (popUp, 0, 0), kBlack);
    EXPECT_EQ (toolbox.pixel (popUp, 49, 39), kBlack);
    EXPECT_EQ (toolbox.windowPixels (popUp).size(), 50u * 40u);
    GrafPtr current = nullptr;
    host.GetPort (&current);
    EXPECT_EQ (current, window) << "the caller's port is current again";
    EXPECT_EQ (mismatches ([] (int, int) { return kWhite; }), "") << "nothing drawn into the caller's window";
}

TEST_F (HostExtMenus, ThePopUpWindowLiesOnTheScreensAndGoesWithItsControls)
{
    toolbox.setScreens ({ { 0, 0, 220, 340 } });
    makeControlWhileDrawing = true;
    host.PopUpMenuSelect (menu, 200, 300, 2);
    WindowRef popUp = toolbox.lastPopUpWindow();
    EXPECT_EQ (toolbox.windowPixels (popUp).size(), 30u * 30u) << "(190, 310, 230, 360) cut by the screen";
    Rect bounds {};
    host.GetPortBounds (popUp, &bounds);
    EXPECT_EQ (edgesOf (bounds), (std::vector<int16_t> { 190, 310, 220, 340 })) << "local coordinates are global ones";
    EXPECT_EQ (toolbox.objectCounts().controls, 1u);

    makeControlWhileDrawing = false;
    host.PopUpMenuSelect (menu, 200, 300, 2);
    EXPECT_EQ (toolbox.objectCounts().controls, 0u) << "the last pop-up window went, and its control with it";
    EXPECT_EQ (toolbox.objectCounts().windows, 2u);
    EXPECT_EQ (toolbox.script().countOf ("InvalidHandle"), 0u);
}

TEST_F (HostExtMenus, ReleasedOutsideOrWithoutADefinitionChoosesNothing)
{
    toolbox.setMouseScript ({ { { 195, 320 }, true }, { { 100, 100 }, false } });
    EXPECT_EQ (host.PopUpMenuSelect (menu, 200, 300, 1), 0);

    host.DisposeMenuDefinition (definition);
    menuMessages.clear();
    EXPECT_EQ (host.PopUpMenuSelect (menu, 200, 300, 1), 0);
    EXPECT_TRUE (menuMessages.empty()) << "a disposed definition is no longer the menu's";
    const Handle kept = (*menu)->definition;
    EXPECT_EQ (kept, nullptr);

    host.DeleteMenu (1000);
    host.DisposeMenu (menu);
    EXPECT_EQ (toolbox.objectCounts().menus, 0u);
    EXPECT_EQ (toolbox.objectCounts().menuDefinitions, 0u);
    EXPECT_EQ (host.PopUpMenuSelect (menu, 200, 300, 1), 0);
    EXPECT_EQ (toolbox.script().callsOf ("InvalidHandle").back().text, "menu");
}

TEST_F (HostExtMenus, FailuresToCreateAreReported)
{
    toolbox.script().injectFailure ("NewMenu", memFullErr);
    EXPECT_EQ (host.NewMenu (1, nullptr), nullptr);
    EXPECT_EQ (host.MemError(), memFullErr);
    toolbox.script().injectFailure ("NewMenuDefinition", memFullErr);
    EXPECT_EQ (host.NewMenuDefinition (testMenuDefinition), nullptr);
    EXPECT_EQ (host.MemError(), memFullErr);
}

using HostExtInput = HostExtInterface;

TEST_F (HostExtInput, MouseScriptsAlwaysEndWithTheButtonUp)
{
    toolbox.setMouseScript ({ { { 110, 215 }, true }, { { 112, 230 }, true } });
    Point where {};
    host.GetMouse (&where);
    EXPECT_EQ ((std::vector<int16_t> { where.v, where.h }), (std::vector<int16_t> { 10, 15 })) << "local to the current port";
    int polls = 0;
    while (host.StillDown() != 0)
        ++polls;
    EXPECT_EQ (polls, 1);
    EXPECT_EQ (host.StillDown(), 0);
    host.SetOrigin (5, 5);
    host.GetMouse (&where);
    EXPECT_EQ ((std::vector<int16_t> { where.v, where.h }), (std::vector<int16_t> { 17, 35 })) << "up where the last sample was";

    // With no script every tracking routine returns at once.
    const Rect area { 0, 0, 10, 10 };
    TEHandle edit = host.TENew (&area, &area);
    host.TEClick ({ 1, 1 }, 0, edit);
    const unsigned char title[] = "\0";
    MenuHandle menu = host.NewMenu (5, title);
    host.SetMenuDefinition (menu, host.NewMenuDefinition (testMenuDefinition));
    menuMessages.clear();
    EXPECT_EQ (host.PopUpMenuSelect (menu, 0, 0, 1), 0);
    EXPECT_EQ (menuMessages.size(), 5u) << "size, place, draw and one track message for each of the two last states";
}

TEST_F (HostExtInput, ScreensAreListedByIndex)
{
    EXPECT_EQ (host.CountScreens(), 1);
    Rect bounds {};
    ASSERT_EQ (host.GetScreenBounds (0, &bounds), 1);
    EXPECT_EQ (edgesOf (bounds), (std::vector<int16_t> { 0, 0, 768, 1024 }));
    toolbox.setScreens ({ { 0, 0, 600, 800 }, { 0, 800, 1024, 2080 } });
    EXPECT_EQ (host.CountScreens(), 2);
    ASSERT_EQ (host.GetScreenBounds (1, &bounds), 1);
    EXPECT_EQ (edgesOf (bounds), (std::vector<int16_t> { 0, 800, 1024, 2080 }));
    EXPECT_EQ (host.GetScreenBounds (2, &bounds), 0);
    EXPECT_EQ (host.GetScreenBounds (-1, &bounds), 0);
}

} // namespace
