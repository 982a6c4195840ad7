// Drawing through the stand-in toolbox: the drawing stack and what it restores, clipping to the
// visible rectangle, redraws deferred while a pop-up covers the window, the root's background,
// moves that redraw, and update marking.

#include "ViewTestSupport.h"

#include "process/utilities/ScopedPlugInResFile.h"

namespace
{

using kestrune::host::rtas::HostExtPortState;
using ViewGeometry::SamePoint;
using ViewGeometry::SameRect;

bool SameState (const HostExtPortState& a, const HostExtPortState& b)
{
    if (! SamePoint (a.origin, b.origin) || a.clip.size() != b.clip.size() || a.backPattern != b.backPattern)
        return false;
    for (size_t i = 0; i < a.clip.size(); ++i)
        if (! SameRect (a.clip[i], b.clip[i]))
            return false;
    return a.back.red == b.back.red && a.back.green == b.back.green && a.back.blue == b.back.blue;
}

bool Inside (int x, int y, const Rect& r)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

class ViewDrawing : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        root = std::make_unique<LoggingView> ("root", Rect { 0, 0, kHeight, kWidth }, &log, kWhite);
        root->SetWindow (window);
    }

    void TearDown() override
    {
        root.reset();
        ViewToolboxTest::TearDown();
    }

    LoggingView& Add (const std::string& name, Rect frame, RGBColor colour, CPlugInView* parent = nullptr)
    {
        auto view = std::make_unique<LoggingView> (name, frame, &log, colour);
        LoggingView& added = *view;
        (parent != nullptr ? parent : root.get())->AddChild (std::move (view), false);
        added.SetWindow (window);
        return added;
    }

    GrafPtr CurrentPort()
    {
        GrafPtr port = nullptr;
        HostToolbox().GetPort (&port);
        return port;
    }

    std::vector<std::string> log;
    std::unique_ptr<LoggingView> root;
};

TEST_F (ViewDrawing, TheDrawingStackHoldsFourLevelsAndRestoresEverythingItChanged)
{
    WindowRef other = toolbox.newWindow ({ 0, 0, 10, 10 });
    HostToolbox().SetPort (other);
    const Rect narrow { 5, 5, 15, 15 };
    HostToolbox().ClipRect (&narrow);
    const HostExtPortState windowBefore = toolbox.portState (window);
    const HostExtPortState otherBefore = toolbox.portState (other);
    const size_t regionsBefore = toolbox.objectCounts().regions;

    for (int level = 0; level < kDrawingStackDepth; ++level)
        root->BeginDrawing (nullptr);
    EXPECT_EQ (CurrentPort(), window);
    EXPECT_EQ (ThrownCode ([&] { root->BeginDrawing (nullptr); }), -7400);
    EXPECT_EQ (toolbox.objectCounts().regions, regionsBefore + kDrawingStackDepth) << "the refused level took nothing";
    for (int level = 0; level < kDrawingStackDepth; ++level)
        root->EndDrawing();
    EXPECT_EQ (ThrownCode ([&] { root->EndDrawing(); }), -7400);

    EXPECT_EQ (CurrentPort(), other);
    EXPECT_TRUE (SameState (toolbox.portState (window), windowBefore));
    EXPECT_TRUE (SameState (toolbox.portState (other), otherBefore));
    EXPECT_EQ (toolbox.objectCounts().regions, regionsBefore);
    toolbox.disposeWindow (other);
}

TEST_F (ViewDrawing, AViewWithoutAWindowDrawsNothing)
{
    LoggingView loose ("loose", { 0, 0, 10, 10 }, &log, kRed);
    toolbox.script().clearCalls();
    loose.Invalidate (nullptr);
    loose.BeginDrawing (nullptr);
    loose.EndDrawing();
    loose.InvalidateFrame();
    EXPECT_EQ (loose.drawCount, 0);
    EXPECT_TRUE (toolbox.script().calls().empty());
}

TEST_F (ViewDrawing, AChildIsClippedToItsLimitAndItsParent)
{
    LoggingView& panel = Add ("panel", { 10, 10, 40, 40 }, kBlue);
    LoggingView& child = Add ("child", { 30, 30, 60, 60 }, kRed, &panel);
    child.SetLimitRect ({ 0, 0, 35, 100 });
    child.Invalidate (nullptr);
    const Rect limited { 30, 30, 35, 40 };
    EXPECT_EQ (Mismatches ([&] (int x, int y) { return Inside (x, y, limited) ? PixelOf (kRed) : kWhitePixel; }), "");

    child.SetLimitRect (kDefaultLimitRect);
    child.Invalidate (nullptr);
    const Rect insideParent { 30, 30, 40, 40 };
    EXPECT_EQ (Mismatches ([&] (int x, int y) { return Inside (x, y, insideParent) ? PixelOf (kRed) : kWhitePixel; }), "");

    // A redraw of the tree hands each child the part of the area that lies in its parent.
    root->Invalidate (nullptr);
    const Rect panelArea { 10, 10, 40, 40 };
    EXPECT_EQ (Mismatches ([&] (int x, int y) {
                   if (Inside (x, y, insideParent))
                       return PixelOf (kRed);
                   return Inside (x, y, panelArea) ? PixelOf (kBlue) : kWhitePixel;
               }),
               "");
}

TEST_F (ViewDrawing, InvalidatingAnAreaRedrawsOnlyWhereItMeetsTheVisibleRectangle)
{
    LoggingView& panel = Add ("panel", { 10, 10, 40, 40 }, kBlue);
    const Rect area { 0, 0, 20, 20 };
    panel.Invalidate (&area);
    const Rect drawn { 10, 10, 20, 20 };
    EXPECT_EQ (Mismatches ([&] (int x, int y) { return Inside (x, y, drawn) ? PixelOf (kBlue) : kWhitePixel; }), "");
    const Rect elsewhere { 50, 50, 60, 60 };
    panel.Invalidate (&elsewhere);
    EXPECT_EQ (panel.drawCount, 1) << "nothing to redraw there";
}

TEST_F (ViewDrawing, AFailureWhileDrawingRestoresThePortAndTheStack)
{
    LoggingView& panel = Add ("panel", { 10, 10, 40, 40 }, kBlue);
    panel.onDraw = [] { throw CDAEError (-7777); };
    const HostExtPortState before = toolbox.portState (window);
    const GrafPtr portBefore = CurrentPort();
    const size_t regionsBefore = toolbox.objectCounts().regions;
    EXPECT_EQ (ThrownCode ([&] { root->Invalidate (nullptr); }), -7777);
    EXPECT_EQ (ThrownCode ([&] { panel.Invalidate (nullptr); }), -7777);
    EXPECT_EQ (CurrentPort(), portBefore);
    EXPECT_TRUE (SameState (toolbox.portState (window), before));
    EXPECT_EQ (toolbox.objectCounts().regions, regionsBefore);
    for (CPlugInView* view : { static_cast<CPlugInView*> (root.get()), static_cast<CPlugInView*> (&panel) })
    {
        for (int level = 0; level < kDrawingStackDepth; ++level)
            view->BeginDrawing (nullptr);
        for (int level = 0; level < kDrawingStackDepth; ++level)
            view->EndDrawing();
    }
}

class DeferredRedraws : public ViewDrawing
{
protected:
    void SetUp() override
    {
        ViewDrawing::SetUp();
        // A pop-up window over the window's area from (h 20, v 10) to (h 60, v 40).
        popUp = toolbox.newWindow ({ 110, 220, 140, 260 });
        ASSERT_NE (popUp, nullptr);
    }

    void TearDown() override
    {
        toolbox.disposeWindow (popUp);
        ViewDrawing::TearDown();
    }

    // Sets the target as a pop-up does: the area in the pop-up's own coordinates.
    void OpenPopUp()
    {
        HostToolbox().SetPort (popUp);
        const Rect whole { 0, 0, 30, 40 };
        CPlugInView::SetDrawingTarget (popUp, &whole);
    }

    const Rect covered { 10, 20, 40, 60 };
    WindowRef popUp = nullptr;
};

TEST_F (DeferredRedraws, ViewsLeaveTheCoveredAreaAloneAndAreRedrawnLastFirstWhenTheTargetGoes)
{
    LoggingView& left = Add ("left", { 0, 0, 50, 30 }, kRed);
    LoggingView& right = Add ("right", { 0, 40, 50, 80 }, kGreen);
    LoggingView& apart = Add ("apart", { 60, 90, 80, 120 }, kBlue);
    std::vector<std::string> order;
    left.onDraw = [&] { order.push_back ("left"); };
    right.onDraw = [&] { order.push_back ("right"); };
    apart.onDraw = [&] { order.push_back ("apart"); };

    OpenPopUp();
    left.Invalidate (nullptr);
    right.Invalidate (nullptr);
    apart.Invalidate (nullptr);
    right.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (25, 15), kWhitePixel) << "under the pop-up";
    EXPECT_EQ (PixelAt (5, 5), PixelOf (kRed));
    EXPECT_EQ (PixelAt (45, 15), kWhitePixel) << "under the pop-up";
    EXPECT_EQ (PixelAt (45, 5), PixelOf (kGreen));
    EXPECT_EQ (PixelAt (100, 70), PixelOf (kBlue)) << "away from the pop-up";

    order.clear();
    CPlugInView::SetDrawingTarget (nullptr, nullptr);
    EXPECT_EQ (order, (std::vector<std::string> { "right", "left" })) << "each view once, the last deferred first";
    EXPECT_EQ (PixelAt (25, 15), PixelOf (kRed));
    EXPECT_EQ (PixelAt (45, 15), PixelOf (kGreen));
    order.clear();
    CPlugInView::SetDrawingTarget (nullptr, nullptr);
    EXPECT_TRUE (order.empty()) << "the list was emptied";
}

TEST_F (DeferredRedraws, ADestroyedViewLeavesTheListAndTheOthersAreStillRedrawn)
{
    LoggingView& kept = Add ("kept", { 0, 0, 50, 30 }, kRed);
    Add ("gone", { 0, 40, 50, 80 }, kGreen);
    OpenPopUp();
    kept.Invalidate (nullptr);
    root->GetFirstChild()->GetNextSibling()->Invalidate (nullptr);
    root->RemoveChild (root->GetFirstChild()->GetNextSibling()).reset();
    const int before = kept.drawCount;
    CPlugInView::SetDrawingTarget (nullptr, nullptr);
    EXPECT_EQ (kept.drawCount, before + 1);
}

TEST_F (DeferredRedraws, AFullListRefusesTheNextViewWithTheStackBalanced)
{
    std::vector<LoggingView*> views;
    for (int i = 0; i < kDeferredRedrawCapacity + 1; ++i)
        views.push_back (&Add ("v" + std::to_string (i), { 10, 20, 30, 40 }, kRed));
    OpenPopUp();
    for (int i = 0; i < kDeferredRedrawCapacity; ++i)
        views[size_t (i)]->Invalidate (nullptr);
    const HostExtPortState before = toolbox.portState (window);
    EXPECT_EQ (ThrownCode ([&] { views.back()->Invalidate (nullptr); }), -7400);
    EXPECT_TRUE (SameState (toolbox.portState (window), before));
    EXPECT_EQ (ThrownCode ([&] { views.front()->Invalidate (nullptr); }), 0) << "a listed view only widens its entry";
    CPlugInView::SetDrawingTarget (nullptr, nullptr);
    for (int i = 0; i < kDeferredRedrawCapacity; ++i)
        EXPECT_EQ (views[size_t (i)]->drawCount, i == 0 ? 3 : 2);
}

TEST_F (DeferredRedraws, ARedrawThatFailsDoesNotKeepTheOthersFromBeingRedrawn)
{
    LoggingView& failing = Add ("failing", { 0, 0, 50, 30 }, kRed);
    LoggingView& fine = Add ("fine", { 0, 40, 50, 80 }, kGreen);
    OpenPopUp();
    fine.Invalidate (nullptr);
    failing.Invalidate (nullptr);
    failing.onDraw = [] { throw CDAEError (-7777); };
    EXPECT_EQ (ThrownCode ([] { CPlugInView::SetDrawingTarget (nullptr, nullptr); }), -7777);
    EXPECT_EQ (fine.drawCount, 2);
}

TEST_F (DeferredRedraws, TheScopedTargetIsClearedHoweverTheScopeEnds)
{
    LoggingView& view = Add ("view", { 0, 0, 50, 30 }, kRed);
    try
    {
        HostToolbox().SetPort (popUp);
        const Rect whole { 0, 0, 30, 40 };
        ScopedDrawingTarget target (popUp, &whole);
        view.Invalidate (nullptr);
        EXPECT_EQ (PixelAt (25, 15), kWhitePixel);
        throw CDAEError (-7777);
    }
    catch (const CDAEError&)
    {
    }
    EXPECT_EQ (PixelAt (25, 15), PixelOf (kRed));
    view.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (25, 15), PixelOf (kRed)) << "no target is left";
}

// A root that erases with a pattern of the plug-in's resource file.
class PatternRoot : public CPlugInView
{
public:
    PixPatHandle pattern = nullptr;
    PixPatHandle GetBackPattern() const override { return pattern; }
};

TEST_F (ViewDrawing, TheRootErasesWithItsBackgroundColourOrPatternAndPutsThePortBack)
{
    const HostExtPortState before = toolbox.portState (window);
    CPlugInView plain;
    plain.SetRect ({ 0, 0, 40, 60 });
    plain.SetBackColor ({ 0x1111, 0x2222, 0x3333 });
    plain.SetWindow (window);
    plain.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (10, 10), PixelOf ({ 0x1111, 0x2222, 0x3333 }));
    EXPECT_EQ (PixelAt (70, 10), kWhitePixel);
    EXPECT_TRUE (SameState (toolbox.portState (window), before));

    // A child draws no background of its own.
    auto child = std::make_unique<CPlugInView>();
    child->SetRect ({ 0, 0, 20, 20 });
    CPlugInView* childView = child.get();
    root->AddChild (std::move (child), false);
    childView->SetWindow (window);
    toolbox.script().clearCalls();
    childView->DrawBackground ({ 0, 0, 20, 20 });
    EXPECT_EQ (toolbox.script().countOf ("EraseRect"), 0u);

    PatternRoot patterned;
    patterned.SetRect ({ 0, 0, 40, 60 });
    patterned.SetWindow (window);
    {
        ScopedPlugInResFile plugInFile;
        ASSERT_TRUE (plugInFile.IsOpen());
        patterned.pattern = patterned.LoadPicture (1001);
        EXPECT_EQ (patterned.LoadPicture (4242), nullptr);
    }
    ASSERT_NE (patterned.pattern, nullptr);
    patterned.Invalidate (nullptr);
    EXPECT_EQ (PixelAt (0, 0), 0xFF112233u);
    EXPECT_EQ (PixelAt (1, 0), 0xFF445566u);
    EXPECT_EQ (toolbox.portState (window).backPattern, nullptr) << "the port had no pattern and has none again";
    HostToolbox().DisposePixPat (patterned.pattern);
}

TEST_F (ViewDrawing, MovingWithRedrawRepaintsTheViewAndWhatItUncovered)
{
    LoggingView& box = Add ("box", { 10, 10, 30, 40 }, kRed);
    root->Invalidate (nullptr);
    box.MoveByRedrawing (25, 15);
    const Rect now { 25, 35, 45, 65 };
    EXPECT_TRUE (SameRect (box.GetRect(), now)) << Describe (box.GetRect());
    EXPECT_EQ (Mismatches ([&] (int x, int y) { return Inside (x, y, now) ? PixelOf (kRed) : kWhitePixel; }), "");

    box.MoveByRedrawing (-30, -20);
    const Rect back { 5, 5, 25, 35 };
    EXPECT_EQ (Mismatches ([&] (int x, int y) { return Inside (x, y, back) ? PixelOf (kRed) : kWhitePixel; }), "");
}

TEST_F (ViewDrawing, MovesMarkTheOldAndTheNewFrameForUpdate)
{
    LoggingView& box = Add ("box", { 10, 10, 30, 40 }, kRed);
    toolbox.validateWindow (window);
    box.MoveBy (0, 0);
    EXPECT_TRUE (toolbox.updateRegion (window).empty());
    box.MoveTo (50, 40);
    Rect bounds {};
    for (const Rect& part : toolbox.updateRegion (window))
        bounds = ViewGeometry::Union (bounds, part);
    EXPECT_TRUE (SameRect (bounds, { 10, 10, 60, 80 })) << Describe (bounds);
    EXPECT_TRUE (SameRect (box.GetRect(), { 40, 50, 60, 80 }));
}

} // namespace
