// The view tree without a window: nesting by rectangle, hit testing, searches by ID, removal,
// visible rectangles, moves, hiding and showing, and the colours and patterns a tree answers.

#include "ViewTestSupport.h"

#include "process/base/FourCharCode.h"

namespace
{

using ViewGeometry::SameRect;

std::unique_ptr<LoggingView> MakeView (const std::string& name, Rect frame)
{
    return std::make_unique<LoggingView> (name, frame, nullptr);
}

std::string NameOf (const CPlugInView* view)
{
    const auto* logging = dynamic_cast<const LoggingView*> (view);
    return view == nullptr ? "none" : logging != nullptr ? logging->Name()
                                                         : "?";
}

// The tree as text: each view's name and, in brackets, its children.
std::string Shape (const CPlugInView& view)
{
    std::string text = NameOf (&view);
    if (view.GetFirstChild() == nullptr)
        return text;
    text += "[";
    for (const CPlugInView* child = view.GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        text += (child != view.GetFirstChild() ? " " : "") + Shape (*child);
    return text + "]";
}

TEST (ViewTree, NestingPutsAViewInsideTheFirstChildThatEnclosesItAndOtherwiseAppends)
{
    struct Case
    {
        const char* name;
        bool nest;
        const char* shape;
    };
    const Case cases[] = {
        { "nested", true, "root[a[inner[deep]] b edge]" },
        { "flat", false, "root[a b inner deep edge]" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.name);
        LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
        root.AddChild (MakeView ("a", { 0, 0, 50, 50 }), c.nest);
        root.AddChild (MakeView ("b", { 0, 50, 50, 100 }), c.nest);
        root.AddChild (MakeView ("inner", { 10, 10, 40, 40 }), c.nest);
        root.AddChild (MakeView ("deep", { 10, 10, 20, 20 }), c.nest);
        // Reaches past a's right edge: not wholly inside any child.
        root.AddChild (MakeView ("edge", { 10, 40, 20, 60 }), c.nest);
        root.AddChild (nullptr, c.nest);
        EXPECT_EQ (Shape (root), c.shape);
        for (const CPlugInView* child = root.GetFirstChild(); child != nullptr; child = child->GetNextSibling())
            EXPECT_EQ (child->GetParent(), &root);
    }
}

TEST (ViewTree, TheViewAtAPointIsTheDeepestFirstChildHoldingIt)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.AddChild (MakeView ("a", { 0, 0, 50, 50 }), true);
    root.AddChild (MakeView ("inner", { 10, 10, 40, 40 }), true);
    root.AddChild (MakeView ("overlap", { 0, 0, 30, 30 }), false);
    struct Case
    {
        Point where;
        const char* view;
    };
    const Case cases[] = {
        { At (20, 20), "inner" },
        { At (5, 5), "a" },
        { At (60, 60), "root" },
        { At (100, 50), "none" },
        { At (-1, 0), "none" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (std::to_string (c.where.h) + "," + std::to_string (c.where.v));
        EXPECT_EQ (NameOf (root.FindViewAtPoint (c.where)), c.view);
    }
}

TEST (ViewTree, SubViewsAreFoundByIDChildrenFirstThenEachSubtreeAndNoneNeverMatches)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    auto a = MakeView ("a", { 0, 0, 50, 50 });
    auto deepTwin = MakeView ("deep twin", { 10, 10, 20, 20 });
    deepTwin->SetID (FourCharCode ("twin"));
    a->AddChild (std::move (deepTwin), false);
    root.AddChild (std::move (a), false);
    auto b = MakeView ("b", { 50, 50, 60, 60 });
    b->SetID (FourCharCode ("twin"));
    root.AddChild (std::move (b), false);
    root.SetID (FourCharCode ("root"));

    EXPECT_EQ (NameOf (root.FindSubViewByID (FourCharCode ("twin"))), "b") << "direct children come before subtrees";
    EXPECT_EQ (root.FindSubViewByID (FourCharCode ("root")), nullptr) << "the view itself is not searched";
    EXPECT_EQ (root.FindSubViewByID (kNoViewID), nullptr) << "every unnamed view is NONE";
}

TEST (ViewTree, RemovingAChildHandsItOverAndClearsAFocusInsideIt)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.Activate();
    root.AddChild (MakeView ("a", { 0, 0, 50, 50 }), false);
    auto field = MakeView ("field", { 10, 10, 20, 20 });
    field->focusable = true;
    root.GetFirstChild()->AddChild (std::move (field), false);
    root.AddChild (MakeView ("b", { 50, 50, 60, 60 }), false);

    EventRecord click { 1, kImmediateClickMessage, 0, At (15, 15), 0 };
    root.HandleClick (&click);
    ASSERT_EQ (NameOf (root.GetFocusView()), "field");

    LoggingView stranger ("stranger", {}, nullptr);
    EXPECT_EQ (root.RemoveChild (&stranger), nullptr);
    std::unique_ptr<CPlugInView> removed = root.RemoveChild (root.GetFirstChild());
    ASSERT_EQ (NameOf (removed.get()), "a");
    EXPECT_EQ (removed->GetParent(), nullptr);
    EXPECT_EQ (removed->GetNextSibling(), nullptr);
    EXPECT_EQ (root.GetFocusView(), nullptr);
    EXPECT_EQ (Shape (root), "root[b]");
}

TEST (ViewTree, DestroyingTheFocusViewClearsTheRootsFocus)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.Activate();
    auto field = MakeView ("field", { 10, 10, 20, 20 });
    field->focusable = true;
    root.AddChild (std::move (field), false);
    EventRecord click { 1, kImmediateClickMessage, 0, At (15, 15), 0 };
    root.HandleClick (&click);
    ASSERT_NE (root.GetFocusView(), nullptr);

    root.RemoveChild (root.GetFirstChild()).reset();
    EXPECT_EQ (root.GetFocusView(), nullptr);

    // A focus destroyed with its parent's subtree while the tree stands.
    auto holder = MakeView ("holder", { 0, 0, 50, 50 });
    auto inner = MakeView ("inner", { 10, 10, 20, 20 });
    inner->focusable = true;
    holder->AddChild (std::move (inner), false);
    root.AddChild (std::move (holder), false);
    root.HandleClick (&click);
    ASSERT_EQ (NameOf (root.GetFocusView()), "inner");
    std::unique_ptr<CPlugInView> detached = root.RemoveChild (root.GetFirstChild());
    EXPECT_EQ (root.GetFocusView(), nullptr);
}

TEST (ViewTree, TheVisibleRectangleIsLimitFrameAndEveryAncestorIntersected)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.AddChild (MakeView ("a", { 10, 10, 60, 60 }), false);
    CPlugInView& a = *root.GetFirstChild();
    a.AddChild (MakeView ("child", { 50, 50, 80, 80 }), false);
    CPlugInView& child = *a.GetFirstChild();
    EXPECT_TRUE (SameRect (child.GetVisibleRect(), { 50, 50, 60, 60 })) << Describe (child.GetVisibleRect());
    root.SetLimitRect ({ 0, 0, 55, 100 });
    EXPECT_TRUE (SameRect (child.GetVisibleRect(), { 50, 50, 55, 60 })) << Describe (child.GetVisibleRect());
    a.Offset (100, 0);
    EXPECT_TRUE (ViewGeometry::IsEmpty (child.GetVisibleRect())) << "moved outside the root";
}

TEST (ViewTree, OffsetMovesTheSubtreeAndMoveToPlacesTheTopLeftCorner)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.AddChild (MakeView ("a", { 10, 10, 60, 60 }), false);
    CPlugInView& a = *root.GetFirstChild();
    a.AddChild (MakeView ("child", { 20, 20, 30, 30 }), false);
    a.MoveTo (40, 5);
    EXPECT_TRUE (SameRect (a.GetRect(), { 5, 40, 55, 90 })) << Describe (a.GetRect());
    EXPECT_TRUE (SameRect (a.GetFirstChild()->GetRect(), { 15, 50, 25, 60 })) << Describe (a.GetFirstChild()->GetRect());
    EXPECT_TRUE (SameRect (root.GetRect(), { 0, 0, 100, 100 }));
    EXPECT_TRUE (SameRect (a.GetFrame(), a.GetRect()));
}

TEST (ViewTree, HideMovesAViewOutOfSightOnceAndShowBringsItBack)
{
    LoggingView view ("view", { 10, 20, 30, 60 }, nullptr);
    view.Hide();
    EXPECT_TRUE (SameRect (view.GetRect(), { 10, 16404, 30, 16444 })) << Describe (view.GetRect());
    view.Hide();
    EXPECT_TRUE (SameRect (view.GetRect(), { 10, 16404, 30, 16444 })) << "hidden twice, moved once";
    view.Show();
    EXPECT_TRUE (SameRect (view.GetRect(), { 10, 20, 30, 60 })) << Describe (view.GetRect());
    view.Show();
    EXPECT_TRUE (SameRect (view.GetRect(), { 10, 20, 30, 60 }));
}

TEST (ViewTree, MovesSaturateInsteadOfWrappingTheFrameRound)
{
    LoggingView view ("view", { 0, 30000, 10, 32000 }, nullptr);
    view.Offset (5000, 0);
    EXPECT_EQ (view.GetRect().right, 32767);
    EXPECT_EQ (view.GetRect().left, 32767);
}

TEST (ViewTree, ColoursPatternsAndHighlightsComeFromTheRoot)
{
    LoggingView root ("root", { 0, 0, 100, 100 }, nullptr);
    root.AddChild (MakeView ("a", { 10, 10, 60, 60 }), false);
    CPlugInView& a = *root.GetFirstChild();
    root.SetBackColor ({ 1, 2, 3 });
    const RGBColor back = a.GetBackColor();
    EXPECT_EQ (back.red, 1);
    EXPECT_EQ (back.blue, 3);
    EXPECT_EQ (a.GetBackPattern(), nullptr);
    EXPECT_FALSE (a.IsHighlighted());

    const RGBColor fore = a.GetForeColor();
    EXPECT_EQ (fore.blue, kDefaultForeColor.blue);

    int16_t colour = 9;
    int16_t extra = 9;
    uint8_t text[256] = { 5, 'x' };
    a.GetHighlight (&colour, &extra, text);
    EXPECT_EQ (colour, 0);
    EXPECT_EQ (text[0], 0);

    int32_t index = 7;
    a.GetControlIndex (&index);
    EXPECT_EQ (index, 0);
    EXPECT_FALSE (a.IsProcessControl());
}

} // namespace
