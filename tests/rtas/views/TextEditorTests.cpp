// Text fields: the value's text, editing in a text-edit record, typing, stepping with the arrow
// keys (reversed, at the ends), committing through the control view's parse (cut at 30
// characters, a failed parse showing the old text again) and unbound fields that never commit.

#include "EditorTestSupport.h"

#include "views/editors/CTextControlEditor.h"
#include "views/text/CStaticTextView.h"

namespace
{

std::string RecordText (TEHandle edit)
{
    const TERecord& record = **edit;
    return std::string (*record.text, size_t (record.teLength));
}

class TextFields : public EditorTest
{
protected:
    // A field of the description at (10, 10, 30, 70) holding a static text 'text', disabled (as
    // a dialog item marked so is) so that clicks on it go to the field.
    CTextControlEditor& AddField (CPlugInView& root, const std::string& description, Rect bounds = { 10, 10, 30, 70 })
    {
        auto& field = AddDescribed<CTextControlEditor> (root, description, bounds);
        auto& text = AddDescribed<CStaticTextView> (field, "! StaticText (('text') (\"abc\"))",
                                                    { int16_t (bounds.top + 2), int16_t (bounds.left + 2), int16_t (bounds.bottom - 2), int16_t (bounds.right - 10) });
        text.SetEnabled (false);
        return field;
    }

    // Clicks into the field (which takes the focus and opens its record).
    void Focus (const CTextControlEditor& field)
    {
        const Rect frame = field.GetRect();
        toolbox.setMouseScript ({ Down (frame.left + 2, frame.top + 2), Up (frame.left + 2, frame.top + 2) });
        Click (MouseDown (frame.left + 2, frame.top + 2));
    }

    void SetControl (int32_t index, int32_t step)
    {
        const int32_t value = ScaleToLong (step, 0, 10);
        process.UpdateControlValue (index, value);
        process.ControlValueChanged (index, value);
    }

    int32_t StepOf (int32_t index) { return ScaleFromLong (ControlValueOf (process, index), 0, 10); }
};

TEST_F (TextFields, AFieldShowsItsValueAndAClickOpensARecordOverItsText)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    CStaticTextView* text = field->GetTextView();
    ASSERT_NE (text, nullptr);
    EXPECT_EQ (Describe (text->GetRect()), Describe (field->GetRect())) << "the text view takes the field's rectangle";
    EXPECT_EQ (text->GetText(), "5");
    SetControl (1, 8);
    EXPECT_EQ (text->GetText(), "8");

    Focus (*field);
    EXPECT_EQ (Root().GetFocusView(), field);
    ASSERT_NE (field->GetEditRecord(), nullptr);
    EXPECT_EQ (RecordText (field->GetEditRecord()), "8");
    EXPECT_EQ ((**field->GetEditRecord()).selStart, 0);
    EXPECT_EQ ((**field->GetEditRecord()).selEnd, 1) << "all of it selected";
    EXPECT_EQ (text->GetHilite(), 1);
    EXPECT_EQ (process.touches, (std::vector<int32_t> { 1, -1 }));

    SetControl (1, 3);
    EXPECT_EQ (RecordText (field->GetEditRecord()), "3") << "a value arriving while editing replaces the record's text";
    EXPECT_EQ ((**field->GetEditRecord()).selEnd, 1);

    const size_t updates = toolbox.script().countOf ("TEUpdate");
    process.DeactivateView();
    process.ActivateView();
    EXPECT_EQ (toolbox.script().countOf ("TEUpdate"), updates + 2) << "activation redraws the open record";
    const size_t idles = toolbox.script().countOf ("TEIdle");
    field->Idle (0);
    EXPECT_EQ (toolbox.script().countOf ("TEIdle"), idles + 1);
}

TEST_F (TextFields, AClickIntoTheOpenRecordPlacesTheCaretAndShiftExtendsTheSelection)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    Focus (*field);
    for (char c : std::string ("1234"))
        Press (c);
    ASSERT_EQ (RecordText (field->GetEditRecord()), "1234");
    const auto clickAt = [&] (int h, uint16_t modifiers) {
        toolbox.setMouseScript ({ Down (h, 20), Up (h, 20) });
        Click (MouseDown (h, 20, modifiers));
        const TERecord& record = **field->GetEditRecord();
        return std::make_pair (int (record.selStart), int (record.selEnd));
    };
    EXPECT_EQ (clickAt (11, 0), std::make_pair (0, 0)) << "a click before the text puts the caret at its start";
    EXPECT_EQ (clickAt (69, kShiftModifier), std::make_pair (0, 4)) << "Shift extends the selection to the click";
    EXPECT_EQ (clickAt (69, 0), std::make_pair (4, 4)) << "without Shift the click only moves the caret";
    EXPECT_EQ (toolbox.script().callsOf ("TEClick").back().arguments[2], 0);
}

TEST_F (TextFields, TrackingClicksInTheViewTextFontSizeAndModeAndPutsThePortBack)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    Focus (*field);
    const kestrune::host::rtas::HostExtPortState before = toolbox.portState (window);
    toolbox.script().clearCalls();
    toolbox.setMouseScript ({ Down (20, 20), Up (20, 20) });
    Click (MouseDown (20, 20));

    // The port's text settings when the record took the click.
    int64_t mode = -1, font = -1, size = -1;
    for (const auto& call : toolbox.script().calls())
    {
        if (call.function == "TEClick")
            break;
        if (call.function == "TextMode")
            mode = call.arguments[0];
        else if (call.function == "TextFont")
            font = call.arguments[0];
        else if (call.function == "TextSize")
            size = call.arguments[0];
    }
    EXPECT_EQ (mode, 2);
    EXPECT_EQ (font, 3);
    EXPECT_EQ (size, 9);
    const kestrune::host::rtas::HostExtPortState after = toolbox.portState (window);
    EXPECT_EQ (after.textMode, before.textMode);
    EXPECT_EQ (after.textFont, before.textFont);
    EXPECT_EQ (after.textSize, before.textSize);
}

TEST_F (TextFields, AClickOnAnInactiveFieldStartsNoEditing)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    process.DeactivateView();
    Focus (*field);
    EXPECT_EQ (field->GetEditRecord(), nullptr);
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);
    EXPECT_EQ (Root().GetFocusView(), nullptr);
    process.ActivateView();
    Focus (*field);
    EXPECT_NE (field->GetEditRecord(), nullptr) << "once active again it does";
}

TEST_F (TextFields, ArrowKeysStepTheControlWithinItsRangeAndReverseSwapsThem)
{
    CTextControlEditor* plain = nullptr;
    CTextControlEditor* reversed = nullptr;
    Open ([&] (CCustomView& root) {
        plain = &AddField (root, "! TextEditor (('Fld1') ('ct01'))");
        reversed = &AddField (root, "! TextEditor (('Fld2') ('ct02' reverse))", { 40, 10, 60, 70 });
    });
    EXPECT_TRUE (reversed->IsReversed());
    struct Case
    {
        bool reversedField;
        int start;
        int key;
        int step;
    };
    // clang-format off
    const Case cases[] = {
        { false, 5, kUpArrowKey, 6 },
        { false, 5, kDownArrowKey, 4 },
        { false, 10, kUpArrowKey, 10 },
        { false, 0, kDownArrowKey, 0 },
        { true, 5, kDownArrowKey, 6 },
        { true, 5, kUpArrowKey, 4 },
        { true, 10, kDownArrowKey, 10 },
        { true, 0, kUpArrowKey, 0 },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE (std::to_string (c.reversedField) + " " + std::to_string (c.start) + " " + std::to_string (c.key));
        CTextControlEditor& field = c.reversedField ? *reversed : *plain;
        const int32_t index = c.reversedField ? 2 : 1;
        SetControl (index, c.start);
        Focus (field);
        EXPECT_TRUE (Press (c.key)) << "an arrow is handled, also at either end";
        EXPECT_EQ (StepOf (index), c.step);
        EXPECT_EQ (RecordText (field.GetEditRecord()), std::to_string (c.step));
    }
    Focus (*plain);
    EXPECT_FALSE (Press ('x')) << "a character the control refuses is not handled";
    EXPECT_TRUE (Press (28)) << "a caret key the control accepts goes to the record";
}

TEST_F (TextFields, ReturnCommitsWhatWasTypedAndEscapeOrASteppedValueCommitNothing)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    Focus (*field);
    EXPECT_TRUE (Press ('7'));
    EXPECT_EQ (RecordText (field->GetEditRecord()), "7");
    EXPECT_TRUE (field->IsEdited());
    EXPECT_TRUE (Press (kReturnKey));
    EXPECT_EQ (process.writes, (std::vector<std::pair<int32_t, int32_t>> { { 1, ScaleToLong (7, 0, 10) } }));
    EXPECT_EQ (field->GetEditRecord(), nullptr);
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);
    EXPECT_EQ (field->GetTextView()->GetText(), "7");
    EXPECT_EQ (field->GetTextView()->GetHilite(), 0);

    process.writes.clear();
    Focus (*field);
    Press ('3');
    EXPECT_TRUE (Press (kEscapeKey));
    EXPECT_TRUE (process.writes.empty()) << "Escape cancels";
    EXPECT_EQ (field->GetTextView()->GetText(), "7");

    Focus (*field);
    Press ('9');
    Press (kUpArrowKey);
    EXPECT_FALSE (field->IsEdited()) << "stepping takes over from what was typed";
    Press (kReturnKey);
    EXPECT_EQ (process.writes, (std::vector<std::pair<int32_t, int32_t>> { { 1, ScaleToLong (8, 0, 10) } })) << "only the step was written";
}

TEST_F (TextFields, TypedTextIsCutAt30CharactersAndAFailedParseShowsTheOldTextAgain)
{
    ScriptedControlView* view = nullptr;
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) {
        view = &AddView<ScriptedControlView> (root, FourCharCode ("Gain"), { 70, 0, 80, 10 });
        view->SetStepCount (100);
        view->textOf = [] (int32_t value) { return "v" + std::to_string (value >> 24); };
        field = &AddField (root, "! TextEditor (('Fld1') ('Gain'))");
    });
    view->written.clear();
    view->parseResult = 0;
    Focus (*field);
    const std::string typed = "123456789012345678901234567890123";
    for (char c : typed)
        Press (c);
    Press (kReturnKey);
    EXPECT_EQ (view->parsed, std::vector<std::string> { typed.substr (0, kParsedTextLength) });

    view->parseResult = -7401;
    view->parsed.clear();
    view->written.clear();
    Redraw();
    const auto before = toolbox.windowPixels (window);
    const std::string shown (field->GetTextView()->GetText());
    Focus (*field);
    Press ('4');
    Press ('2');
    Press (kReturnKey);
    EXPECT_EQ (view->parsed, std::vector<std::string> { "42" });
    EXPECT_TRUE (view->written.empty()) << "a refused text sets nothing";
    EXPECT_EQ (field->GetTextView()->GetText(), shown);
    EXPECT_EQ (field->GetEditRecord(), nullptr);
    EXPECT_TRUE (toolbox.windowPixels (window) == before) << "the field shows what it showed before the edit";
}

TEST_F (TextFields, AnUnboundFieldShowsNothingAndNeverCommits)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('NONE'))"); });
    EXPECT_EQ (field->GetTextView()->GetText(), "") << "the description's text is replaced by the empty value text";
    Focus (*field);
    ASSERT_NE (field->GetEditRecord(), nullptr);
    EXPECT_FALSE (Press ('1')) << "no control view takes the key";
    field->EndEditing (true);
    EXPECT_EQ (field->GetValue(), 0);
    EXPECT_EQ (field->GetEditRecord(), nullptr);
}

TEST_F (TextFields, TakingTheWindowAwayEndsTheEditWithoutCommitting)
{
    CTextControlEditor* field = nullptr;
    Open ([&] (CCustomView& root) { field = &AddField (root, "! TextEditor (('Fld1') ('ct01'))"); });
    Focus (*field);
    Press ('2');
    process.SetViewPort (nullptr);
    EXPECT_EQ (field->GetEditRecord(), nullptr);
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);
    EXPECT_TRUE (process.writes.empty());
    EXPECT_EQ (field->GetTextView()->GetHilite(), 0);
    field->BeginEditing();
    EXPECT_EQ (field->GetEditRecord(), nullptr) << "no record without a window";
}

TEST (TextFieldDescriptions, TheControlIDMayBeFollowedByReverseAlone)
{
    auto reversed = Described<CTextControlEditor> ("! TextEditor (('Fld1') ('Gain' reverse))");
    ASSERT_NE (reversed, nullptr);
    EXPECT_TRUE (reversed->IsReversed());
    EXPECT_EQ (reversed->GetControlID(), FourCharCode ("Gain"));
    EXPECT_TRUE (reversed->CanTakeFocus());
    EXPECT_FALSE (reversed->IsHighlighted());
    for (const char* refused : { "! TextEditor (('Fld1'))", "! TextEditor (('Fld1') ())", "! TextEditor (('Fld1') ('Gain' cyclical))",
                                 "! TextEditor (('Fld1') ('Gain' reverse reverse))", "! TextEditor (('Fld1') (reverse))" })
        EXPECT_EQ (Described<CTextControlEditor> (refused), nullptr) << refused;
}

} // namespace
