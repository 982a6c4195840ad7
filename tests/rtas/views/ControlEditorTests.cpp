// Control editors: binding to control views by ID (found in the ancestors' subtrees or made under
// the top view), the editors' own value while unbound, the chain's lifetimes, the description,
// the control touch around a click and the default-value modifier, and the registry's view types.

#include "EditorTestSupport.h"

#include "views/controls/CScrollControlView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"
#include "views/dialogs/CItemListView.h"
#include "views/editors/CDialControlEditor.h"
#include "views/editors/CRadioGroupControlEditor.h"
#include "views/editors/CSliderControlEditor.h"
#include "views/editors/CTextControlEditor.h"
#include "views/editors/CTextPopupControlEditor.h"
#include "views/editors/CViewPopupControlEditor.h"
#include "views/hostcontrols/CMacControlView.h"
#include "views/pictures/CPictureView.h"
#include "views/text/CStaticTextView.h"

#include <typeindex>

namespace
{

// An editor that records the values it was shown, its tracking and its idle passes.
class CountingEditor : public CControlEditor
{
public:
    std::vector<int32_t> shown;
    int tracks = 0;
    int idles = 0;
    std::function<void()> onTrack;
    // Tracking returns at once instead of following the mouse until the button is up.
    bool tracksAtOnce = false;

    void ValueChanged() override { shown.push_back (GetValue()); }
    void TrackMouse (const EventRecord& event, bool synthetic) override
    {
        ++tracks;
        if (onTrack)
            onTrack();
        if (! tracksAtOnce)
            CControlEditor::TrackMouse (event, synthetic);
    }
    void Idle (int32_t value) override
    {
        ++idles;
        CControlEditor::Idle (value);
    }
};

CountingEditor& AddEditor (CPlugInView& parent, uint32_t controlID, Rect bounds)
{
    auto& editor = AddView<CountingEditor> (parent, FourCharCode ("Edit"), bounds);
    editor.SetControlID (controlID);
    editor.SetEnabled (true);
    return editor;
}

int ChildCount (const CPlugInView& view)
{
    int count = 0;
    for (const CPlugInView* child = view.GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        ++count;
    return count;
}

CPlugInView* LastChild (const CPlugInView& view)
{
    CPlugInView* last = view.GetFirstChild();
    while (last != nullptr && last->GetNextSibling() != nullptr)
        last = last->GetNextSibling();
    return last;
}

// ---- Binding ----

class ControlEditors : public EditorTest
{
};

TEST_F (ControlEditors, TwoEditorsOfOneIDShareItsControlViewAndBothFollowAValueSetThroughEither)
{
    ScriptedControlView* view = nullptr;
    CountingEditor* a = nullptr;
    CountingEditor* b = nullptr;
    Open ([&] (CCustomView& root) {
        view = &AddView<ScriptedControlView> (root, FourCharCode ("Gain"), { 60, 0, 70, 10 });
        view->SetStepCount (5);
        a = &AddEditor (root, FourCharCode ("Gain"), { 0, 0, 20, 20 });
        b = &AddEditor (root, FourCharCode ("Gain"), { 0, 30, 20, 50 });
    });
    EXPECT_EQ (a->GetBoundView(), view);
    EXPECT_EQ (b->GetBoundView(), view);
    EXPECT_EQ (Chain (*view), (std::vector<const IControlViewEditor*> { a, b }));
    EXPECT_EQ (a->shown, std::vector<int32_t> { INT32_MIN }) << "binding shows the view's value at once";

    a->SetValue (1234);
    EXPECT_EQ (view->GetValue(), 1234);
    EXPECT_EQ (a->shown.back(), 1234);
    EXPECT_EQ (b->shown.back(), 1234);
    b->SetStep (4);
    EXPECT_EQ (a->GetValue(), INT32_MAX);
    EXPECT_EQ (a->GetStep(), 4);
    EXPECT_EQ (a->GetStepCount(), 5);
    EXPECT_EQ (a->ValueFromStep (2), 0);
    EXPECT_EQ (a->shown.back(), INT32_MAX);
    EXPECT_EQ (ChildCount (Root()), 3) << "no control view was made";
}

TEST_F (ControlEditors, AnUnboundEditorKeepsAValueOfItsOwn)
{
    std::vector<CountingEditor*> editors;
    Open ([&] (CCustomView& root) {
        int16_t left = 0;
        for (const uint32_t id : kUnboundControlIDs)
        {
            AddView<ScriptedControlView> (root, id, { 60, left, 70, int16_t (left + 10) });
            editors.push_back (&AddEditor (root, id, { 0, left, 20, int16_t (left + 20) }));
            left = int16_t (left + 30);
        }
    });
    EXPECT_EQ (ChildCount (Root()), 6) << "no control view is made for them";
    for (CountingEditor* editor : editors)
    {
        SCOPED_TRACE (editor->GetControlID());
        EXPECT_EQ (editor->GetBoundView(), nullptr) << "these IDs bind nothing, even where a view has them";
        EXPECT_EQ (editor->GetValue(), 0);
        editor->SetValue (77);
        EXPECT_EQ (editor->GetValue(), 77);
        EXPECT_EQ (editor->shown, std::vector<int32_t> { 77 }) << "the editor follows its own value";
        editor->SetStep (2);
        EXPECT_EQ (editor->GetValue(), 77);
        EXPECT_EQ (editor->GetStepCount(), 1);
        EXPECT_EQ (editor->GetStep(), 0);
        EXPECT_EQ (editor->ValueFromStep (3), 0);
        EXPECT_EQ (editor->GetDefaultValue(), 0);
        EXPECT_FALSE (editor->IsHighlighted());
        int16_t colour = 9, extra = 9;
        uint8_t text[256] = { 3, 'a', 'b', 'c' };
        editor->GetHighlight (&colour, &extra, text);
        EXPECT_EQ (colour, 0);
        EXPECT_EQ (extra, 0);
        EXPECT_EQ (text[0], 0);
    }
}

TEST_F (ControlEditors, AnEditorWhoseControlViewIsMissingMakesAProcessControlViewUnderTheTopView)
{
    CSliderControlEditor* slider = nullptr;
    Open ([&] (CCustomView& root) {
        auto& group = AddView<CCustomView> (root, FourCharCode ("Grp1"), { 0, 0, 60, 60 });
        slider = &AddDescribed<CSliderControlEditor> (group, "! Slider (('Sl01') ('ct02'))", { 10, 10, 50, 20 });
    });
    EXPECT_EQ (slider->GetControlID(), TestControlID (2)) << "the code is compared as the process's identifiers are";
    auto* made = dynamic_cast<CProcessControlView*> (LastChild (Root()));
    ASSERT_NE (made, nullptr);
    EXPECT_EQ (made->GetID(), TestControlID (2));
    EXPECT_EQ (slider->GetBoundView(), made);
    EXPECT_EQ (made->GetBoundControlIndex(), 2) << "the process bound the made view to its control";

    const int32_t hostValue = ScaleToLong (7, 0, 10);
    process.UpdateControlValue (2, hostValue);
    process.ControlValueChanged (2, hostValue);
    EXPECT_EQ (slider->GetValue(), hostValue);
    slider->SetValue (ScaleToLong (3, 0, 10));
    EXPECT_EQ (process.writes, (std::vector<std::pair<int32_t, int32_t>> { { 2, ScaleToLong (3, 0, 10) } }));
    EXPECT_EQ (ControlValueOf (process, 2), ScaleToLong (3, 0, 10));

    const int before = ChildCount (Root());
    slider->FinishCreate();
    Root().AttachAll();
    Root().AttachAll();
    EXPECT_EQ (ChildCount (Root()), before) << "attaching again makes no second view";
    EXPECT_EQ (slider->GetBoundView(), made) << "and keeps the binding";
    EXPECT_EQ (Chain (*made).size(), 1u);
    EXPECT_EQ (ChildCount (*slider), 1) << "and no second thumb";
}

TEST_F (ControlEditors, AViewOfTheIDThatIsNoControlViewBindsNothingAndTheNearestSubtreeWins)
{
    CountingEditor* blocked = nullptr;
    CountingEditor* inner = nullptr;
    ScriptedControlView* near = nullptr;
    ScriptedControlView* far = nullptr;
    Open ([&] (CCustomView& root) {
        AddView<CCustomView> (root, FourCharCode ("Pict"), { 70, 0, 80, 10 });
        blocked = &AddEditor (root, FourCharCode ("Pict"), { 0, 0, 10, 10 });
        far = &AddView<ScriptedControlView> (root, FourCharCode ("Gain"), { 70, 20, 80, 30 });
        auto& group = AddView<CCustomView> (root, FourCharCode ("Grp1"), { 0, 40, 60, 110 });
        auto& box = AddView<CCustomView> (group, FourCharCode ("Box1"), { 5, 45, 30, 100 });
        near = &AddView<ScriptedControlView> (group, FourCharCode ("Gain"), { 40, 45, 50, 55 });
        inner = &AddEditor (box, FourCharCode ("Gain"), { 10, 50, 20, 60 });
    });
    EXPECT_EQ (blocked->GetBoundView(), nullptr);
    EXPECT_EQ (ChildCount (Root()), 4) << "nothing made for an ID that a view other than a control view has";
    EXPECT_EQ (inner->GetBoundView(), near) << "the grandparent's subtree holds it before the root's";
    EXPECT_TRUE (Chain (*far).empty());
}

TEST_F (ControlEditors, BindingTheBoundViewAgainChangesNothingAndAnotherOneIsRefused)
{
    ScriptedControlView* first = nullptr;
    ScriptedControlView* second = nullptr;
    CountingEditor* editor = nullptr;
    Open ([&] (CCustomView& root) {
        first = &AddView<ScriptedControlView> (root, FourCharCode ("Aaaa"), { 60, 0, 70, 10 });
        second = &AddView<ScriptedControlView> (root, FourCharCode ("Bbbb"), { 60, 20, 70, 30 });
        editor = &AddEditor (root, FourCharCode ("Aaaa"), { 0, 0, 20, 20 });
    });
    EXPECT_EQ (ThrownCode ([&] { editor->SetBoundView (first); }), 0);
    EXPECT_EQ (ThrownCode ([&] { editor->SetBoundView (second); }), -7400);
    EXPECT_EQ (ThrownCode ([&] { second->AttachEditor (editor); }), -7400);
    EXPECT_EQ (editor->GetBoundView(), first);
    EXPECT_TRUE (Chain (*second).empty()) << "a refused binding links nothing";

    editor->SetControlID (FourCharCode ("Bbbb"));
    Root().AttachAll();
    EXPECT_EQ (editor->GetBoundView(), second) << "attaching under another ID moves the editor";
    EXPECT_TRUE (Chain (*first).empty());
    EXPECT_EQ (Chain (*second).size(), 1u);
}

TEST_F (ControlEditors, EditorsAndControlViewsLetEachOtherGoWhenEitherIsDestroyed)
{
    ScriptedControlView* view = nullptr;
    CountingEditor* a = nullptr;
    CountingEditor* b = nullptr;
    CountingEditor* c = nullptr;
    Open ([&] (CCustomView& root) {
        view = &AddView<ScriptedControlView> (root, FourCharCode ("Gain"), { 60, 0, 70, 10 });
        a = &AddEditor (root, FourCharCode ("Gain"), { 0, 0, 20, 20 });
        b = &AddEditor (root, FourCharCode ("Gain"), { 0, 30, 20, 50 });
        c = &AddEditor (root, FourCharCode ("Gain"), { 0, 60, 20, 80 });
    });
    Root().RemoveChild (b).reset();
    EXPECT_EQ (Chain (*view), (std::vector<const IControlViewEditor*> { a, c })) << "a destroyed editor left the chain";
    view->SetValue (5);
    EXPECT_EQ (c->shown.back(), 5);

    Root().RemoveChild (view).reset();
    EXPECT_EQ (a->GetBoundView(), nullptr) << "a destroyed view unbinds its editors";
    EXPECT_EQ (c->GetBoundView(), nullptr);
    EXPECT_EQ (c->GetNextEditor(), nullptr);
    c->SetValue (9);
    EXPECT_EQ (c->GetValue(), 9);
}

TEST_F (ControlEditors, DetachingTheTreeUnbindsItsEditors)
{
    ScriptedControlView* view = nullptr;
    CountingEditor* editor = nullptr;
    Open ([&] (CCustomView& root) {
        view = &AddView<ScriptedControlView> (root, FourCharCode ("Gain"), { 60, 0, 70, 10 });
        editor = &AddEditor (root, FourCharCode ("Gain"), { 0, 0, 20, 20 });
    });
    Root().DetachAll();
    EXPECT_EQ (editor->GetBoundView(), nullptr);
    EXPECT_TRUE (Chain (*view).empty());
    Root().AttachAll();
    EXPECT_EQ (editor->GetBoundView(), view);
}

TEST_F (ControlEditors, TheControlIndexAnchorAndHighlightComeFromTheBoundView)
{
    CountingEditor* processEditor = nullptr;
    CountingEditor* plainEditor = nullptr;
    CountingEditor* unbound = nullptr;
    ScriptedControlView* plain = nullptr;
    Open ([&] (CCustomView& root) {
        processEditor = &AddEditor (root, TestControlID (3), { 10, 20, 31, 41 });
        plain = &AddView<ScriptedControlView> (root, FourCharCode ("Plan"), { 70, 0, 80, 10 });
        plainEditor = &AddEditor (root, FourCharCode ("Plan"), { 40, 0, 50, 10 });
        unbound = &AddEditor (root, kNoViewID, { 40, 20, 50, 30 });
    });
    int32_t index = -5;
    processEditor->GetControlIndex (&index);
    EXPECT_EQ (index, 3);
    process.GetControlIndexAtPoint (At (25, 15), &index);
    EXPECT_EQ (index, 3) << "the process finds the control under the editor";
    index = -5;
    plainEditor->GetControlIndex (&index);
    EXPECT_EQ (index, -5) << "a plain control view stands for no control: the index is left alone";
    unbound->GetControlIndex (&index);
    EXPECT_EQ (index, -5);

    const Point anchor = processEditor->GetAnchorPoint();
    EXPECT_EQ (anchor.v, 20);
    EXPECT_EQ (anchor.h, 30);

    const auto text = Pascal ("Bus");
    plain->SetHighlighted (true);
    plain->SetHighlight (2, 9, text.data());
    EXPECT_TRUE (plainEditor->IsHighlighted());
    int16_t colour = 0, extra = 0;
    uint8_t got[256] {};
    plainEditor->GetHighlight (&colour, &extra, got);
    EXPECT_EQ (colour, 2);
    EXPECT_EQ (extra, 9);
    EXPECT_EQ (PascalText (got), "Bus");
    EXPECT_EQ (plainEditor->GetDrawState(), 3) << "a green highlight draws with the green colour set";
}

TEST_F (ControlEditors, TheDescriptionNamesTheControlViewInAListOfItsOwn)
{
    struct Case
    {
        const char* text;
        int32_t code;
    };
    const Case cases[] = {
        { "! Background (('Ed01') ('Gain'))", 0 },
        { "! Background (('Ed01'))", -7053 },
        { "! Background (('Ed01') ())", -7053 },
        { "! Background (('Ed01') (5))", -7400 },
        { "! Background (('Ed01') (\"Gain\"))", -7400 },
        { "! Background (('Ed01') ('Gain' 'More'))", -7400 },
        { "! Background (('Ed01') ('Gain') ('More'))", 0 },
    };
    for (const Case& c : cases)
    {
        CountingEditor editor;
        EXPECT_EQ (ReadCode (editor, c.text), c.code) << c.text;
        if (c.code == 0)
        {
            EXPECT_EQ (editor.GetID(), FourCharCode ("Ed01"));
            EXPECT_EQ (editor.GetControlID(), FourCharCode ("Gain"));
        }
    }
}

// ---- Clicks ----

TEST_F (ControlEditors, AClickOnABoundProcessControlIsBracketedByItsTouch)
{
    CountingEditor* editor = nullptr;
    CountingEditor* plainEditor = nullptr;
    Open ([&] (CCustomView& root) {
        editor = &AddEditor (root, TestControlID (2), { 0, 0, 20, 20 });
        AddView<ScriptedControlView> (root, FourCharCode ("Plan"), { 70, 0, 80, 10 });
        plainEditor = &AddEditor (root, FourCharCode ("Plan"), { 0, 30, 20, 50 });
    });
    toolbox.setMouseScript ({ Down (5, 5), Down (6, 5), Up (6, 5) });
    Click (MouseDown (5, 5));
    EXPECT_EQ (process.touches, (std::vector<int32_t> { 2, -2 }));
    EXPECT_EQ (editor->tracks, 1);

    process.touches.clear();
    toolbox.setMouseScript ({ Down (35, 5), Up (35, 5) });
    Click (MouseDown (35, 5));
    EXPECT_EQ (plainEditor->tracks, 1);
    EXPECT_TRUE (process.touches.empty()) << "a plain control view has no process to touch";

    EventRecord notDown = MouseDown (5, 5);
    notDown.what = 2;
    Click (notDown);
    EXPECT_TRUE (process.touches.empty()) << "only a mouse-down touches";
}

TEST_F (ControlEditors, AfterTrackingTheClickWaitsForTheButtonWithIdlePassesAndTheHostsRequests)
{
    CountingEditor* editor = nullptr;
    Open ([&] (CCustomView& root) { editor = &AddEditor (root, TestControlID (2), { 0, 0, 20, 20 }); });
    editor->tracksAtOnce = true;
    process.services = 0;
    editor->idles = 0;
    toolbox.setMouseScript ({ Down (5, 5), Down (5, 5), Down (5, 5), Up (5, 5) });
    Click (MouseDown (5, 5));
    EXPECT_EQ (editor->tracks, 1);
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u) << "it waited for the button to come up";
    EXPECT_EQ (editor->idles, 2) << "its own idle pass on each poll with the button down";
    EXPECT_EQ (process.services, 2) << "and the process served the host on each";
    EXPECT_EQ (process.touches, (std::vector<int32_t> { 2, -2 }));
}

TEST_F (ControlEditors, TheTouchEndsAlsoWhenTrackingThrows)
{
    CountingEditor* editor = nullptr;
    Open ([&] (CCustomView& root) { editor = &AddEditor (root, TestControlID (2), { 0, 0, 20, 20 }); });
    editor->onTrack = [] { throw CDAEError (-4321); };
    toolbox.setMouseScript ({ Down (5, 5), Up (5, 5) });
    EXPECT_EQ (ThrownCode ([&] { Click (MouseDown (5, 5)); }), -4321);
    EXPECT_EQ (process.touches, (std::vector<int32_t> { 2, -2 }));
}

TEST_F (ControlEditors, TheDefaultValueModifierSetsTheDefaultAndWaitsForTheButtonWithoutTracking)
{
    CountingEditor* editor = nullptr;
    CountingEditor* unbound = nullptr;
    Open ([&] (CCustomView& root) {
        editor = &AddEditor (root, TestControlID (2), { 0, 0, 20, 20 });
        unbound = &AddEditor (root, kNoViewID, { 0, 30, 20, 50 });
    });
    process.UpdateControlValue (2, ScaleToLong (9, 0, 10));
    process.services = 0;
    toolbox.setMouseScript ({ Down (5, 5), Down (5, 5), Down (5, 5), Up (5, 5) });
    Click (MouseDown (5, 5, kDefaultValueModifier));
    EXPECT_EQ (editor->tracks, 0);
    EXPECT_EQ (process.writes, (std::vector<std::pair<int32_t, int32_t>> { { 2, ScaleToLong (5, 0, 10) } }));
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u) << "it waited for the button to come up";
    EXPECT_EQ (process.services, 2) << "each poll with the button down served the host";
    EXPECT_EQ (process.touches, (std::vector<int32_t> { 2, -2 }));

    unbound->SetValue (42);
    toolbox.setMouseScript ({ Down (35, 5), Up (35, 5) });
    Click (MouseDown (35, 5, kDefaultValueModifier));
    EXPECT_EQ (unbound->GetValue(), 0) << "unbound, the default is 0";
    EXPECT_EQ (unbound->tracks, 0);
}

// ---- The registry ----

class EditorRegistry : public ViewToolboxTest
{
};

TEST_F (EditorRegistry, EveryViewTypeMakesItsClass)
{
    struct Entry
    {
        const char* name;
        std::type_index type;
    };
    const Entry entries[] = {
        { "Background", typeid (CCustomView) },
        { "ItemList", typeid (CItemListView) },
        { "ProcessControl", typeid (CProcessControlView) },
        { "ScrollControl", typeid (CScrollControlView) },
        { "Slider", typeid (CSliderControlEditor) },
        { "Dial", typeid (CDialControlEditor) },
        { "TextEditor", typeid (CTextControlEditor) },
        { "RadioGroup", typeid (CRadioGroupControlEditor) },
        { "TextPopup", typeid (CTextPopupControlEditor) },
        { "Button", typeid (CButtonView) },
        { "CheckBox", typeid (CCheckBoxView) },
        { "RadioButton", typeid (CRadioButtonView) },
        { "StaticText", typeid (CStaticTextView) },
        { "Picture", typeid (CPictureView) },
        { "ViewPopup", typeid (CViewPopupControlEditor) },
    };
    for (const Entry& entry : entries)
    {
        SCOPED_TRACE (entry.name);
        SDescriptionNode node {};
        ASSERT_TRUE (LookupViewKeyword (Pascal (entry.name).data(), &node));
        EXPECT_EQ (node.kind, kNodeViewType);
        std::unique_ptr<CCustomView> made = NodeCreator (node)();
        ASSERT_NE (made, nullptr);
        EXPECT_EQ (std::type_index (typeid (*made)), entry.type);
    }
}

TEST_F (EditorRegistry, APopUpWhoseMenuTheToolboxCannotMakeIsNoViewAndLeavesNothing)
{
    for (const char* failing : { "NewMenu", "NewMenuDefinition" })
    {
        SCOPED_TRACE (failing);
        toolbox.script().injectFailure (failing, -108);
        EXPECT_EQ (ThrownCode ([] { CTextPopupControlEditor editor; }), -7053);
        toolbox.script().injectFailure (failing, -108);
        EXPECT_EQ (Described<CViewPopupControlEditor> ("! ViewPopup (('VP01') ('Gain') (200))"), nullptr);
        EXPECT_EQ (toolbox.objectCounts().menus, 0u);
        EXPECT_EQ (toolbox.objectCounts().menuDefinitions, 0u);
    }
}

} // namespace
