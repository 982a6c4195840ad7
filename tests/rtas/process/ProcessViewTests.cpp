// The process's view binding through the view seam: the view it makes and starts, the window it
// hands on, control views bound by view ID, values and highlights shown, and clicks mapped to
// controls.

#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace
{

// A view of a tree that records what the process asks of it.
class FakeView : public IProcessView
{
public:
    FakeView (uint32_t id, Rect frame, std::vector<std::string>* log) : fId (id), fFrame (frame), fLog (log) {}

    FakeView* Add (std::unique_ptr<FakeView> child)
    {
        child->fParent = this;
        fChildren.push_back (std::move (child));
        return fChildren.back().get();
    }

    void FinishCreate() override
    {
        fLog->push_back ("FinishCreate");
        if (failToStart)
            throw std::runtime_error ("no start");
    }
    void Invalidate (const Rect*) override { fLog->push_back ("Invalidate"); }
    int32_t HandleClick (EventRecord*) override
    {
        fLog->push_back ("HandleClick");
        return 0;
    }
    void HandleEvent (EventRecord*, uint8_t* handled) override
    {
        fLog->push_back ("HandleEvent");
        *handled = 1;
    }
    Rect GetFrame() const override { return fFrame; }
    void SetWindow (OpaqueGrafPtr* window) override
    {
        fLog->push_back (window != nullptr ? "SetWindow" : "SetWindow null");
        fWindow = window;
    }
    void MoveTo (int16_t h, int16_t v) override { fLog->push_back ("MoveTo " + std::to_string (h) + "," + std::to_string (v)); }
    void Activate() override { fLog->push_back ("Activate"); }
    void Deactivate() override { fLog->push_back ("Deactivate"); }
    uint32_t GetID() const override { return fId; }
    bool IsEnabled() const override { return enabled; }
    IProcessView* GetParent() const override { return fParent; }
    IProcessView* GetFirstChild() const override { return fChildren.empty() ? nullptr : fChildren.front().get(); }
    IProcessView* GetNextSibling() const override
    {
        if (fParent == nullptr)
            return nullptr;
        const auto& siblings = fParent->fChildren;
        for (size_t i = 0; i + 1 < siblings.size(); ++i)
            if (siblings[i].get() == this)
                return siblings[i + 1].get();
        return nullptr;
    }
    IProcessView* FindSubViewByID (uint32_t id) const override
    {
        if (id == kNoViewID)
            return nullptr;
        for (const auto& child : fChildren)
            if (child->fId == id)
                return child.get();
        for (const auto& child : fChildren)
            if (IProcessView* found = child->FindSubViewByID (id))
                return found;
        return nullptr;
    }
    IProcessView* FindViewAtPoint (Point where) override
    {
        const auto inside = [where] (const Rect& r) { return where.h >= r.left && where.h < r.right && where.v >= r.top && where.v < r.bottom; };
        if (! inside (fFrame))
            return nullptr;
        for (const auto& child : fChildren)
            if (inside (child->fFrame))
                return child->FindViewAtPoint (where);
        return this;
    }
    void GetControlIndex (int32_t* index) const override { *index = controlIndex; }

    bool failToStart = false;
    bool enabled = true;
    int32_t controlIndex = 0;

protected:
    uint32_t fId;
    Rect fFrame;
    std::vector<std::string>* fLog;
    FakeView* fParent = nullptr;
    std::vector<std::unique_ptr<FakeView>> fChildren;
    OpaqueGrafPtr* fWindow = nullptr;
};

class FakeControlView : public FakeView, public IProcessControlView
{
public:
    using FakeView::FakeView;

    IProcessControlView* AsControlView() override { return this; }
    void SetControl (CProcess* process, int32_t index, bool refresh) override
    {
        boundProcess = process;
        bound = index;
        refreshed = refresh;
    }
    int32_t GetBoundControlIndex() const override { return bound; }
    void ShowValue (int32_t value) override { shownValues.push_back (value); }
    void SetHighlighted (bool on) override { highlighted = on; }
    bool IsHighlighted() const override { return highlighted; }
    void SetHighlight (int16_t c, int16_t e, const uint8_t* text) override
    {
        colour = c;
        extra = e;
        highlightText = text == nullptr ? "" : std::string (reinterpret_cast<const char*> (text + 1), text[0]);
    }
    void GetHighlight (int16_t* c, int16_t* e, uint8_t* text) const override
    {
        *c = colour;
        *e = extra;
        text[0] = uint8_t (highlightText.size());
        highlightText.copy (reinterpret_cast<char*> (text + 1), highlightText.size());
    }

    CProcess* boundProcess = nullptr;
    int32_t bound = 0;
    bool refreshed = false;
    std::vector<int32_t> shownValues;
    bool highlighted = false;
    int16_t colour = 0;
    int16_t extra = 0;
    std::string highlightText;
};

// A process whose view is a root with one control view per control (IDs of the controls), a
// control view for a control the process does not have, and a plain view.
class CViewProcess : public CTestProcess
{
public:
    std::vector<std::string> log;
    FakeView* root = nullptr;
    std::vector<FakeControlView*> controlViews;
    FakeControlView* unknownControlView = nullptr;
    bool failToStart = false;

    std::unique_ptr<IProcessView> CreateView() override
    {
        log.push_back ("CreateView");
        auto view = std::make_unique<FakeView> (FourCharCode ("root"), Rect { 0, 0, 100, 400 }, &log);
        view->failToStart = failToStart;
        root = view.get();
        for (int n = 1; n <= CountControls(); ++n)
        {
            const auto left = int16_t (n * 50);
            auto control = std::make_unique<FakeControlView> (TestControlID (n), Rect { 10, left, 40, int16_t (left + 40) }, &log);
            control->controlIndex = n;
            controlViews.push_back (static_cast<FakeControlView*> (root->Add (std::move (control))));
        }
        unknownControlView = static_cast<FakeControlView*> (
            root->Add (std::make_unique<FakeControlView> (FourCharCode ("xtra"), Rect { 60, 0, 90, 40 }, &log)));
        root->Add (std::make_unique<FakeView> (FourCharCode ("pict"), Rect { 60, 100, 90, 140 }, &log));
        return view;
    }
};

class ProcessViews : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AddTestControls (process, 2);
        process.Initialize();
        ASSERT_NE (process.root, nullptr);
    }
    void TearDown() override { process.Teardown(); }

    OpaqueGrafPtr* Window() { return reinterpret_cast<OpaqueGrafPtr*> (&windowStorage); }

    CViewProcess process;
    int windowStorage = 0;
};

TEST_F (ProcessViews, InitializeMakesTheViewAndStartsIt)
{
    EXPECT_EQ (process.log, (std::vector<std::string> { "CreateView", "FinishCreate" }));
    EXPECT_EQ (process.GetView(), process.root);
}

TEST (ProcessViewStart, AViewThatFailsToStartIsDeletedAndTheFailurePassesOn)
{
    CViewProcess process;
    process.failToStart = true;
    EXPECT_THROW (process.Initialize(), std::runtime_error);
    EXPECT_EQ (process.GetView(), nullptr);
}

TEST_F (ProcessViews, TheWindowBindsEachControlViewByItsControlsIDAndNullUnbindsThem)
{
    EXPECT_EQ (process.SetViewPort (Window()), 0);
    for (int n = 1; n <= 2; ++n)
    {
        SCOPED_TRACE (n);
        EXPECT_EQ (process.controlViews[size_t (n - 1)]->boundProcess, &process);
        EXPECT_EQ (process.controlViews[size_t (n - 1)]->bound, n);
        EXPECT_TRUE (process.controlViews[size_t (n - 1)]->refreshed);
    }
    EXPECT_EQ (process.unknownControlView->bound, 0) << "no control has its ID";
    EXPECT_EQ (process.log.back(), "SetWindow");

    EXPECT_EQ (process.SetViewPort (nullptr), 0);
    for (FakeControlView* view : process.controlViews)
    {
        EXPECT_EQ (view->boundProcess, nullptr);
        EXPECT_EQ (view->bound, 0);
    }
}

TEST_F (ProcessViews, AControlWithoutAControlGivesTheViewCodeOfTheViewBoundToItsNumber)
{
    uint32_t code = 0;
    EXPECT_EQ (process.GetControlViewCode (2, &code), 0);
    EXPECT_EQ (code, TestControlID (2));
    EXPECT_EQ (process.GetControlViewCode (7, &code), -7300);
    EXPECT_EQ (code, kNoViewID);
    process.unknownControlView->bound = 7;
    EXPECT_EQ (process.GetControlViewCode (7, &code), 0);
    EXPECT_EQ (code, FourCharCode ("xtra"));
}

TEST_F (ProcessViews, HostValuesAreShownOnTheControlsView)
{
    process.UpdateControlValue (1, 77);
    EXPECT_TRUE (process.controlViews[0]->shownValues.empty());
    process.ControlValueChanged (1, 77);
    process.ControlValueChanged (9, 78);
    EXPECT_EQ (process.controlViews[0]->shownValues, std::vector<int32_t> { 77 });
    // Without SDS the editor's road shows its value at once.
    process.SetControlValue (2, 55);
    EXPECT_EQ (process.controlViews[1]->shownValues, std::vector<int32_t> { 55 });
}

TEST_F (ProcessViews, HighlightsAreSetAndReadOnTheControlsView)
{
    const uint8_t text[] = { 3, 'a', 'b', 'c' };
    EXPECT_EQ (process.SetControlHighlight (2, 0x0101, 4, 5, text), 0);
    FakeControlView& view = *process.controlViews[1];
    EXPECT_TRUE (view.highlighted);
    EXPECT_EQ (view.colour, 4);
    EXPECT_EQ (view.extra, 5);
    EXPECT_EQ (view.highlightText, "abc");
    process.SetControlHighlight (2, 0x0100, 4, 5, text);
    EXPECT_FALSE (view.highlighted) << "only the low byte is the flag";

    EXPECT_EQ (process.SetControlHighlightInfo (2, 1, 9), 0);
    EXPECT_TRUE (view.highlighted);
    EXPECT_EQ (view.colour, 9);
    EXPECT_EQ (view.extra, 5) << "the rest of the highlight stays";
    EXPECT_EQ (view.highlightText, "abc");
    process.SetControlHighlightInfo (2, 0x0100, 9);
    EXPECT_FALSE (view.highlighted) << "the same rule: only the low byte is the flag";
    process.SetControlHighlightInfo (2, 0x0101, 9);

    int16_t on = -1;
    int16_t colour = -1;
    EXPECT_EQ (process.GetControlHighlight (2, &on, &colour), 0);
    EXPECT_EQ (on, 1);
    EXPECT_EQ (colour, 9);
    EXPECT_EQ (process.GetControlHighlight (5, &on, &colour), 0);
    EXPECT_EQ (on, 0);
    EXPECT_EQ (colour, 0);
}

TEST_F (ProcessViews, AClickMapsToTheFirstEnabledViewsControl)
{
    int32_t index = -1;
    EXPECT_EQ (process.GetControlIndexAtPoint (Point { 20, 60 }, &index), 0);
    EXPECT_EQ (index, 1);
    process.controlViews[1]->enabled = false;
    process.root->controlIndex = 42;
    process.GetControlIndexAtPoint (Point { 20, 110 }, &index);
    EXPECT_EQ (index, 42) << "a disabled view hands the click to its parent";
    process.GetControlIndexAtPoint (Point { 500, 500 }, &index);
    EXPECT_EQ (index, 0);
}

TEST_F (ProcessViews, ViewOperationsReachTheView)
{
    process.log.clear();
    Rect area { 1, 2, 3, 4 };
    EventRecord event {};
    uint8_t handled = 0;
    Rect bounds {};
    process.InvalidateView (&area);
    process.HandleViewClick (&event);
    process.HandleViewEvent (&event, &handled);
    process.ActivateView();
    process.DeactivateView();
    EXPECT_EQ (process.MoveViewTo (Point { 7, 9 }), 0);
    process.GetViewRect (&bounds);
    EXPECT_EQ (process.log, (std::vector<std::string> { "Invalidate", "HandleClick", "HandleEvent", "Activate", "Deactivate", "MoveTo 9,7" }));
    EXPECT_EQ (handled, 1);
    EXPECT_EQ (bounds.right, 400);
    EXPECT_EQ (bounds.bottom, 100);
}

TEST_F (ProcessViews, TeardownDeletesTheView)
{
    process.Teardown();
    EXPECT_EQ (process.GetView(), nullptr);
    process.root = nullptr;
    EXPECT_EQ (process.MoveViewTo (Point { 1, 1 }), 0);
}

std::unique_ptr<IProcessView> MakeDefaultView (CProcess&)
{
    static std::vector<std::string> log;
    return std::make_unique<FakeView> (FourCharCode ("dflt"), Rect {}, &log);
}

TEST (ProcessDefaultView, TheInstalledMakerGivesTheViewUnlessViewless)
{
    SetDefaultProcessViewMaker (&MakeDefaultView);
    {
        CTestProcess process;
        process.Initialize();
        ASSERT_NE (process.GetView(), nullptr);
        EXPECT_EQ (process.GetView()->GetID(), FourCharCode ("dflt"));
        process.Teardown();
    }
    {
        ScopedViewless viewless;
        CTestProcess process;
        process.Initialize();
        EXPECT_EQ (process.GetView(), nullptr);
        process.Teardown();
    }
    SetDefaultProcessViewMaker (nullptr);
}

}
