// The toolbox's fixed font, text boxes, text-edit records and clipboard text.

#include "HostExtWindowFixture.h"

#include <cstring>

namespace
{

using HostExtText = HostExtWindowTest;

bool inBox (int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

// Whether (x, y) is a glyph pixel of a size-9 plain run of `characters` non-space characters
// drawn from `left` with its baseline at `baseline`.
bool glyphAt (int x, int y, int left, int baseline, int characters)
{
    return inBox (x, y, left, baseline - 7, left + 6 * characters, baseline) && (x - left) % 6 < 5;
}

std::vector<uint8_t> bytesOf (Handle block, int32_t size)
{
    const auto* data = reinterpret_cast<const uint8_t*> (*block);
    return std::vector<uint8_t> (data, data + size);
}

std::string textOf (TEHandle edit)
{
    return std::string (*(*edit)->text, size_t ((*edit)->teLength));
}

TEST_F (HostExtText, MetricsFollowTheSizeAndFace)
{
    struct Case
    {
        int16_t size;
        int16_t face;
        FontInfo info;
        int16_t widthOfThree;
    };
    const Case cases[] = {
        { 9, 0, { 7, 2, 6, 1 }, 18 },
        { 9, kTextFaceBold, { 7, 2, 7, 1 }, 21 },
        { 12, 0, { 9, 3, 8, 1 }, 24 },
        { 0, 0, { 9, 3, 8, 1 }, 24 },
        { 24, 0, { 19, 5, 16, 3 }, 48 },
        { 9, kTextFaceItalic, { 7, 2, 6, 1 }, 18 },
    };
    for (const auto& test : cases)
    {
        SCOPED_TRACE (std::to_string (test.size) + "/" + std::to_string (test.face));
        host.TextSize (test.size);
        host.TextFace (test.face);
        FontInfo info {};
        host.GetFontInfo (&info);
        EXPECT_EQ ((std::vector<int16_t> { info.ascent, info.descent, info.widMax, info.leading }),
                   (std::vector<int16_t> { test.info.ascent, test.info.descent, test.info.widMax, test.info.leading }));
        EXPECT_EQ (host.TextWidth ("xabcx", 1, 3), test.widthOfThree);
        const unsigned char three[] = "\003abc";
        EXPECT_EQ (host.StringWidth (three), test.widthOfThree);
    }
}

TEST_F (HostExtText, TextDrawsAtThePenAndMovesIt)
{
    host.TextSize (9);
    host.MoveTo (10, 20);
    const unsigned char text[] = "\004AB C";
    host.DrawString (text);
    PenState pen {};
    host.GetPenState (&pen);
    EXPECT_EQ (pen.location.h, 34);
    EXPECT_EQ (mismatches ([] (int x, int y) { return glyphAt (x, y, 10, 20, 2) || glyphAt (x, y, 28, 20, 1) ? kBlack : kWhite; }), "");

    // Bold glyphs fill their whole (wider) cell; underline runs one pixel below the baseline.
    host.TextFace (kTextFaceBold | kTextFaceUnderline);
    host.MoveTo (0, 27);
    host.DrawText ("ab", 0, 2);
    EXPECT_EQ (at (13, 26), kBlack);
    EXPECT_EQ (at (14, 26), kWhite);
    EXPECT_EQ (at (6, 20), kBlack) << "no gap between bold glyphs";
    EXPECT_EQ (at (13, 28), kBlack);
    EXPECT_EQ (at (13, 27), kWhite);
    const auto drawn = toolbox.script().callsOf ("DrawText");
    ASSERT_EQ (drawn.size(), 1u);
    EXPECT_EQ (drawn[0].text, "ab");
}

TEST_F (HostExtText, TextModesCombineGlyphsWithWhatIsThere)
{
    host.TextSize (9);
    const Rect black { 0, 0, kHeight, kWidth };
    host.PaintRect (&black);
    host.TextMode (srcCopy);
    host.MoveTo (0, 10);
    host.DrawText ("a", 0, 1);
    EXPECT_EQ (at (0, 5), kBlack) << "the glyph";
    EXPECT_EQ (at (5, 5), kWhite) << "srcCopy paints the cell's ground in the back colour";
    EXPECT_EQ (at (0, 11), kWhite) << "down to the descent";
    host.TextMode (srcXor);
    host.MoveTo (20, 10);
    host.DrawText ("a", 0, 1);
    EXPECT_EQ (at (20, 5), kWhite) << "srcXor inverts the glyph's pixels";
    EXPECT_EQ (at (25, 5), kBlack);
}

TEST_F (HostExtText, TextBoxesJustifyEachLine)
{
    host.TextSize (9);
    const std::pair<int16_t, int> cases[] = { { teFlushLeft, 0 }, { teFlushDefault, 0 }, { teFlushRight, 48 }, { teCenter, 24 } };
    for (const auto& [just, left] : cases)
    {
        SCOPED_TRACE (just);
        const Rect box { 0, 0, 20, 60 };
        host.TETextBox ("ab", 2, &box, just);
        EXPECT_EQ (mismatches ([&] (int x, int y) { return glyphAt (x, y, left, 7, 2) ? kBlack : kWhite; }), "");
    }
}

TEST_F (HostExtText, TextBoxesWrapAtSpacesEraseTheBoxAndClipToIt)
{
    host.TextSize (9);
    const Rect everything { 0, 0, kHeight, kWidth };
    host.PaintRect (&everything);
    const Rect box { 0, 0, 25, 36 };
    const char text[] = "abcd efgh ij";
    host.TETextBox (text, int32_t (std::strlen (text)), &box, teFlushLeft);
    EXPECT_EQ (mismatches ([] (int x, int y) {
                   if (! inBox (x, y, 0, 0, 36, 25))
                       return kBlack;
                   const bool glyph = glyphAt (x, y, 0, 7, 4) || glyphAt (x, y, 0, 17, 4) || glyphAt (x, y, 0, 27, 2);
                   return glyph ? kBlack : kWhite;
               }),
               "");
    // A line break starts a new line; a word longer than the box is cut.
    host.TETextBox ("a\rbcdefgh", 9, &box, teFlushLeft);
    EXPECT_EQ (mismatches ([] (int x, int y) {
                   if (! inBox (x, y, 0, 0, 36, 25))
                       return kBlack;
                   const bool glyph = glyphAt (x, y, 0, 7, 1) || glyphAt (x, y, 0, 17, 6) || glyphAt (x, y, 0, 27, 1);
                   return glyph ? kBlack : kWhite;
               }),
               "");
}

class HostExtTextEdit : public HostExtWindowTest
{
protected:
    void SetUp() override
    {
        HostExtWindowTest::SetUp();
        toolbox.setClock (0);
        host.TextSize (9);
        const Rect area { 0, 0, 20, 60 };
        edit = host.TENew (&area, &area);
        ASSERT_NE (edit, nullptr);
    }

    void type (const std::string& keys)
    {
        for (char key : keys)
            host.TEKey (int16_t (uint8_t (key)), edit);
    }

    std::pair<int, int> selection() { return { (*edit)->selStart, (*edit)->selEnd }; }

    TEHandle edit = nullptr;
};

TEST_F (HostExtTextEdit, TheRecordTakesThePortAndItsFont)
{
    EXPECT_EQ ((*edit)->inPort, window);
    EXPECT_EQ ((*edit)->txSize, 9);
    EXPECT_EQ ((*edit)->lineHeight, 10);
    EXPECT_EQ ((*edit)->fontAscent, 7);
    EXPECT_EQ (host.TEGetTextLength (edit), 0);
    EXPECT_EQ (host.GetHandleSize (host.TEGetText (edit)), 0);

    host.DisposeHandle (reinterpret_cast<Handle> (edit));
    EXPECT_EQ (host.MemError(), paramErr) << "a record goes through its own disposal";
    host.TEDispose (edit);
    EXPECT_EQ (toolbox.objectCounts().textEdits, 0u);
    EXPECT_EQ (toolbox.liveHandles(), 0u);

    host.SetPort (nullptr);
    const Rect area { 0, 0, 10, 10 };
    EXPECT_EQ (host.TENew (&area, &area), nullptr) << "no port to draw in";
    host.SetPort (window);
    toolbox.script().injectFailure ("TENew", memFullErr);
    EXPECT_EQ (host.TENew (&area, &area), nullptr);
    EXPECT_EQ (host.MemError(), memFullErr);
}

TEST_F (HostExtTextEdit, TypingSelectingAndDeleting)
{
    host.TEActivate (edit);
    type ("abc");
    EXPECT_EQ (textOf (edit), "abc");
    EXPECT_EQ (selection(), std::make_pair (3, 3));
    type ("\b");
    EXPECT_EQ (textOf (edit), "ab");
    host.TESetSelect (0, 2, edit);
    type ("x");
    EXPECT_EQ (textOf (edit), "x");
    host.TEInsert ("yz", 2, edit);
    EXPECT_EQ (textOf (edit), "xyz");
    EXPECT_EQ (selection(), std::make_pair (3, 3));
    type ("\x1c\b");
    EXPECT_EQ (textOf (edit), "xz");
    EXPECT_EQ (selection(), std::make_pair (1, 1));
    type ("\x7f");
    EXPECT_EQ (textOf (edit), "x");
    type ("\x1c\x1c\b");
    EXPECT_EQ (textOf (edit), "x") << "backspace at the start deletes nothing";
    host.TESetSelect (5, -3, edit);
    EXPECT_EQ (selection(), std::make_pair (0, 1)) << "clamped and ordered";
    type ("\x1d");
    EXPECT_EQ (selection(), std::make_pair (1, 1)) << "right arrow collapses to the end";

    host.TESetText ("ab\rcd", 5, edit);
    EXPECT_EQ (selection(), std::make_pair (5, 5));
    type ("\x1e");
    EXPECT_EQ (selection(), std::make_pair (2, 2)) << "up keeps the column";
    type ("\x1f\x1f");
    EXPECT_EQ (selection(), std::make_pair (5, 5)) << "down past the last line goes to the end";
    const Handle text = host.TEGetText (edit);
    EXPECT_EQ (bytesOf (text, host.GetHandleSize (text)), (std::vector<uint8_t> { 'a', 'b', '\r', 'c', 'd' }));
}

TEST_F (HostExtTextEdit, TheSelectionIsInvertedAndTheCaretBlinks)
{
    host.TESetText ("abc", 3, edit);
    host.TESetSelect (0, 2, edit);
    host.TEActivate (edit);
    host.TEUpdate (nullptr, edit);
    EXPECT_EQ (mismatches ([] (int x, int y) {
                   if (inBox (x, y, 0, 0, 12, 10))
                       return glyphAt (x, y, 0, 7, 2) ? kWhite : kBlack;
                   return glyphAt (x, y, 12, 7, 1) ? kBlack : kWhite;
               }),
               "");

    host.TESetSelect (1, 1, edit);
    const auto withCaret = [] (int x, int y) { return glyphAt (x, y, 0, 7, 3) || (x == 5 && y < 10) ? kBlack : kWhite; };
    EXPECT_EQ (mismatches (withCaret), "");
    host.TEIdle (edit);
    EXPECT_EQ (mismatches (withCaret), "") << "not yet time to blink";
    toolbox.advanceClock (500000);
    host.TEIdle (edit);
    EXPECT_EQ ((*edit)->caretVisible, 0);
    EXPECT_EQ (mismatches ([] (int x, int y) { return glyphAt (x, y, 0, 7, 3) ? kBlack : kWhite; }), "");
    toolbox.advanceClock (500000);
    host.TEIdle (edit);
    EXPECT_EQ (mismatches (withCaret), "");

    host.TEDeactivate (edit);
    EXPECT_EQ (mismatches ([] (int x, int y) { return glyphAt (x, y, 0, 7, 3) ? kBlack : kWhite; }), "") << "inactive: no caret";
}

TEST_F (HostExtTextEdit, ClicksPlaceTheCaretExtendAndFollowTheMouse)
{
    host.TESetText ("hello", 5, edit);
    host.TEClick ({ 5, 13 }, 0, edit);
    EXPECT_EQ (selection(), std::make_pair (2, 2)) << "the nearest gap between characters";
    host.TEClick ({ 5, 25 }, 1, edit);
    EXPECT_EQ (selection(), std::make_pair (2, 4));
    host.TEClick ({ 5, 1 }, 1, edit);
    EXPECT_EQ (selection(), std::make_pair (0, 4)) << "extending before the selection keeps its end";
    host.TEClick ({ 5, 100 }, 0, edit);
    EXPECT_EQ (selection(), std::make_pair (5, 5));

    // The window's corner is at global (100, 200): the drag runs from local h 7 to h 26.
    toolbox.setMouseScript ({ { { 105, 207 }, true }, { { 105, 220 }, true }, { { 105, 226 }, false } });
    host.TEClick ({ 5, 7 }, 0, edit);
    EXPECT_EQ (selection(), std::make_pair (1, 4));
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u);
}

TEST_F (HostExtTextEdit, ClipboardTextIsCopiedIntoAHandle)
{
    Handle destination = host.NewHandle (0);
    EXPECT_EQ (host.GetClipboardText (destination), noTypeErr);
    toolbox.setClipboardText ("paste");
    EXPECT_EQ (host.GetClipboardText (nullptr), 5);
    ASSERT_EQ (host.GetClipboardText (destination), 5);
    EXPECT_EQ (bytesOf (destination, 5), (std::vector<uint8_t> { 'p', 'a', 's', 't', 'e' }));

    host.TEInsert (*destination, 5, edit);
    EXPECT_EQ (textOf (edit), "paste");

    Handle locked = host.NewHandle (1);
    host.HLock (locked);
    EXPECT_EQ (host.GetClipboardText (locked), memLockedErr);
}

} // namespace
