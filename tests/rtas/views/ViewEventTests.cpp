// Clicks, keys, focus, highlight tracking and dragging through a view tree in a window of the
// stand-in toolbox, with a scripted mouse.

#include "ViewTestSupport.h"

namespace
{

using kestrune::host::rtas::HostExtMouseSample;
using ViewGeometry::SamePoint;
using ViewGeometry::SameRect;

// A view that logs its highlight changes and whether it was being dragged when its parent heard
// of a move.
class TrackingView : public LoggingView
{
public:
    using LoggingView::LoggingView;

    std::vector<int> hilites;
    std::vector<bool> draggingWhenMoved;
    bool throwOnMove = false;

    void SetHilite (uint8_t flag) override
    {
        if (flag != GetHilite())
            hilites.push_back (flag);
        LoggingView::SetHilite (flag);
    }
    void ChildMoved (CPlugInView* child) override
    {
        draggingWhenMoved.push_back (child->IsDragging());
        LoggingView::ChildMoved (child);
        if (throwOnMove)
            throw CDAEError (-7777);
    }
};

class ViewEvents : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        root = std::make_unique<TrackingView> ("root", Rect { 0, 0, kHeight, kWidth }, &log, RGBColor { 0xFFFF, 0xFFFF, 0xFFFF });
        root->SetWindow (window);
        root->Activate();
    }

    void TearDown() override
    {
        root.reset();
        ViewToolboxTest::TearDown();
    }

    LoggingView& Add (const std::string& name, Rect frame, bool focusable = false, CPlugInView* parent = nullptr)
    {
        auto view = std::make_unique<TrackingView> (name, frame, &log, kBlue);
        view->focusable = focusable;
        LoggingView& added = *view;
        (parent != nullptr ? parent : root.get())->AddChild (std::move (view), false);
        added.SetWindow (window);
        return added;
    }

    int32_t ClickAt (int h, int v, uint32_t message = kImmediateClickMessage)
    {
        EventRecord event { 1, message, 0, At (h, v), 0 };
        return root->HandleClick (&event);
    }

    uint8_t Key (uint8_t character, uint16_t modifiers = 0)
    {
        EventRecord event { 3, character, 0, {}, modifiers };
        uint8_t handled = 0xEE;
        root->HandleEvent (&event, &handled);
        return handled;
    }

    // A scripted mouse, given in window (local) coordinates.
    void Mouse (std::initializer_list<std::tuple<int, int, bool>> samples)
    {
        std::vector<HostExtMouseSample> global;
        for (const auto& [h, v, down] : samples)
            global.push_back ({ At (h + kWindowBounds.left, v + kWindowBounds.top), down });
        toolbox.setMouseScript (global);
    }

    std::vector<std::string> log;
    std::unique_ptr<TrackingView> root;
};

TEST_F (ViewEvents, AClickGoesToTheNearestEnabledViewUnderIt)
{
    LoggingView& panel = Add ("panel", { 10, 10, 60, 60 });
    LoggingView& knob = Add ("knob", { 20, 20, 30, 30 }, false, &panel);
    knob.SetEnabled (false);
    struct Case
    {
        int h, v;
        const char* receiver;
    };
    const Case cases[] = { { 25, 25, "panel Click" }, { 15, 15, "panel Click" }, { 100, 70, "root Click" } };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.receiver);
        log.clear();
        EXPECT_EQ (ClickAt (c.h, c.v), 0);
        EXPECT_EQ (log, std::vector<std::string> { c.receiver });
    }
}

TEST_F (ViewEvents, AClickThatHitsNoEnabledViewDoesNothing)
{
    const auto before = toolbox.portState (window);
    root->SetEnabled (false);
    LoggingView& panel = Add ("panel", { 10, 10, 60, 60 });
    panel.SetEnabled (false);
    EXPECT_EQ (ClickAt (20, 20), 0);
    EXPECT_EQ (ClickAt (500, 500), 0) << "outside the root";
    EXPECT_TRUE (log.empty());
    const auto after = toolbox.portState (window);
    EXPECT_EQ (after.clip.size(), before.clip.size());
    EXPECT_TRUE (SamePoint (after.origin, before.origin));
}

TEST_F (ViewEvents, AFocusableViewTakesTheFocusOnlyWhileTheRootIsActiveAndLosesItToAnotherClick)
{
    LoggingView& field = Add ("field", { 10, 10, 20, 50 }, true);
    Add ("label", { 30, 10, 40, 50 });
    root->Deactivate();
    ClickAt (20, 15);
    EXPECT_EQ (root->GetFocusView(), nullptr);

    root->Activate();
    ClickAt (20, 15);
    EXPECT_EQ (root->GetFocusView(), &field);
    log.clear();
    ClickAt (20, 35);
    EXPECT_EQ (log, (std::vector<std::string> { "field EndEditing cancel", "label Click" }));
    EXPECT_EQ (root->GetFocusView(), nullptr);
}

TEST_F (ViewEvents, TabAndShiftTabMoveTheFocusAmongEnabledFocusableSiblingsAndWrap)
{
    LoggingView& first = Add ("first", { 0, 0, 10, 10 }, true);
    Add ("label", { 0, 10, 10, 20 });
    LoggingView& second = Add ("second", { 0, 20, 10, 30 }, true);
    LoggingView& off = Add ("off", { 0, 30, 10, 40 }, true);
    off.SetEnabled (false);
    LoggingView& third = Add ("third", { 0, 40, 10, 50 }, true);

    struct Step
    {
        LoggingView* from;
        bool shift;
        LoggingView* to;
    };
    const Step steps[] = {
        { &first, false, &second },
        { &second, false, &third },
        { &third, false, &first },
        { &first, true, &third },
        { &third, true, &second },
        { &second, true, &first },
    };
    for (const Step& step : steps)
    {
        SCOPED_TRACE (step.from->Name() + (step.shift ? " shift-tab" : " tab"));
        ClickAt (step.from->GetRect().left + 1, 1);
        ASSERT_EQ (root->GetFocusView(), step.from);
        log.clear();
        EXPECT_EQ (Key (kTabKey, step.shift ? kShiftModifier : 0), 1);
        EXPECT_EQ (root->GetFocusView(), step.to);
        EXPECT_EQ (log, (std::vector<std::string> { step.from->Name() + " EndEditing accept", step.to->Name() + " BeginEditing" }));
    }
}

TEST_F (ViewEvents, TabFromTheOnlyFocusableViewCommitsAndLeavesNoFocus)
{
    LoggingView& only = Add ("only", { 0, 0, 10, 10 }, true);
    ClickAt (1, 1);
    ASSERT_EQ (root->GetFocusView(), &only);
    log.clear();
    EXPECT_EQ (Key (kTabKey), 1);
    EXPECT_EQ (log, std::vector<std::string> { "only EndEditing accept" });
    EXPECT_EQ (root->GetFocusView(), nullptr);
}

TEST_F (ViewEvents, EnterReturnEscapeAndOtherKeysReachTheFocusView)
{
    LoggingView& field = Add ("field", { 10, 10, 20, 50 }, true);
    struct Case
    {
        uint8_t key;
        std::vector<std::string> calls;
        bool keepsFocus;
    };
    const Case cases[] = {
        { kEnterKey, { "field EndEditing accept", "field BeginEditing" }, true },
        { kReturnKey, { "field EndEditing accept" }, false },
        { kEscapeKey, { "field EndEditing cancel" }, false },
        { 'a', { "field HandleKey 97" }, true },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (int (c.key));
        ClickAt (20, 15);
        log.clear();
        EXPECT_EQ (Key (c.key), 1);
        EXPECT_EQ (log, c.calls);
        EXPECT_EQ (root->GetFocusView(), c.keepsFocus ? &field : nullptr);
    }
    root->Deactivate();
    ClickAt (100, 70);
    log.clear();
    EXPECT_EQ (Key ('a'), 0) << "without a focus nothing takes the key";
    EXPECT_TRUE (log.empty());
}

TEST_F (ViewEvents, TabWithTheRootFocusedDoesNothing)
{
    root->focusable = true;
    ClickAt (100, 70);
    ASSERT_EQ (root->GetFocusView(), root.get());
    log.clear();
    EXPECT_EQ (Key (kTabKey), 0);
    EXPECT_EQ (Key (kTabKey, kShiftModifier), 0);
    EXPECT_TRUE (log.empty());
    EXPECT_EQ (root->GetFocusView(), root.get());
}

TEST_F (ViewEvents, TakingTheWindowAwayCancelsEditing)
{
    Add ("field", { 10, 10, 20, 50 }, true);
    ClickAt (20, 15);
    log.clear();
    root->SetWindow (nullptr);
    EXPECT_EQ (log, std::vector<std::string> { "field EndEditing cancel" });
    EXPECT_EQ (root->GetFocusView(), nullptr);
    EXPECT_EQ (root->GetFirstChild()->GetWindow(), nullptr);
}

TEST_F (ViewEvents, TrackingHighlightsTheViewWhileTheMouseIsInsideAndGivesTheGroupIdleTime)
{
    CountingGroup group;
    ScopedGlobalGroup global (group);
    auto& button = static_cast<TrackingView&> (Add ("button", { 10, 10, 30, 40 }));
    Mouse ({ { 15, 15, true }, { 16, 16, true }, { 60, 60, true }, { 20, 20, true }, { 20, 20, false } });
    ClickAt (15, 15, 0);
    EXPECT_EQ (button.hilites, (std::vector<int> { 1, 0, 1, 0 }));
    EXPECT_EQ (button.GetHilite(), 0);
    EXPECT_EQ (group.yields, 3) << "one idle call per round while the button is down";
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u);
}

TEST_F (ViewEvents, AnImmediateClickOrAButtonAlreadyUpIsNotTracked)
{
    auto& button = static_cast<TrackingView&> (Add ("button", { 10, 10, 30, 40 }));
    toolbox.script().clearCalls();
    ClickAt (15, 15, kImmediateClickMessage);
    EXPECT_EQ (toolbox.script().countOf ("StillDown"), 0u);
    Mouse ({ { 15, 15, false } });
    ClickAt (15, 15, 0);
    EXPECT_EQ (toolbox.script().countOf ("GetMouse"), 0u);
    EXPECT_TRUE (button.hilites.empty());
}

TEST_F (ViewEvents, ADraggedChildFollowsTheMousePinnedInsideItsParent)
{
    CountingGroup group;
    ScopedGlobalGroup global (group);
    LoggingView& handle = Add ("handle", { 10, 10, 30, 40 });
    handle.SetDraggable (true);
    Mouse ({ { 20, 20, true }, { 25, 22, true }, { 25, 22, true }, { 400, 300, true }, { 400, 300, false } });
    ClickAt (20, 20, 0);
    EXPECT_TRUE (SameRect (handle.GetRect(), { 59, 89, 79, 119 })) << Describe (handle.GetRect());
    const auto& parent = *root;
    EXPECT_EQ (parent.draggingWhenMoved, (std::vector<bool> { true, true })) << "one move per change of the mouse";
    EXPECT_FALSE (handle.IsDragging());
    EXPECT_EQ (handle.GetHilite(), 0);
    EXPECT_EQ (group.yields, 3) << "one idle call per round while the button is down";
    // The child is drawn where it ended and the root where it was.
    EXPECT_EQ (PixelAt (100, 70), PixelOf (kBlue));
    EXPECT_EQ (PixelAt (15, 15), kWhitePixel);
}

TEST_F (ViewEvents, ADraggableRootHasNoParentToDragItAndTracksInstead)
{
    root->SetDraggable (true);
    Mouse ({ { 20, 20, true }, { 30, 30, true }, { 30, 30, false } });
    ClickAt (20, 20, 0);
    EXPECT_TRUE (SameRect (root->GetRect(), { 0, 0, kHeight, kWidth }));
    EXPECT_EQ (root->hilites, (std::vector<int> { 1, 0 }));
}

TEST_F (ViewEvents, AFailureDuringADragLeavesTheTreeAndThePortAsTheyWere)
{
    GrafPtr before = nullptr;
    HostToolbox().GetPort (&before);
    const auto portBefore = toolbox.portState (window);
    const size_t regionsBefore = toolbox.objectCounts().regions;
    LoggingView& handle = Add ("handle", { 10, 10, 30, 40 });
    handle.SetDraggable (true);
    root->throwOnMove = true;
    Mouse ({ { 20, 20, true }, { 30, 30, true }, { 40, 40, true }, { 40, 40, false } });
    try
    {
        ClickAt (20, 20, 0);
        FAIL() << "the failure reaches the caller";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -7777);
    }
    EXPECT_FALSE (handle.IsDragging());
    EXPECT_EQ (handle.GetHilite(), 0);
    GrafPtr after = nullptr;
    HostToolbox().GetPort (&after);
    EXPECT_EQ (after, before);
    EXPECT_EQ (toolbox.objectCounts().regions, regionsBefore);
    const auto portAfter = toolbox.portState (window);
    EXPECT_TRUE (SamePoint (portAfter.origin, portBefore.origin));
    ASSERT_EQ (portAfter.clip.size(), portBefore.clip.size());
    // The drawing stack is balanced: four levels can be opened again.
    for (int level = 0; level < kDrawingStackDepth; ++level)
        root->BeginDrawing (nullptr);
    for (int level = 0; level < kDrawingStackDepth; ++level)
        root->EndDrawing();
}

TEST_F (ViewEvents, TheIdlePassReachesEveryViewAndEachGivesTheGroupTime)
{
    Add ("a", { 0, 0, 10, 10 });
    Add ("b", { 0, 10, 10, 20 });
    root->Idle (0);
    CountingGroup group;
    {
        ScopedGlobalGroup global (group);
        root->Idle (0);
    }
    EXPECT_EQ (group.yields, 3);
}

} // namespace
