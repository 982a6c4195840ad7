// Views of host toolbox controls: made with the window and disposed of with it, shown on their
// first draw, tracked and moved by the host; controls from templates; and a window that cannot
// have all its controls is given to none of its views.

#include "ControlViewSupport.h"
#include "PlugInResources.h"

#include "views/hostcontrols/CMacControlView.h"
#include "views/hostcontrols/CResControlView.h"

#include <ProcessTestSupport.h>

namespace
{

class HostControlViews : public ViewWindowTest
{
protected:
    void SetUp() override
    {
        ViewWindowTest::SetUp();
        resources = std::make_unique<ScopedPlugInResources> (
            "HostControls", std::vector<SResource> { { "CNTL", 128, ControlTemplateBytes ({ 0, 0, 20, 80 }, checkBoxProc, "Go") } });
    }

    void TearDown() override
    {
        root.reset();
        resources.reset();
        ViewWindowTest::TearDown();
    }

    std::unique_ptr<ScopedPlugInResources> resources;
};

TEST_F (HostControlViews, AreMadeInvisibleWithTheWindowShownOnTheirFirstDrawAndDisposedOfWithoutIt)
{
    struct Case
    {
        const char* description;
        int16_t kind;
    };
    const Case cases[] = {
        { "! Button (('Btn1') (\"OK\" 0 1 0))", pushButProc },
        { "! CheckBox (('Chk1') (\"Bypass\" 0 1 1))", checkBoxProc },
        { "! RadioButton (('Rad1') (\"Peak\" -3 3 2))", radioButProc },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.description);
        auto described = Described<CMacControlView> (c.description, { 10, 10, 30, 60 });
        ASSERT_NE (described, nullptr);
        CMacControlView& view = Add (std::move (described));
        toolbox.script().clearCalls();
        root->SetWindow (window);
        ASSERT_NE (view.GetControl(), nullptr);
        const ControlRecord& control = **view.GetControl();
        EXPECT_EQ (control.kind, c.kind);
        EXPECT_EQ (control.visible, 0);
        EXPECT_EQ (control.value, view.GetControlValue());
        EXPECT_EQ (control.minimum, view.GetMinimum());
        EXPECT_EQ (control.maximum, view.GetMaximum());
        EXPECT_EQ (control.reference, int32_t (reinterpret_cast<uintptr_t> (&view)));
        EXPECT_TRUE (ViewGeometry::SameRect (control.bounds, view.GetRect()));
        EXPECT_EQ (toolbox.script().callsOf ("NewControl").at (0).text, PascalText (view.GetTitle()));

        root->Invalidate (nullptr);
        EXPECT_EQ (control.visible, 1) << "the first draw shows it";
        EXPECT_EQ (toolbox.script().countOf ("ShowControl"), 1u);
        root->Invalidate (nullptr);
        EXPECT_EQ (toolbox.script().countOf ("ShowControl"), 1u);
        EXPECT_EQ (toolbox.script().countOf ("Draw1Control"), 1u);

        root->SetWindow (nullptr);
        EXPECT_EQ (view.GetControl(), nullptr);
        EXPECT_EQ (toolbox.objectCounts().controls, 0u);
        root->RemoveChild (&view);
    }
}

TEST_F (HostControlViews, AreTrackedByTheHostAndMoveWithTheirView)
{
    auto button = std::make_unique<CButtonView>();
    button->SetRect ({ 10, 10, 30, 60 });
    button->SetEnabled (true);
    button->SetTitle (Pascal ("OK").data());
    CButtonView& view = Add (std::move (button));
    root->SetWindow (window);
    root->Invalidate (nullptr);

    toolbox.setMouseScript ({ { At (220, 115), true }, { At (220, 115), true }, { At (220, 115), false } });
    EventRecord click {};
    click.what = 1;
    click.where = At (20, 15);
    root->HandleClick (&click);
    const auto tracked = toolbox.script().callsOf ("TrackControl");
    ASSERT_EQ (tracked.size(), 1u);
    EXPECT_EQ (tracked[0].arguments[1], 15);
    EXPECT_EQ (tracked[0].arguments[2], 20);

    view.Offset (5, 7);
    const ControlRecord& control = **view.GetControl();
    EXPECT_EQ (control.bounds.left, 15);
    EXPECT_EQ (control.bounds.top, 17);
    EXPECT_TRUE (ViewGeometry::SameRect (control.bounds, view.GetRect()));
}

TEST_F (HostControlViews, AControlFromATemplateTakesItsPlaceAndSize)
{
    auto templated = std::make_unique<CResControlView>();
    templated->SetRect ({ 30, 20, 30, 20 });
    templated->SetTemplateID (128);
    CResControlView& view = Add (std::move (templated));
    root->SetWindow (window);
    ASSERT_NE (view.GetControl(), nullptr);
    EXPECT_TRUE (ViewGeometry::SameRect (view.GetRect(), { 30, 20, 50, 100 })) << Describe (view.GetRect());
    EXPECT_TRUE (ViewGeometry::SameRect ((**view.GetControl()).bounds, view.GetRect()));
    EXPECT_EQ ((**view.GetControl()).kind, checkBoxProc);
    EXPECT_EQ (PascalText ((**view.GetControl()).title), "Go");
}

TEST_F (HostControlViews, AWindowThatCannotHaveEveryControlIsGivenToNoView)
{
    struct Case
    {
        const char* name;
        std::function<std::unique_ptr<CPlugInView>()> failing;
        int32_t code;
    };
    const Case cases[] = {
        { "missing template",
          [] {
              auto view = std::make_unique<CResControlView>();
              view->SetTemplateID (999);
              return view;
          },
          -7053 },
        { "no template id", [] { return std::make_unique<CResControlView>(); }, -7400 },
        { "no control kind", [] { return std::make_unique<CMacControlView>(); }, -7400 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.name);
        auto panel = std::make_unique<CCustomView>();
        panel->SetRect ({ 0, 0, 60, 100 });
        auto before = std::make_unique<CButtonView>();
        before->SetRect ({ 5, 5, 20, 40 });
        CButtonView& first = *before;
        panel->AddChild (std::move (before), false);
        auto failing = c.failing();
        failing->SetRect ({ 25, 5, 40, 40 });
        panel->AddChild (std::move (failing), false);
        auto after = std::make_unique<CCheckBoxView>();
        after->SetRect ({ 45, 5, 58, 40 });
        CCheckBoxView& last = *after;
        panel->AddChild (std::move (after), false);
        CCustomView& added = Add (std::move (panel));

        EXPECT_EQ (ThrownCode ([&] { root->SetWindow (window); }), c.code);
        EXPECT_EQ (root->GetWindow(), nullptr);
        EXPECT_EQ (added.GetWindow(), nullptr);
        EXPECT_EQ (first.GetWindow(), nullptr);
        EXPECT_EQ (first.GetControl(), nullptr);
        EXPECT_EQ (last.GetControl(), nullptr);
        EXPECT_EQ (toolbox.objectCounts().controls, 0u);
        root->RemoveChild (&added);
    }
}

// A process whose window holds a button and a control whose template is missing.
class TemplateProcess : public CTestProcess
{
public:
    std::unique_ptr<IProcessView> CreateView() override
    {
        auto view = std::make_unique<CCustomView>();
        view->SetRect ({ 0, 0, 60, 100 });
        auto button = std::make_unique<CButtonView>();
        button->SetRect ({ 5, 5, 20, 40 });
        this->button = button.get();
        view->AddChild (std::move (button), false);
        auto missing = std::make_unique<CResControlView>();
        missing->SetRect ({ 25, 5, 40, 40 });
        missing->SetTemplateID (999);
        view->AddChild (std::move (missing), false);
        root = view.get();
        return view;
    }

    CCustomView* root = nullptr;
    CButtonView* button = nullptr;
};

TEST_F (HostControlViews, AProcessWhoseWindowLacksATemplateAnswersMinus7053AndKeepsNoControl)
{
    TemplateProcess process;
    process.Initialize();
    EXPECT_EQ (ThrownCode ([&] { process.SetViewPort (window); }), -7053);
    EXPECT_EQ (process.root->GetWindow(), nullptr);
    EXPECT_EQ (process.button->GetControl(), nullptr);
    EXPECT_EQ (toolbox.objectCounts().controls, 0u);
    process.Teardown();
}

TEST_F (HostControlViews, ReadTheirTitleRangeAndValueFromADescription)
{
    auto view = Described<CMacControlView> ("! CheckBox (('Chk1') (\"Bypass\" -2 5 4))");
    ASSERT_NE (view, nullptr);
    EXPECT_EQ (PascalText (view->GetTitle()), "Bypass");
    EXPECT_EQ (view->GetMinimum(), -2);
    EXPECT_EQ (view->GetMaximum(), 5);
    EXPECT_EQ (view->GetControlValue(), 4);
    // A missing list or item is -7053, an item of another kind or one too many -7400.
    ExpectDescriptionCodes<CButtonView> ("Button",
                                         {
                                             { "(('Btn1'))", -7053 },
                                             { "(('Btn1') ())", -7053 },
                                             { "(('Btn1') (\"OK\" 0 1))", -7053 },
                                             { "(('Btn1') (\"OK\" 0 1 0 0))", -7400 },
                                             { "(('Btn1') (0 1 0))", -7400 },
                                             { "(('Btn1') (\"OK\" 0 40000 0))", -7400 },
                                             { "(('Btn1') (\"OK\" 0 1 \"0\"))", -7400 },
                                         });
}

} // namespace
