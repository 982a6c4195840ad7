// Radio groups (steps by child, the highlight frame), text pop-ups (items, placement on the screen,
// scrolling, the menu definition's messages, failures inside it) and view pop-ups (a dialog whose
// editors work on the pop-up's control view while it is up).

#include "EditorTestSupport.h"

#include "views/base/ScopedToolboxObjects.h"
#include "views/dialogs/CDialogView.h"
#include "views/dialogs/DialogResources.h"
#include "views/editors/CRadioGroupControlEditor.h"
#include "views/editors/CSliderControlEditor.h"
#include "views/editors/CTextPopupControlEditor.h"
#include "views/editors/CViewPopupControlEditor.h"

namespace
{

using namespace DialogItemKind;

inline constexpr uint32_t kGain = FourCharCode ("Gain");
inline constexpr uint8_t kDisabled = 0x80;
inline constexpr uint32_t kBlackPixel = 0xFF000000u;

// ---- Radio groups ----

class RadioGroups : public EditorTest
{
protected:
    // A control view 'Gain' of `steps` steps at step 1, and a group of three children.
    CRadioGroupControlEditor& OpenGroup (const std::string& description, int32_t steps)
    {
        CRadioGroupControlEditor* group = nullptr;
        Open ([&] (CCustomView& root) {
            view = &AddView<ScriptedControlView> (root, kGain, { 70, 0, 80, 10 });
            view->SetStepCount (steps);
            view->SetStep (1);
            group = &AddDescribed<CRadioGroupControlEditor> (root, description, { 10, 0, 30, 90 });
            for (int16_t i = 0; i < 3; ++i)
                children.push_back (&AddView<CCustomView> (*group, FourCharCode ("Chld"), { 12, int16_t (2 + 30 * i), 28, int16_t (28 + 30 * i) }));
        });
        view->written.clear();
        return *group;
    }

    void ClickChild (int index)
    {
        const int h = 10 + 30 * index;
        toolbox.setMouseScript ({ Down (h, 20), Up (h, 20) });
        Click (MouseDown (h, 20));
    }

    ScriptedControlView* view = nullptr;
    std::vector<CCustomView*> children;
};

TEST_F (RadioGroups, ChildrenStandForStepsAndChildrenPastTheLastStepDoNothing)
{
    CRadioGroupControlEditor& group = OpenGroup ("! RadioGroup (('Rg01') ('Gain'))", 2);
    EXPECT_EQ (group.GetSelectedChild(), children[1]);
    EXPECT_EQ (children[1]->GetHilite(), 1);

    ClickChild (0);
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MIN });
    EXPECT_EQ (group.GetSelectedChild(), children[0]);
    EXPECT_EQ (children[0]->GetHilite(), 1);
    EXPECT_EQ (children[1]->GetHilite(), 0) << "only the selected child is lit";

    ClickChild (2);
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MIN }) << "a third child of two steps is ignored";
    EXPECT_EQ (group.GetSelectedChild(), children[0]);
    ClickChild (0);
    EXPECT_EQ (view->written.size(), 1u) << "the selected child writes nothing";
    ClickChild (1);
    EXPECT_EQ (view->written.back(), INT32_MAX);
    const Point anchor = group.GetAnchorPoint();
    EXPECT_EQ (anchor.v, 20);
    EXPECT_EQ (anchor.h, 45);
}

// A pop-up's synthetic click follows the mouse over the children while the button is down, and
// stops where the mouse leaves the group, finds no child or a child past the last step.
TEST_F (RadioGroups, ASyntheticClickFollowsTheMouseUntilItLeavesTheChildrenOrTheButtonIsUp)
{
    struct Case
    {
        const char* what;
        int32_t steps;
        std::vector<HostExtMouseSample> then;
        std::vector<int32_t> chosen;
        size_t left;
    };
    const Case cases[] = {
        { "outside the group", 3, { Down (70, 20), Down (100, 20), Down (40, 20), Up (40, 20) }, { 0, 2 }, 2 },
        { "between two children", 3, { Down (70, 20), Down (29, 20), Down (40, 20), Up (40, 20) }, { 0, 2 }, 2 },
        { "on a child past the last step", 2, { Down (40, 20), Down (70, 20), Down (10, 20), Up (10, 20) }, { 0, 1 }, 2 },
        { "the button up", 3, { Down (70, 20), Up (40, 20), Down (10, 20) }, { 0, 2 }, 1 },
    };
    CRadioGroupControlEditor& group = OpenGroup ("! RadioGroup (('Rg01') ('Gain'))", 3);
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.what);
        view->SetStepCount (c.steps);
        view->SetStep (1);
        view->written.clear();
        std::vector<HostExtMouseSample> samples { Down (10, 20) };
        samples.insert (samples.end(), c.then.begin(), c.then.end());
        toolbox.setMouseScript (samples);
        group.TrackMouse (MouseDown (10, 20), true);
        std::vector<int32_t> expected;
        for (int32_t step : c.chosen)
            expected.push_back (view->ValueFromStep (step));
        EXPECT_EQ (view->written, expected);
        EXPECT_EQ (toolbox.pendingMouseSamples(), c.left) << "the loop ended there";
    }
}

TEST_F (RadioGroups, ARealClickSelectsOnceWhereItWas)
{
    CRadioGroupControlEditor& group = OpenGroup ("! RadioGroup (('Rg01') ('Gain'))", 3);
    toolbox.setMouseScript ({ Down (10, 20), Down (70, 20), Up (70, 20) });
    group.TrackMouse (MouseDown (10, 20), false);
    EXPECT_EQ (view->written, std::vector<int32_t> { view->ValueFromStep (0) });
    EXPECT_EQ (toolbox.pendingMouseSamples(), 2u) << "the mouse is not followed";
}

TEST_F (RadioGroups, TheHighlightFrameIsDrawnOnlyWithEnableHighlight)
{
    CRadioGroupControlEditor* framed = nullptr;
    CRadioGroupControlEditor* plain = nullptr;
    Open ([&] (CCustomView& root) {
        view = &AddView<ScriptedControlView> (root, kGain, { 70, 0, 80, 10 });
        view->SetStepCount (2);
        framed = &AddDescribed<CRadioGroupControlEditor> (root, "! RadioGroup (('Rg01') ('Gain') (\"other\" \"EnableHighlight\"))", { 0, 0, 20, 50 });
        plain = &AddDescribed<CRadioGroupControlEditor> (root, "! RadioGroup (('Rg02') ('Gain') (\"enableHighlight\"))", { 30, 0, 50, 50 });
    });
    EXPECT_TRUE (framed->IsHighlightEnabled());
    EXPECT_FALSE (plain->IsHighlightEnabled()) << "the string is compared exactly";
    Redraw();
    struct Case
    {
        int16_t colour;
        uint32_t pixel;
    };
    const Case cases[] = { { 0, 0xFFFF0000u }, { 1, 0xFF0000AAu }, { 2, 0xFF00DD00u }, { 3, 0xFFFFCC00u }, { 7, 0xFF00DD00u } };
    view->SetHighlighted (true);
    for (const Case& c : cases)
    {
        view->SetHighlight (c.colour, 0, nullptr);
        EXPECT_EQ (PixelAt (0, 10), c.pixel) << "colour " << c.colour;
        EXPECT_EQ (PixelAt (25, 19), c.pixel) << "colour " << c.colour;
        EXPECT_EQ (PixelAt (0, 40), kWhitePixel) << "no frame without EnableHighlight";
    }
    toolbox.validateWindow (window);
    view->SetHighlighted (false);
    const auto update = toolbox.updateRegion (window);
    ASSERT_FALSE (update.empty()) << "the frame's place is marked for the host's update";
    Redraw();
    EXPECT_EQ (PixelAt (0, 10), kWhitePixel);

    for (const char* refused : { "! RadioGroup (('Rg01') ('Gain') (reverse))", "! RadioGroup (('Rg01') ('Gain') (\"a\" 5))" })
        EXPECT_EQ (Described<CRadioGroupControlEditor> (refused), nullptr) << refused;
}

// ---- Text pop-ups ----

class TextPopUps : public EditorTest
{
protected:
    // A control view 'Gain' of `steps` steps showing "Step n", at step `step`, and a pop-up on it
    // at (10, 10, 25, 60).
    CTextPopupControlEditor& OpenPopUp (int32_t steps, int32_t step)
    {
        CTextPopupControlEditor* popUp = nullptr;
        Open ([&] (CCustomView& root) {
            view = &AddView<ScriptedControlView> (root, kGain, { 70, 0, 80, 10 });
            view->SetStepCount (steps);
            view->SetStep (step);
            view->textOf = [this] (int32_t value) {
                GrafPtr port = nullptr;
                HostToolbox().GetPort (&port);
                if (failTexts && port == toolbox.lastPopUpWindow())
                    throw CDAEError (-5555);
                return "Step " + std::to_string (view->StepFromValue (value));
            };
            popUp = &AddDescribed<CTextPopupControlEditor> (root, "! TextPopup (('Pop1') ('Gain'))", { 10, 10, 25, 60 });
        });
        view->written.clear();
        return *popUp;
    }

    // Clicks the pop-up at (20, 15) (global (220, 115)) and moves the mouse through `then`.
    void PopUpAndMove (std::vector<HostExtMouseSample> then)
    {
        std::vector<HostExtMouseSample> samples { Down (20, 15), Down (20, 15) };
        samples.insert (samples.end(), then.begin(), then.end());
        toolbox.setMouseScript (samples);
        Click (MouseDown (20, 15));
    }

    static Point GlobalPoint (int h, int v) { return { int16_t (v), int16_t (h) }; }

    ScriptedControlView* view = nullptr;
    // Texts asked for while a pop-up's window is the current port fail while set.
    bool failTexts = false;
};

TEST_F (TextPopUps, FiveStepsShowFiveItemsWithTheShownOneUnderTheMouse)
{
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    EXPECT_EQ (popUp.GetShownStep(), 2);
    PopUpAndMove ({ Down (50, 40), Up (50, 40) });
    EXPECT_EQ (popUp.GetItemCount(), 5);
    const MenuRecord& menu = **popUp.GetMenu();
    EXPECT_EQ (menu.menuHeight, 5 * 13) << "five items of the font's ascent and descent plus 4";
    EXPECT_EQ (menu.menuWidth, 6 * 7 + 14) << "the widest text in bold plus 14";
    EXPECT_EQ (Describe (popUp.GetMenuRect()), Describe (Rect { 81, 230, 146, 286 })) << "10 right of the click, item 3 two thirds above it";
    EXPECT_EQ (popUp.GetScrollArrows(), 0);
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MAX }) << "item 5 chose the last step";
    EXPECT_EQ (popUp.GetShownStep(), 4);
    EXPECT_EQ (popUp.GetHilite(), 0);
    EXPECT_EQ (toolbox.script().countOf ("InsertMenu"), toolbox.script().countOf ("DeleteMenu"));

    const WindowRef menuWindow = toolbox.lastPopUpWindow();
    ASSERT_NE (menuWindow, nullptr);
    for (int item = 1; item <= 5; ++item)
    {
        bool drawn = false;
        for (int x = 3; x < 50 && ! drawn; ++x)
            for (int y = (item - 1) * 13; y < item * 13 && ! drawn; ++y)
                drawn = toolbox.pixel (menuWindow, x, y) == kBlackPixel;
        EXPECT_TRUE (drawn || item == 5) << "item " << item << " shows its text";
    }
    EXPECT_EQ (toolbox.pixel (menuWindow, 1, 4 * 13 + 1), kBlackPixel) << "the item under the mouse is inverted";

    view->written.clear();
    PopUpAndMove ({ Down (50, 13), Up (50, 13) });
    EXPECT_TRUE (view->written.empty()) << "choosing the item already shown writes nothing";
    view->SetStep (2);
    view->written.clear();
    PopUpAndMove ({ Down (50, 13), Up (10, 13) });
    EXPECT_TRUE (view->written.empty()) << "letting go outside the menu chooses nothing";
}

TEST_F (TextPopUps, TheEditorShowsTheStepsTextInItsPlate)
{
    CTextPopupControlEditor& popUp = OpenPopUp (5, 3);
    // "Step 3" is 36 pixels wide; the item rectangle runs from 11 to 59.
    const auto firstTextColumn = [&] {
        Redraw();
        for (int x = 11; x < 60; ++x)
            for (int y = 12; y < 22; ++y)
                if (PixelAt (x, y) == PixelOf (kDefaultForeColor))
                    return x;
        return -1;
    };
    EXPECT_EQ (firstTextColumn(), 17) << "centred";
    EXPECT_EQ (PixelAt (13, 13), 0xFFAAAAAAu) << "on the plate's face";
    popUp.SetAlignment (PopUpAlignment::kLeft);
    EXPECT_EQ (firstTextColumn(), 14) << "left-aligned 3 pixels in";
    popUp.SetAlignment (PopUpAlignment::kRight);
    EXPECT_EQ (firstTextColumn(), 20) << "right-aligned 3 pixels in";
    popUp.SetMargins ({ 0, 0, 0, -2, 0 });
    EXPECT_EQ (firstTextColumn(), 18) << "moved 2 across by the fourth margin";
    popUp.SetMargins ({ 0, 4, 0, 0, 0 });
    EXPECT_EQ (firstTextColumn(), 16) << "the second margin moves the right edge in";
}

TEST_F (TextPopUps, AMenuTallerThanTheScreenShowsArrowsAndScrollsWhileTheMouseRestsInOne)
{
    toolbox.setScreens ({ { 0, 0, 200, 400 } });
    CTextPopupControlEditor& popUp = OpenPopUp (30, 15);
    // Global (250, 190) rests in the bottom arrow zone, (250, 200) just below it, (250, 208) too
    // far below.
    PopUpAndMove ({ Down (50, 90), Down (50, 100), Down (50, 108), Up (50, 108) });
    EXPECT_EQ (Describe (popUp.GetScreenRect()), Describe (Rect { 0, 0, 200, 400 }));
    EXPECT_EQ (Describe (popUp.GetVisibleMenuRect()), Describe (Rect { 5, 230, 195, 293 }));
    EXPECT_EQ (popUp.GetScrollArrows(), PopUpArrow::kUp | PopUpArrow::kDown);
    EXPECT_EQ (popUp.GetMenuRect().top, -88 - 16 - 16) << "two polls in reach scrolled 16 each";
    EXPECT_TRUE (view->written.empty());

    PopUpAndMove ({ Down (50, -90), Down (50, -90), Down (50, -90), Up (50, -90) });
    EXPECT_EQ (popUp.GetMenuRect().top, -88 + 16 * 4) << "up, towards the hidden top, on each of the four polls there";

    toolbox.setScreens ({ { 0, 0, 200, 400 } });
    PopUpAndMove ({});
    const WindowRef menuWindow = toolbox.lastPopUpWindow();
    EXPECT_EQ (toolbox.pixel (menuWindow, 31, 6), kBlackPixel) << "the up arrow's triangle";
    EXPECT_EQ (toolbox.pixel (menuWindow, 31, 190 - 5 - 6 + 3), kBlackPixel) << "the down arrow's triangle";
}

TEST_F (TextPopUps, AClickOffEveryScreenOpensOnTheMainScreen)
{
    toolbox.setScreens ({ { 0, 1000, 768, 2024 } });
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    PopUpAndMove ({ Up (20, 15) });
    EXPECT_EQ (Describe (popUp.GetScreenRect()), Describe (Rect { 0, 1000, 768, 2024 }));
    EXPECT_EQ (Describe (popUp.GetMenuRect()), Describe (Rect { 81, 1005, 146, 1061 })) << "slid onto the screen";

    EXPECT_FALSE (ScreenHolding ({ 115, 220 }).has_value());
    toolbox.setScreens ({});
    EXPECT_EQ (Describe (ScreenHoldingOrMain ({ 10, 10 })), Describe (kDefaultLimitRect)) << "without screens nothing limits a pop-up";
}

TEST_F (TextPopUps, AMenuWiderThanTheScreenShowsSideArrowsAndScrollsTowardsTheHiddenSide)
{
    // The menu (56 wide) opens at global h 230; the screen keeps it within 245 to 275.
    toolbox.setScreens ({ { 0, 240, 200, 280 } });
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    PopUpAndMove ({});
    EXPECT_EQ (Describe (popUp.GetMenuRect()), Describe (Rect { 81, 230, 146, 286 }));
    EXPECT_EQ (Describe (popUp.GetVisibleMenuRect()), Describe (Rect { 81, 245, 146, 275 }));
    EXPECT_EQ (popUp.GetScrollArrows(), PopUpArrow::kLeft | PopUpArrow::kRight);
    const WindowRef menuWindow = toolbox.lastPopUpWindow();
    // The window's pixels start at the visible part's top-left (global 245, 81).
    EXPECT_EQ (toolbox.pixel (menuWindow, 6, 32), kBlackPixel) << "the left arrow's triangle";
    EXPECT_EQ (toolbox.pixel (menuWindow, 24, 32), kBlackPixel) << "the right arrow's triangle";
    EXPECT_NE (toolbox.pixel (menuWindow, 1, 32), kBlackPixel) << "the arrow zone is erased around its triangle";

    // Global (246, 100) rests in the left zone, (270, 100) in the right one.
    PopUpAndMove ({ Down (46, 0), Down (46, 0), Up (46, 0) });
    EXPECT_EQ (popUp.GetMenuRect().left, 245) << "scrolled right by the 15 pixels hidden on the left, then no further";
    EXPECT_EQ (popUp.GetScrollArrows(), PopUpArrow::kRight);
    PopUpAndMove ({ Down (70, 0), Down (70, 0), Up (70, 0) });
    EXPECT_EQ (popUp.GetMenuRect().left, 230 - 11) << "scrolled left by the 11 pixels hidden on the right";
    EXPECT_EQ (popUp.GetScrollArrows(), PopUpArrow::kLeft);
}

TEST_F (TextPopUps, TheMenuDefinitionAnswersEveryMessageAndLetsNoFailureOut)
{
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    PopUpAndMove ({ Up (20, 15) });
    // The messages as the toolbox sends them, with the pop-up's window current.
    const WindowRef menuWindow = toolbox.lastPopUpWindow();
    const ScopedCurrentPort port (menuWindow);
    MenuHandle menu = popUp.GetMenu();
    Rect rect = popUp.GetVisibleMenuRect();
    int16_t item = 0;
    CPopUpMenu::Definition (kMenuThemeMessage, menu, &rect, GlobalPoint (0, 0), &item);
    EXPECT_EQ (item, kMenuThemeAnswer);
    CPopUpMenu::Definition (kMenuFindItemMessage, menu, &rect, GlobalPoint (250, 100), &item);
    EXPECT_EQ (item, 2);
    CPopUpMenu::Definition (kMenuFindItemMessage, menu, &rect, GlobalPoint (220, 100), &item);
    EXPECT_EQ (item, 0) << "left of the menu";
    CPopUpMenu::Definition (99, menu, &rect, GlobalPoint (250, 100), &item);
    EXPECT_EQ (item, 0) << "other messages are ignored";
    item = 4;
    CPopUpMenu::Definition (kMenuHiliteItemMessage, menu, &rect, GlobalPoint (0, 0), &item);
    EXPECT_EQ (popUp.GetHilitedItem(), 4);
    EXPECT_EQ (toolbox.pixel (menuWindow, 1, 3 * 13 + 1), kBlackPixel) << "item 4 is drawn inverted";
    CPopUpMenu::Definition (kMenuFindItemMessage, nullptr, &rect, GlobalPoint (250, 100), &item);
    CPopUpMenu::Definition (kMenuFindItemMessage, menu, nullptr, GlobalPoint (250, 100), nullptr);

    failTexts = true;
    EXPECT_NO_THROW (CPopUpMenu::Definition (kMenuDrawMessage, menu, &rect, GlobalPoint (0, 0), &item))
        << "a failing message never leaves the definition";
}

TEST_F (TextPopUps, EveryPopUpSharesOneDefinitionThatOutlivesAnyOfThem)
{
    CTextPopupControlEditor& first = OpenPopUp (5, 2);
    auto& second = AddDescribed<CTextPopupControlEditor> (Root(), "! TextPopup (('Pop2') ('Gain'))", { 40, 10, 55, 60 });
    Root().AttachAll();
    const auto definitionOf = [] (const CTextPopupControlEditor& popUp) {
        return reinterpret_cast<const MenuDefinitionRecord*> (*(**popUp.GetMenu()).definition)->proc;
    };
    EXPECT_EQ (definitionOf (first), &CPopUpMenu::Definition);
    EXPECT_EQ (definitionOf (second), &CPopUpMenu::Definition);
    EXPECT_EQ (toolbox.objectCounts().menus, 2u);
    Root().RemoveChild (&first).reset();
    EXPECT_EQ (toolbox.objectCounts().menus, 1u) << "an editor disposes of its own menu and definition";
    EXPECT_EQ (toolbox.objectCounts().menuDefinitions, 1u);

    toolbox.setMouseScript ({ Down (20, 45), Down (20, 45), Down (50, 70), Up (50, 70) });
    Click (MouseDown (20, 45));
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MAX }) << "the other pop-up still works";
}

TEST_F (TextPopUps, QuietChangesMarkThePlateForTheNextUpdate)
{
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    toolbox.validateWindow (window);
    view->Store (view->ValueFromStep (4));
    popUp.ValueChangedQuiet();
    EXPECT_EQ (popUp.GetShownStep(), 4);
    EXPECT_FALSE (toolbox.updateRegion (window).empty());
    toolbox.validateWindow (window);
    popUp.ValueChangedQuiet();
    EXPECT_TRUE (toolbox.updateRegion (window).empty()) << "an unchanged step asks for nothing";

    MenuHandle menu = popUp.GetMenu();
    Rect rect {};
    int16_t item = 7;
    CPopUpMenu::Definition (kMenuFindItemMessage, menu, &rect, GlobalPoint (250, 100), &item);
    EXPECT_EQ (item, 0) << "a menu never placed has no items under any point";
}

TEST_F (TextPopUps, AFailureInsideThePopUpComesOutAfterTheToolboxReturned)
{
    CTextPopupControlEditor& popUp = OpenPopUp (5, 2);
    failTexts = true;
    toolbox.setMouseScript ({ Down (20, 15), Down (20, 15), Down (50, 40), Up (50, 40) });
    EXPECT_EQ (ThrownCode ([&] { Click (MouseDown (20, 15)); }), -5555);
    EXPECT_EQ (toolbox.script().countOf ("InsertMenu"), 1u);
    EXPECT_EQ (toolbox.script().countOf ("DeleteMenu"), 1u) << "the menu was deleted again";
    EXPECT_EQ (toolbox.script().countOf ("PopUpMenuSelect"), 1u);
    EXPECT_TRUE (view->written.empty()) << "a failed pop-up chooses nothing";
    EXPECT_EQ (popUp.GetHilite(), 0);
    EXPECT_EQ (toolbox.objectCounts().menus, 1u);

    failTexts = false;
    PopUpAndMove ({ Down (50, 40), Up (50, 40) });
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MAX }) << "the next pop-up works again";
}

// ---- View pop-ups ----

class ViewPopUps : public EditorTest
{
protected:
    // Dialog 200 (60 x 40): a radio group on 'PopC' with two disabled children, and a slider on
    // 'PopC'; the pop-up on 'Gain' (2 steps, at step 0) names both.
    CViewPopupControlEditor& OpenPopUp (const std::string& editors = "'Rg01' 'Sl01'")
    {
        resources = std::make_unique<ScopedPlugInResources> (
            "ViewPopUps",
            std::vector<SResource> {
                { "DLOG", 200, DialogBytes ({ 0, 0, 40, 60 }, 200) },
                { "DITL", 200, ItemListBytes ({
                                   TextItem ({ 4, 4, 20, 56 }, kControl, "! RadioGroup (('Rg01') ('PopC'))"),
                                   { { 5, 5, 19, 30 }, kUser | kDisabled, {} },
                                   { { 5, 31, 19, 55 }, kUser | kDisabled, {} },
                                   TextItem ({ 22, 4, 36, 56 }, kControl, "! Slider (('Sl01') ('PopC'))"),
                               }) },
            });
        CViewPopupControlEditor* popUp = nullptr;
        Open ([&] (CCustomView& root) {
            view = &AddView<ScriptedControlView> (root, kGain, { 70, 0, 80, 10 });
            view->SetStepCount (2);
            popUp = &AddDescribed<CViewPopupControlEditor> (root, "! ViewPopup (('VP01') ('Gain') (200 " + editors + "))", { 10, 10, 25, 60 });
        });
        view->written.clear();
        return *popUp;
    }

    ScriptedControlView* view = nullptr;
};

TEST_F (ViewPopUps, TheDialogsEditorsAreFoundAndLeftUnbound)
{
    CViewPopupControlEditor& popUp = OpenPopUp();
    ASSERT_NE (popUp.GetPopUpView(), nullptr);
    EXPECT_EQ (popUp.GetContentID(), 200);
    auto* group = dynamic_cast<CRadioGroupControlEditor*> (popUp.GetInnerEditor (0));
    auto* slider = dynamic_cast<CSliderControlEditor*> (popUp.GetInnerEditor (1));
    ASSERT_NE (group, nullptr);
    ASSERT_NE (slider, nullptr);
    EXPECT_EQ (popUp.GetInnerEditor (2), nullptr);
    EXPECT_EQ (group->GetBoundView(), nullptr);
    EXPECT_EQ (slider->GetBoundView(), nullptr);
    EXPECT_EQ (Chain (*view), std::vector<const IControlViewEditor*> { &popUp });
    const CPlugInView* before = popUp.GetPopUpView();
    popUp.FinishCreate();
    EXPECT_EQ (popUp.GetPopUpView(), before) << "the dialog is built once";
}

TEST_F (ViewPopUps, WhileUpTheInnerEditorsWorkOnThePopUpsControlViewAndAfterwardsLetItGo)
{
    CViewPopupControlEditor& popUp = OpenPopUp();
    auto* group = popUp.GetInnerEditor (0);
    auto* slider = popUp.GetInnerEditor (1);
    std::vector<size_t> chainWhileWriting;
    view->onWrite = [&] { chainWhileWriting.push_back (Chain (*view).size()); };
    // Global (270, 125) lies on the group's second child once the dialog is placed at (115, 230).
    toolbox.setMouseScript ({ Down (20, 15), Down (20, 15), Down (70, 25), Up (70, 25) });
    Click (MouseDown (20, 15));
    EXPECT_EQ (Describe (popUp.GetMenuRect()), Describe (Rect { 115, 230, 155, 290 }));
    EXPECT_EQ (view->written, std::vector<int32_t> { INT32_MAX }) << "the group's second child chose step 1";
    EXPECT_EQ (chainWhileWriting, std::vector<size_t> { 3 }) << "the two inner editors were registered";
    EXPECT_EQ (group->GetBoundView(), nullptr);
    EXPECT_EQ (slider->GetBoundView(), nullptr);
    EXPECT_EQ (Chain (*view), std::vector<const IControlViewEditor*> { &popUp });
    EXPECT_EQ (popUp.GetPopUpView()->GetWindow(), nullptr) << "the dialog left the pop-up's window";
    EXPECT_EQ (popUp.GetHilite(), 0);
}

TEST_F (ViewPopUps, TheInnerEditorsAreUnregisteredAlsoWhenThePopUpFails)
{
    CViewPopupControlEditor& popUp = OpenPopUp();
    view->failWrites = true;
    toolbox.setMouseScript ({ Down (20, 15), Down (20, 15), Down (70, 25), Up (70, 25) });
    EXPECT_EQ (ThrownCode ([&] { Click (MouseDown (20, 15)); }), -1234);
    EXPECT_EQ (Chain (*view), std::vector<const IControlViewEditor*> { &popUp });
    EXPECT_EQ (popUp.GetInnerEditor (0)->GetBoundView(), nullptr);
    EXPECT_EQ (popUp.GetPopUpView()->GetWindow(), nullptr);

    view->failWrites = false;
    view->failReads = true;
    toolbox.setMouseScript ({ Down (20, 15), Down (20, 15), Up (20, 15) });
    EXPECT_EQ (ThrownCode ([&] { Click (MouseDown (20, 15)); }), -1234) << "a registration that fails half-way";
    view->failReads = false;
    EXPECT_EQ (Chain (*view), std::vector<const IControlViewEditor*> { &popUp });
    EXPECT_EQ (popUp.GetInnerEditor (0)->GetBoundView(), nullptr);
}

TEST_F (ViewPopUps, APopUpClickedOffEveryScreenFailsWithMinus7400AndChoosesNothing)
{
    CViewPopupControlEditor& popUp = OpenPopUp();
    toolbox.setScreens ({ { 0, 1000, 768, 2024 } });
    toolbox.setMouseScript ({ Down (20, 15), Down (20, 15), Down (70, 25), Up (70, 25) });
    EXPECT_EQ (ThrownCode ([&] { Click (MouseDown (20, 15)); }), -7400) << "no screen holds global (220, 115)";
    EXPECT_TRUE (view->written.empty());
    EXPECT_EQ (Chain (*view), std::vector<const IControlViewEditor*> { &popUp });
    EXPECT_EQ (popUp.GetPopUpView()->GetWindow(), nullptr);
    EXPECT_EQ (toolbox.script().countOf ("InsertMenu"), toolbox.script().countOf ("DeleteMenu"));
}

TEST_F (ViewPopUps, TheDescriptionNamesTheContentAndAtMostFourEditors)
{
    struct Case
    {
        const char* lists;
        int32_t code;
    };
    const Case cases[] = {
        { "('Gain') (200)", 0 },
        { "('Gain') (200 'a   ' 'b   ' 'c   ' 'd   ')", 0 },
        { "('Gain')", -7053 },
        { "('Gain') ()", -7053 },
        { "('Gain') ('Rg01')", -7400 },
        { "('Gain') (200 'a   ' 'b   ' 'c   ' 'd   ' 'e   ')", -7400 },
        { "('Gain') (200 'Rg01' 5)", -7400 },
        { "('Gain') (70000)", -7400 },
    };
    for (const Case& c : cases)
    {
        CViewPopupControlEditor popUp;
        EXPECT_EQ (ReadCode (popUp, std::string ("! Background (('VP01') ") + c.lists + ")"), c.code) << c.lists;
    }
    auto missing = Described<CViewPopupControlEditor> ("! ViewPopup (('VP01') ('Gain') (999))");
    ASSERT_NE (missing, nullptr);
    EXPECT_EQ (ThrownCode ([&] { missing->FinishCreate(); }), -7053) << "no dialog of that ID";
    EXPECT_EQ (missing->GetPopUpView(), nullptr);
}

} // namespace
