// Static texts: lines placed by justification and shortened to their width, text boxes, the
// colours they draw in, editing in place with commits and pastes cut at the text's limits, and
// their descriptions.

#include "ControlViewSupport.h"

#include "views/custom/ColourSets.h"
#include "views/text/CStaticTextView.h"

namespace
{

using kestrune::host::rtas::RecordedCall;

class StaticTexts : public ViewWindowTest
{
protected:
    CStaticTextView& AddText (Rect frame, const std::string& text, int16_t justification = teFlushDefault)
    {
        auto view = std::make_unique<CStaticTextView>();
        view->SetRect (frame);
        view->SetEnabled (true);
        view->SetText (text);
        view->SetJustification (justification);
        return Add (std::move (view));
    }

    // The recorded calls of one name, in order.
    std::vector<RecordedCall> Calls (const char* name) { return toolbox.script().callsOf (name); }

    static std::vector<int64_t> RectArguments (const Rect& r) { return { r.top, r.left, r.bottom, r.right }; }

    // Draws the view with the calls recorded from a clean start.
    void Draw (CPlugInView& view)
    {
        root->SetWindow (window);
        toolbox.script().clearCalls();
        view.Invalidate (nullptr);
    }
};

// Lines lower than one line of the size-9 font (10 pixels) in a box 40 pixels wide (6 characters
// of 6 pixels): where each justification puts the line and how far it is shortened.
TEST_F (StaticTexts, ALowBoxPlacesOneShortenedLineByItsJustification)
{
    struct Case
    {
        const char* text;
        int16_t justification;
        int16_t boxWidth;
        const char* drawn;
        int16_t left;
    };
    // clang-format off
    const Case cases[] = {
        { "ABCDEFGHIJ", teFlushLeft,    40, "ABCDEF", 13 },
        { "ABCDEFGHIJ", teFlushDefault, 40, "ABCDEF", 13 },
        { "ABCDEFGHIJ", teFlushRight,   40, "ABCDEF", 17 },
        { "ABCDEFGHIJ", teCenter,       40, "ABCDEF", 15 },
        { "AB",         teFlushLeft,    40, "AB",     13 },
        { "AB",         teFlushRight,   40, "AB",     41 },
        { "AB",         teCenter,       40, "AB",     27 },
        { "ABC",        teCenter,       19, "ABC",    13 },
        { "ABC",        teCenter,       20, "ABC",    14 },
        { "AB",         teFlushRight,    4, "A",      13 },
        { "AB\rCD",     teFlushLeft,    40, "AB",     13 },
        { "\nCD",       teFlushLeft,    40, "",       13 },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        SCOPED_TRACE (std::string (c.text) + " / " + std::to_string (c.justification) + " / " + std::to_string (c.boxWidth));
        const Rect frame { 10, 10, 22, int16_t (16 + c.boxWidth) };
        CStaticTextView& view = AddText (frame, c.text, c.justification);
        Draw (view);
        const auto drawn = Calls ("DrawText");
        ASSERT_EQ (drawn.size(), 1u);
        EXPECT_EQ (drawn[0].text, c.drawn);
        const auto moves = Calls ("MoveTo");
        ASSERT_FALSE (moves.empty());
        EXPECT_EQ (moves.back().arguments, (std::vector<int64_t> { c.left, 11 + 7 })) << "raised by 2, on the baseline";
        EXPECT_EQ (toolbox.script().countOf ("TETextBox"), 0u);
        // The margins beside the line are erased across the line's height.
        const int16_t textRight = int16_t (c.left + 6 * int16_t (std::string (c.drawn).size()));
        const auto erased = Calls ("EraseRect");
        ASSERT_GE (erased.size(), 2u);
        EXPECT_EQ (erased[erased.size() - 2].arguments, RectArguments ({ 11, 13, 21, c.left }));
        EXPECT_EQ (erased.back().arguments, RectArguments ({ 11, textRight, 21, int16_t (13 + c.boxWidth) }));
        root->RemoveChild (&view);
    }
}

TEST_F (StaticTexts, ABoxJustBelowOneLineStillShowsOneLineAndATallerOneGetsATextBox)
{
    CStaticTextView& low = AddText ({ 10, 10, 25, 100 }, "Level");
    Draw (low);
    EXPECT_EQ (Calls ("DrawText").size(), 1u) << "a box of 9 pixels, one below the line";
    bool inked = false;
    for (int y = 11; y <= 18; ++y)
        for (int x = 13; x < 43; ++x)
            inked = inked || PixelAt (x, y) != kWhitePixel;
    EXPECT_TRUE (inked);

    CStaticTextView& tall = AddText ({ 40, 10, 56, 100 }, "Level", teCenter);
    Draw (tall);
    const auto boxes = Calls ("TETextBox");
    ASSERT_EQ (boxes.size(), 1u);
    EXPECT_EQ (boxes[0].arguments, (std::vector<int64_t> { 43, 13, 53, 97, teCenter }));
    EXPECT_EQ (boxes[0].text, "Level");
    EXPECT_EQ (Calls ("DrawText").size(), 0u);
}

TEST_F (StaticTexts, DrawInTheirFontAndColoursAndLeaveThePortAsTheyFoundIt)
{
    CStaticTextView& view = AddText ({ 10, 10, 30, 100 }, "Gain");
    Draw (view);
    HostToolbox().SetPort (window);
    HostToolbox().TextFont (7);
    HostToolbox().TextMode (srcXor);
    const auto before = toolbox.portState (window);
    Draw (view);
    EXPECT_EQ (Calls ("TextFont").front().arguments, std::vector<int64_t> { 3 });
    EXPECT_EQ (Calls ("TextSize").front().arguments, std::vector<int64_t> { 9 });
    EXPECT_EQ (Calls ("TextFace").front().arguments, std::vector<int64_t> { 0 });
    const auto modes = Calls ("TextMode");
    EXPECT_TRUE (std::any_of (modes.begin(), modes.end(), [] (const RecordedCall& call) { return call.arguments == std::vector<int64_t> { srcOr }; }));
    // Drawing itself leaves the port's modes at patCopy; the text's settings go back to those.
    const auto after = toolbox.portState (window);
    EXPECT_EQ (after.textFont, before.textFont);
    EXPECT_EQ (after.textSize, before.textSize);
    EXPECT_EQ (after.textFace, before.textFace);
    EXPECT_EQ (after.textMode, patCopy);
    EXPECT_EQ (after.fore.blue, before.fore.blue);
    EXPECT_EQ (after.back.red, before.back.red);
}

TEST_F (StaticTexts, TheirForeColourFollowsTheHighlightOfTheirControlAndTheirColourSet)
{
    auto control = std::make_unique<CControlView>();
    control->SetRect ({ 0, 0, 40, 100 });
    control->SetEnabled (true);
    auto text = std::make_unique<CStaticTextView>();
    text->SetRect ({ 10, 10, 30, 90 });
    CStaticTextView& view = *text;
    control->AddChild (std::move (text), false);
    CControlView& parent = Add (std::move (control));

    const auto same = [] (const RGBColor& a, const RGBColor& b) { return a.red == b.red && a.green == b.green && a.blue == b.blue; };
    struct Case
    {
        int16_t highlightColour;
        RGBColor expected;
    };
    const Case highlighted[] = {
        { 0, GetColourSet (2)[4] },
        { 1, GetColourSet (5)[4] },
        { 2, GetColourSet (3)[4] },
        { 3, GetColourSet (6)[4] },
        { 7, kHighlightColor },
    };
    parent.SetHighlighted (true);
    view.SetHilite (1);
    for (const Case& c : highlighted)
    {
        parent.SetHighlight (c.highlightColour, 0, nullptr);
        EXPECT_TRUE (same (view.GetForeColor(), c.expected)) << "highlight colour " << c.highlightColour;
    }

    parent.SetEnabled (false);
    EXPECT_TRUE (same (view.GetForeColor(), kHighlightColor)) << "a disabled parent's highlight is not shown";
    parent.SetEnabled (true);
    view.SetHilite (0);
    struct SetCase
    {
        int16_t colourSet;
        RGBColor expected;
    };
    const SetCase sets[] = { { 1, kHighlightColor }, { 4, { 0, 0, 0xAAAA } }, { 0, kDefaultForeColor }, { 3, kDefaultForeColor } };
    for (const SetCase& c : sets)
    {
        view.SetStyle (false, c.colourSet, 0);
        EXPECT_TRUE (same (view.GetForeColor(), c.expected)) << "colour set " << c.colourSet;
    }
}

TEST_F (StaticTexts, TheEditRectangleSitsOnAnElevenPixelLine)
{
    struct Case
    {
        Rect frame;
        Rect edit;
    };
    const Case cases[] = {
        { { 0, 0, 20, 100 }, { 3, 1, 19, 97 } },
        { { 0, 0, 15, 50 }, { 1, 1, 12, 47 } },
        { { 10, 10, 40, 60 }, { 18, 11, 44, 57 } },
        { { 60, 100, 100, 160 }, { 63, 101, 79, 117 } },
    };
    for (const Case& c : cases)
    {
        CStaticTextView& view = AddText (c.frame, "");
        EXPECT_TRUE (ViewGeometry::SameRect (view.GetEditRect(), c.edit)) << Describe (view.GetEditRect()) << " for " << Describe (c.frame);
    }
}

class EditedStaticText : public StaticTexts
{
protected:
    void SetUp() override
    {
        StaticTexts::SetUp();
        text = &AddText ({ 10, 10, 30, 110 }, "Hello");
        root->SetWindow (window);
    }

    void Type (int16_t character)
    {
        bool handled = false;
        text->HandleKey (character, handled);
        EXPECT_TRUE (handled);
    }

    std::string Edited()
    {
        Handle block = HostToolbox().TEGetText (text->GetEditRecord());
        return std::string (*block, size_t (HostToolbox().TEGetTextLength (text->GetEditRecord())));
    }

    static constexpr int16_t kRightArrow = 29;
    CStaticTextView* text = nullptr;
};

TEST_F (EditedStaticText, BeginsWithAllItsTextSelectedAndCommitsWhatWasTyped)
{
    EXPECT_FALSE (text->CanTakeFocus());
    toolbox.script().clearCalls();
    text->BeginEditing();
    ASSERT_TRUE (text->IsEditing());
    EXPECT_EQ (text->GetHilite(), 1);
    const auto made = Calls ("TENew");
    ASSERT_EQ (made.size(), 1u);
    const Rect edit = text->GetEditRect();
    EXPECT_EQ (made[0].arguments, (std::vector<int64_t> { edit.top, edit.left, edit.bottom, edit.right, edit.top, edit.left, edit.bottom, edit.right }));
    EXPECT_EQ ((**text->GetEditRecord()).selStart, 0);
    EXPECT_EQ ((**text->GetEditRecord()).selEnd, 5);
    EXPECT_EQ ((**text->GetEditRecord()).active, 1);

    Type ('X');
    Type ('y');
    EXPECT_EQ (Edited(), "Xy");
    EXPECT_EQ (text->GetText(), "Hello") << "the text changes when the edit commits";
    text->EndEditing (true);
    EXPECT_FALSE (text->IsEditing());
    EXPECT_EQ (text->GetText(), "Xy");
    EXPECT_EQ (text->GetHilite(), 0);
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);

    bool handled = true;
    text->HandleKey ('z', handled);
    EXPECT_FALSE (handled) << "without an edit no key is taken";
}

TEST_F (EditedStaticText, ACommitKeepsAtMost254Characters)
{
    text->SetText (std::string (250, 'a'));
    text->BeginEditing();
    Type (kRightArrow);
    for (int i = 0; i < 10; ++i)
        Type ('b');
    EXPECT_EQ (Edited().size(), 260u);
    text->EndEditing (true);
    EXPECT_EQ (text->GetText(), std::string (250, 'a') + "bbbb");
}

TEST_F (EditedStaticText, APasteInsertsOnlyWhatTheTextHasRoomFor)
{
    uint8_t keys[16] {};
    keys[kPasteModifierKeyCode / 8] = uint8_t (1 << (kPasteModifierKeyCode % 8));
    toolbox.setKeyMap (keys);
    toolbox.setClipboardText (std::string ("0123456789"));

    text->SetText (std::string (250, 'a'));
    text->BeginEditing();
    Type (kRightArrow);
    Type ('v');
    EXPECT_EQ (Edited(), std::string (250, 'a') + "01234");
    EXPECT_EQ (text->GetText(), std::string (250, 'a') + "01234") << "the paste becomes the text at once";

    // With the text selected, the whole clipboard fits.
    text->SetText ("Hello");
    text->EndEditing (false);
    text->SetText ("Hello");
    text->BeginEditing();
    Type ('V');
    EXPECT_EQ (text->GetText(), "0123456789");

    toolbox.setClipboardText (std::nullopt);
    Type ('V');
    EXPECT_EQ (Edited(), "0123456789") << "an empty clipboard inserts nothing";

    const uint8_t none[16] {};
    toolbox.setKeyMap (none);
    Type ('v');
    EXPECT_EQ (Edited(), "0123456789v") << "without the key a V is typed";
}

TEST_F (EditedStaticText, ClicksIdlePassesAndActivationGoToTheEdit)
{
    text->BeginEditing();
    toolbox.script().clearCalls();
    EventRecord click {};
    click.what = 1;
    click.where = At (20, 20);
    click.modifiers = kShiftModifier;
    text->TrackMouse (click, false);
    const auto clicks = Calls ("TEClick");
    ASSERT_EQ (clicks.size(), 1u);
    EXPECT_EQ (clicks[0].arguments[0], 20);
    EXPECT_EQ (clicks[0].arguments[1], 20);
    EXPECT_EQ (clicks[0].arguments[2], 1) << "Shift extends the selection";
    text->Idle (0);
    text->Deactivate();
    EXPECT_EQ ((**text->GetEditRecord()).active, 0);
    text->Activate();
    EXPECT_EQ ((**text->GetEditRecord()).active, 1);
    EXPECT_EQ (toolbox.script().countOf ("TEIdle"), 1u);

    root->SetWindow (nullptr);
    EXPECT_FALSE (text->IsEditing()) << "taking the window away ends the edit";
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);
}

TEST_F (StaticTexts, ReadTheirTextAndJustificationFromADescription)
{
    auto centred = Described<CStaticTextView> ("! StaticText (('Txt1') (\"Hello\" center))");
    ASSERT_NE (centred, nullptr);
    EXPECT_EQ (centred->GetText(), "Hello");
    EXPECT_EQ (centred->GetJustification(), teCenter);

    auto last = Described<CStaticTextView> ("! StaticText (('Txt2') (left \"A\" \"B\" right))");
    ASSERT_NE (last, nullptr);
    EXPECT_EQ (last->GetText(), "B");
    EXPECT_EQ (last->GetJustification(), teFlushRight);

    auto empty = Described<CStaticTextView> ("! StaticText (('Txt3') ())");
    ASSERT_NE (empty, nullptr);
    EXPECT_EQ (empty->GetText(), "");
    EXPECT_EQ (empty->GetJustification(), teFlushDefault);

    auto plain = Described<CStaticTextView> ("! StaticText (('Txt4') (right default))");
    ASSERT_NE (plain, nullptr);
    EXPECT_EQ (plain->GetJustification(), teFlushDefault);

    ExpectDescriptionCodes<CStaticTextView> ("StaticText",
                                             {
                                                 { "(('Txt1'))", -7053 },
                                                 { "(('Txt1') (5))", -7400 },
                                                 { "(('Txt1') (\"A\" plate))", -7400 },
                                                 { "(('Txt1') ('abcd'))", -7400 },
                                                 { "(('Txt1') (top))", -7400 },
                                             });
}

} // namespace
