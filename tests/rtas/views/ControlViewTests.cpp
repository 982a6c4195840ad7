// Control views: the editors' chain, values and highlights, their descriptions, and process
// control views bound to a process's controls, unbound again, and fed by the host's changes.

#include "ControlViewSupport.h"

#include "process/group/CProcessGroupInterface.h"
#include "views/controls/CProcessControlView.h"

#include <ProcessTestSupport.h>

namespace
{

TEST (ControlViews, AttachEditorsInOrderAndUnbindThemWhenDetachedOrDestroyed)
{
    RecordingEditor first, second, third;
    {
        CControlView view;
        view.SetValue (1234);
        view.AttachEditor (&first);
        view.AttachEditor (&second);
        view.AttachEditor (&third);
        EXPECT_EQ (view.GetFirstEditor(), &first);
        EXPECT_EQ (first.next, &second);
        EXPECT_EQ (second.next, &third);
        EXPECT_EQ (third.next, nullptr);
        EXPECT_EQ (third.bound, &view);
        EXPECT_EQ (third.shown, std::vector<int32_t> { 1234 }) << "an attached editor shows the value at once";

        EXPECT_EQ (ThrownCode ([&] { view.AttachEditor (&second); }), -7400) << "an editor is in the chain once";
        EXPECT_EQ (third.next, nullptr);

        view.DetachEditor (&second);
        EXPECT_EQ (first.next, &third);
        EXPECT_EQ (second.bound, nullptr);
        EXPECT_EQ (second.next, nullptr);
        view.DetachEditor (&first);
        EXPECT_EQ (view.GetFirstEditor(), &third);
        view.DetachEditor (&second);
        EXPECT_EQ (view.GetFirstEditor(), &third);

        RecordingEditor refusing;
        refusing.refusesBinding = true;
        EXPECT_EQ (ThrownCode ([&] { view.AttachEditor (&refusing); }), -7400);
        EXPECT_EQ (third.next, nullptr) << "an editor that refuses the binding is not linked";
        EXPECT_EQ (third.bound, &view);
    }
    EXPECT_EQ (third.bound, nullptr) << "a control view going away unbinds what it still holds";
}

TEST (ControlViews, ValuesReachEveryEditorAndHighlightsRedrawThemOnlyWhenTheyChange)
{
    CControlView view;
    RecordingEditor a, b;
    view.AttachEditor (&a);
    view.AttachEditor (&b);
    view.SetValue (77);
    EXPECT_EQ (a.shown.back(), 77);
    EXPECT_EQ (b.shown.back(), 77);

    view.SetHighlighted (true);
    view.SetHighlighted (true);
    EXPECT_EQ (a.redraws, 1);
    EXPECT_TRUE (view.IsHighlighted());

    const auto text = Pascal ("Hot");
    view.SetHighlight (2, 5, text.data());
    view.SetHighlight (2, 5, Pascal ("Other").data());
    EXPECT_EQ (b.redraws, 2) << "only a changed colour or extra value redraws";
    int16_t colour = 0, extra = 0;
    uint8_t got[256] {};
    view.GetHighlight (&colour, &extra, got);
    EXPECT_EQ (colour, 2);
    EXPECT_EQ (extra, 5);
    EXPECT_EQ (PascalText (got), "Other");
    view.SetHighlight (3, 5, nullptr);
    EXPECT_EQ (b.redraws, 3);
    view.GetHighlight (&colour, &extra, got);
    EXPECT_EQ (got[0], 0);
}

TEST (ControlViews, APlainControlViewAnswersTheUpperHalfOfItsValueAsText)
{
    struct Case
    {
        int32_t value;
        int32_t length;
        const char* text;
    };
    const Case cases[] = {
        { INT32_MIN, 10, "-32768" },
        { INT32_MAX, 10, "32767" },
        { 0x00010000, 10, "1" },
        { -1, 10, "-1" },
        { 0x0000FFFF, 10, "0" },
        { INT32_MIN, 3, "-32" },
        { 42 << 16, 0, "" },
    };
    CControlView view;
    for (const Case& c : cases)
    {
        char text[16];
        std::memset (text, 'x', sizeof text);
        view.ValueToText (c.value, text, c.length);
        EXPECT_STREQ (text, c.text) << c.value;
    }
    int32_t value = 99;
    EXPECT_EQ (view.TextToValue ("12", &value), 0);
    EXPECT_EQ (value, 0);
    EXPECT_FALSE (view.IsAllowedCharacter ('1'));
}

TEST (ControlViews, ReadTheirNameStepsValueAndDefaultFromADescription)
{
    auto view = Described<CProcessControlView> ("! ProcessControl (('Gain') (\"Output Gain\" 5 -100 7))");
    ASSERT_NE (view, nullptr);
    EXPECT_EQ (view->GetID(), FourCharCode ("Gain"));
    uint8_t name[64];
    view->GetName (name);
    EXPECT_EQ (PascalText (name), "Output Gain");
    EXPECT_EQ (view->GetStepCount(), 5);
    EXPECT_EQ (view->GetValue(), -100);
    EXPECT_EQ (view->GetDefaultValue(), 7);

    auto noDefault = Described<CControlView> ("! ProcessControl (('Mix ') (\"Mix\" 3 0))");
    ASSERT_NE (noDefault, nullptr);
    EXPECT_EQ (noDefault->GetDefaultValue(), 0);

    const std::string longName (80, 'n');
    auto longNamed = Described<CControlView> ("! ProcessControl (('Long') (\"" + longName + "\" 1 0))");
    ASSERT_NE (longNamed, nullptr);
    longNamed->GetName (name);
    EXPECT_EQ (PascalText (name), std::string (63, 'n'));

    // A missing list or item is -7053, an item of another kind or one too many -7400.
    ExpectDescriptionCodes<CProcessControlView> ("ProcessControl",
                                                 {
                                                     { "(('Gain'))", -7053 },
                                                     { "(('Gain') ())", -7053 },
                                                     { "(('Gain') (\"Gain\"))", -7053 },
                                                     { "(('Gain') (\"Gain\" 5))", -7053 },
                                                     { "(('Gain') (5 5 0))", -7400 },
                                                     { "(('Gain') (\"Gain\" 5 0 1 2))", -7400 },
                                                     { "(('Gain') (\"Gain\" 5 0.5))", -7400 },
                                                     { "(('Gain') (\"Gain\" 5 0 'abcd'))", -7400 },
                                                 });
}

TEST (ControlViews, AScrollControlAndItemListAreRegisteredViewTypes)
{
    EXPECT_NE (Described<CControlView> ("! ScrollControl (('Scrl') (\"Scroll\" 1 0))"), nullptr);
    EXPECT_EQ (Described<CProcessControlView> ("! ScrollControl (('Scrl') (\"Scroll\" 1 0))"), nullptr);
}

// ---- Process control views ----

// A process with three controls and a window of two process control views (for controls 1 and 3)
// and a plain control view; it counts the editor's road and the idle service.
class BindingProcess : public CTestProcess
{
public:
    BindingProcess() { AddTestControls (*this, 3); }

    std::unique_ptr<IProcessView> CreateView() override
    {
        auto view = std::make_unique<CCustomView>();
        view->SetRect ({ 0, 0, 60, 100 });
        view->SetEnabled (true);
        root = view.get();
        first = AddControlView<CProcessControlView> (*view, TestControlID (1), { 10, 10, 20, 40 });
        third = AddControlView<CProcessControlView> (*view, TestControlID (3), { 10, 50, 20, 90 });
        plain = AddControlView<CControlView> (*view, FourCharCode ("Plan"), { 30, 10, 40, 40 });
        return view;
    }

    int32_t SetControlValue (int32_t index, int32_t value) override
    {
        ++editorRoad;
        return CTestProcess::SetControlValue (index, value);
    }

    int32_t ServiceSDSTokens() override
    {
        ++services;
        return CTestProcess::ServiceSDSTokens();
    }

    CCustomView* root = nullptr;
    CProcessControlView* first = nullptr;
    CProcessControlView* third = nullptr;
    CControlView* plain = nullptr;
    int editorRoad = 0;
    int services = 0;

private:
    template <class View>
    static View* AddControlView (CCustomView& parent, uint32_t id, Rect frame)
    {
        auto view = std::make_unique<View>();
        view->SetID (id);
        view->SetRect (frame);
        view->SetEnabled (true);
        View* added = view.get();
        parent.AddChild (std::move (view), false);
        return added;
    }
};

class ProcessControlViews : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        process.Initialize();
        ASSERT_NE (process.first, nullptr);
        process.UpdateControlValue (1, ScaleToLong (2, 0, 10));
        process.UpdateControlValue (3, ScaleToLong (9, 0, 10));
        process.first->AttachEditor (&editor);
        editor.shown.clear();
    }

    void TearDown() override
    {
        process.Teardown();
        ViewToolboxTest::TearDown();
    }

    BindingProcess process;
    RecordingEditor editor;
};

TEST_F (ProcessControlViews, BoundViewsReadAndWriteTheirControlsThroughTheProcess)
{
    EXPECT_EQ (process.first->GetBoundControlIndex(), 0);
    process.SetViewPort (window);
    EXPECT_EQ (editor.shown, std::vector<int32_t> { ScaleToLong (2, 0, 10) }) << "binding shows the control's value";
    EXPECT_EQ (process.editorRoad, 0) << "binding does not set the control";
    EXPECT_EQ (process.first->GetBoundControlIndex(), 1);
    EXPECT_EQ (process.third->GetBoundControlIndex(), 3);
    EXPECT_TRUE (process.first->IsProcessControl());
    EXPECT_FALSE (process.plain->IsProcessControl());

    CProcessControlView& view = *process.third;
    EXPECT_EQ (view.GetValue(), ScaleToLong (9, 0, 10));
    EXPECT_EQ (view.GetStepCount(), 11);
    EXPECT_EQ (view.GetDefaultValue(), ScaleToLong (5, 0, 10));
    EXPECT_EQ (view.GetStep(), 9);
    char text[16];
    view.ValueToText (ScaleToLong (7, 0, 10), text, 15);
    EXPECT_STREQ (text, "7");
    int32_t parsed = 0;
    EXPECT_EQ (view.TextToValue ("4", &parsed), 0);
    EXPECT_EQ (parsed, ScaleToLong (4, 0, 10));
    EXPECT_TRUE (view.IsAllowedCharacter ('4'));
    EXPECT_FALSE (view.IsAllowedCharacter ('x'));

    uint32_t code = 0;
    EXPECT_EQ (process.GetControlViewCode (3, &code), 0);
    EXPECT_EQ (code, TestControlID (3));
    EXPECT_EQ (process.GetControlViewCode (4, &code), -7300) << "no control view is bound to control 4";
    int32_t index = -1;
    process.GetControlIndexAtPoint (At (60, 15), &index);
    EXPECT_EQ (index, 3);
    process.GetControlIndexAtPoint (At (20, 35), &index);
    EXPECT_EQ (index, 0) << "a plain control view stands for no control";
}

TEST_F (ProcessControlViews, AnEditOfABoundViewTakesTheEditorsRoadAndComesBackOnce)
{
    process.SetViewPort (window);
    editor.shown.clear();
    process.first->SetStep (6);
    EXPECT_EQ (process.editorRoad, 1);
    EXPECT_EQ (ControlValueOf (process, 1), ScaleToLong (6, 0, 10));
    EXPECT_EQ (editor.shown, std::vector<int32_t> { ScaleToLong (6, 0, 10) });
}

TEST_F (ProcessControlViews, TheHostsChangeReachesTheViewWithoutCallingTheProcessBack)
{
    process.SetViewPort (window);
    editor.shown.clear();
    const int32_t hostValue = ScaleToLong (8, 0, 10);
    process.UpdateControlValue (1, hostValue);
    process.ControlValueChanged (1, hostValue);
    EXPECT_EQ (editor.shown, std::vector<int32_t> { hostValue });
    EXPECT_EQ (process.first->GetValue(), hostValue);
    EXPECT_EQ (process.editorRoad, 0);
}

TEST_F (ProcessControlViews, UnboundViewsKeepTheirValuesLocally)
{
    process.SetViewPort (window);
    process.SetViewPort (nullptr);
    EXPECT_EQ (process.first->GetBoundControlIndex(), 0);
    EXPECT_EQ (process.first->GetProcess(), nullptr);
    EXPECT_EQ (process.first->GetValue(), ScaleToLong (2, 0, 10)) << "the view keeps the value it last had";

    editor.shown.clear();
    process.first->SetValue (-5);
    EXPECT_EQ (process.first->GetValue(), -5);
    EXPECT_EQ (editor.shown, std::vector<int32_t> { -5 });
    EXPECT_EQ (ControlValueOf (process, 1), ScaleToLong (2, 0, 10));
    EXPECT_EQ (process.editorRoad, 0);
    EXPECT_EQ (process.first->GetStepCount(), 1);
    int32_t parsed = 7;
    EXPECT_EQ (process.first->TextToValue ("4", &parsed), 0);
    EXPECT_EQ (parsed, 0);
    EXPECT_FALSE (process.first->IsAllowedCharacter ('4'));
    int32_t index = -1;
    process.first->GetControlIndex (&index);
    EXPECT_EQ (index, 0);
}

TEST_F (ProcessControlViews, HighlightsFromTheHostReachTheBoundViewAndItsEditors)
{
    process.SetViewPort (window);
    const auto text = Pascal ("Bus A");
    process.SetControlHighlight (1, 0x0101, 2, 9, text.data());
    EXPECT_TRUE (process.first->IsHighlighted());
    EXPECT_EQ (editor.redraws, 2) << "the flag and the colour each redraw";
    int16_t on = 0, colour = 0;
    process.GetControlHighlight (1, &on, &colour);
    EXPECT_EQ (on, 1);
    EXPECT_EQ (colour, 2);
    process.SetControlHighlight (1, 0x0100, 2, 9, text.data());
    EXPECT_FALSE (process.first->IsHighlighted()) << "only the low byte is the flag";
}

int16_t gNotices[4];
int gNoticeCount = 0;

int16_t __attribute__ ((stdcall)) RecordNotice (int16_t request, ComponentRecord*, char** block)
{
    if (gNoticeCount < 4)
        gNotices[gNoticeCount] = request;
    ++gNoticeCount;
    return block == nullptr ? 0 : -1;
}

TEST_F (ProcessControlViews, AnIdlePassServesTheHostTellsItsCallbackAndGivesTheGroupTime)
{
    process.SetViewPort (window);
    CountingGroup group;
    ScopedGlobalGroup installed (group);
    gNoticeCount = 0;
    const HostCallbackProc before = gHostCallback;
    gHostCallback = &RecordNotice;
    process.first->Idle (0);
    gHostCallback = before;
    EXPECT_EQ (process.services, 1);
    EXPECT_EQ (gNoticeCount, 1);
    EXPECT_EQ (gNotices[0], kControlViewIdleNotice);
    EXPECT_EQ (group.yields, 1);

    process.SetViewPort (nullptr);
    process.first->Idle (0);
    EXPECT_EQ (process.services, 1) << "an unbound view has no process to serve";
    EXPECT_EQ (gNoticeCount, 1) << "without a host callback nothing is told";
}

} // namespace
