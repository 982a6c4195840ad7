// A process's view roads ending in a tree of plug-in views: the process makes and starts the
// root, hands it the host's window, redraw requests, clicks, keys and moves, finds controls at
// points, takes the window away again and deletes the tree at teardown.

#include "ViewTestSupport.h"

#include <ProcessTestSupport.h>

namespace
{

class RoadView : public LoggingView
{
public:
    RoadView (std::string name, Rect frame, std::vector<std::string>* log, RGBColor colour, int32_t control = 0)
        : LoggingView (name, frame, log, colour), fLog (log), fControl (control)
    {
    }
    ~RoadView() override { fLog->push_back (Name() + " deleted"); }

    void AttachAll() override
    {
        fLog->push_back (Name() + " AttachAll");
        LoggingView::AttachAll();
    }
    void GetControlIndex (int32_t* index) const override { *index = fControl; }

private:
    std::vector<std::string>* fLog;
    int32_t fControl;
};

class ViewProcess : public CTestProcess
{
public:
    std::vector<std::string> log;
    RoadView* root = nullptr;
    RoadView* knob = nullptr;

    std::unique_ptr<IProcessView> CreateView() override
    {
        auto view = std::make_unique<RoadView> ("root", Rect { 0, 0, 60, 100 }, &log, kWhite);
        root = view.get();
        view->AddChild (std::make_unique<RoadView> ("knob", Rect { 10, 10, 30, 40 }, &log, kBlue, 2), true);
        knob = static_cast<RoadView*> (view->GetFirstChild());
        view->AddChild (std::make_unique<RoadView> ("cap", Rect { 15, 15, 20, 20 }, &log, kBlue, 9), true);
        knob->GetFirstChild()->SetEnabled (false);
        auto field = std::make_unique<RoadView> ("field", Rect { 40, 10, 50, 90 }, &log, kBlue);
        field->focusable = true;
        view->AddChild (std::move (field), true);
        return view;
    }
};

class ProcessViewRoads : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        process.Initialize();
        ASSERT_NE (process.root, nullptr);
    }

    void TearDown() override
    {
        process.Teardown();
        ViewToolboxTest::TearDown();
    }

    int32_t ControlAt (int h, int v)
    {
        int32_t index = -1;
        process.GetControlIndexAtPoint (At (h, v), &index);
        return index;
    }

    ViewProcess process;
};

TEST_F (ProcessViewRoads, TheProcessStartsTheTreeAndHandsItTheWindow)
{
    EXPECT_EQ (process.log, (std::vector<std::string> { "root AttachAll", "knob AttachAll", "cap AttachAll", "field AttachAll" }))
        << "starting the root attaches its tree";
    Rect bounds {};
    EXPECT_EQ (process.GetViewRect (&bounds), 0);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, { 0, 0, 60, 100 }));

    EXPECT_EQ (process.SetViewPort (window), 0);
    EXPECT_EQ (process.knob->GetFirstChild()->GetWindow(), window);
    EXPECT_EQ (process.InvalidateView (nullptr), 0);
    EXPECT_EQ (PixelAt (20, 20), PixelOf (kBlue));
    EXPECT_EQ (PixelAt (5, 5), kWhitePixel);
    EXPECT_EQ (PixelAt (110, 70), kWhitePixel) << "outside the view";
}

TEST_F (ProcessViewRoads, ClicksKeysAndControlsAtPointsReachTheTree)
{
    process.SetViewPort (window);
    process.ActivateView();
    EXPECT_TRUE (process.root->IsActive());
    process.log.clear();

    EventRecord click { 1, kImmediateClickMessage, 0, At (12, 12), 0 };
    EXPECT_EQ (process.HandleViewClick (&click), 0);
    EventRecord onCap { 1, kImmediateClickMessage, 0, At (16, 16), 0 };
    process.HandleViewClick (&onCap);
    EXPECT_EQ (process.log, (std::vector<std::string> { "knob Click", "knob Click" })) << "the disabled cap passes its click on";

    EXPECT_EQ (ControlAt (16, 16), 2);
    EXPECT_EQ (ControlAt (12, 12), 2);
    EXPECT_EQ (ControlAt (90, 5), 0);
    EXPECT_EQ (ControlAt (500, 5), 0);

    EventRecord onField { 1, kImmediateClickMessage, 0, At (20, 45), 0 };
    process.HandleViewClick (&onField);
    process.log.clear();
    EventRecord key { 3, 'k', 0, {}, 0 };
    uint8_t handled = 0;
    EXPECT_EQ (process.HandleViewEvent (&key, &handled), 0);
    EXPECT_EQ (handled, 1);
    EXPECT_EQ (process.log, std::vector<std::string> { "field HandleKey 107" });

    process.log.clear();
    EXPECT_EQ (process.SetViewPort (nullptr), 0);
    EXPECT_EQ (process.log, std::vector<std::string> { "field EndEditing cancel" }) << "a window taken away ends editing";
    EXPECT_EQ (process.root->GetWindow(), nullptr);
    process.DeactivateView();
    EXPECT_FALSE (process.root->IsActive());
}

TEST_F (ProcessViewRoads, TheHostMovesTheViewAndTeardownDeletesTheTree)
{
    EXPECT_EQ (process.MoveViewTo (At (30, 20)), 0);
    Rect bounds {};
    process.GetViewRect (&bounds);
    EXPECT_TRUE (ViewGeometry::SameRect (bounds, { 20, 30, 80, 130 })) << Describe (bounds);
    EXPECT_TRUE (ViewGeometry::SameRect (process.knob->GetRect(), { 30, 40, 50, 70 }));

    process.log.clear();
    process.Teardown();
    EXPECT_EQ (process.log, (std::vector<std::string> { "root deleted", "knob deleted", "cap deleted", "field deleted" }));
    EXPECT_EQ (process.GetView(), nullptr);
}

} // namespace
