// Sliders and dials: the thumb's geometry, dragging (fine, reversed, outside the thumb), the
// dial's pointer, angular and linear tracking, and what both draw.

#include "EditorTestSupport.h"

#include "views/editors/CDialControlEditor.h"
#include "views/editors/CSliderControlEditor.h"

#include <array>
#include <cmath>

namespace
{

inline constexpr uint32_t kGain = FourCharCode ("Gain");

class SliderEditors : public EditorTest
{
protected:
    // A control view 'Gain' and a slider on it.
    CSliderControlEditor& OpenSlider (const std::string& description, Rect bounds, int32_t value)
    {
        CSliderControlEditor* slider = nullptr;
        Open ([&] (CCustomView& root) {
            view = &AddView<ScriptedControlView> (root, kGain, { 70, 100, 80, 110 });
            view->SetValue (value);
            slider = &AddDescribed<CSliderControlEditor> (root, description, bounds);
        });
        view->written.clear();
        return *slider;
    }

    ScriptedControlView* view = nullptr;
};

TEST (SliderGeometry, TheThumbIsThreeQuartersOfTheWidthLongAndTravelsTheRest)
{
    struct Case
    {
        Rect slider;
        bool reversed;
        int32_t value;
        Rect thumb;
    };
    // clang-format off
    const Case cases[] = {
        // vertical 20 x 100: a 15-pixel thumb, 85 pixels of travel, the maximum at the top
        { { 0, 0, 100, 20 }, false, INT32_MIN,  { 85, 0, 100, 20 } },
        { { 0, 0, 100, 20 }, false, INT32_MAX,  { 0, 0, 15, 20 } },
        { { 0, 0, 100, 20 }, false, 0,          { 43, 0, 58, 20 } },
        { { 0, 0, 100, 20 }, false, 0x7FFF7FFF, { 0, 0, 15, 20 } },
        { { 0, 0, 100, 20 }, false, -65537,     { 43, 0, 58, 20 } },
        { { 0, 0, 100, 20 }, true,  INT32_MIN,  { 0, 0, 15, 20 } },
        { { 0, 0, 100, 20 }, true,  INT32_MAX,  { 85, 0, 100, 20 } },
        // horizontal 100 x 20: the maximum at the right
        { { 0, 0, 20, 100 }, false, INT32_MIN,  { 0, 0, 20, 15 } },
        { { 0, 0, 20, 100 }, false, INT32_MAX,  { 0, 85, 20, 100 } },
        { { 0, 0, 20, 100 }, false, 0,          { 0, 42, 20, 57 } },
        { { 0, 0, 20, 100 }, true,  INT32_MAX,  { 0, 0, 20, 15 } },
        // a square is horizontal; a small one still has a thumb
        { { 10, 10, 50, 50 }, false, INT32_MAX, { 10, 20, 50, 50 } },
        { { 10, 10, 50, 50 }, false, 0,         { 10, 15, 50, 45 } },
        { { 0, 0, 10, 4 },   false, INT32_MAX,  { 0, 0, 3, 4 } },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        const std::string text = c.reversed ? "! Slider (('Sl01') ('NONE') (reverse))" : "! Slider (('Sl01') ('NONE'))";
        auto slider = Described<CSliderControlEditor> (text, c.slider);
        ASSERT_NE (slider, nullptr);
        slider->SetValue (c.value);
        EXPECT_EQ (Describe (slider->GetThumbRect()), Describe (c.thumb)) << Describe (c.slider) << " " << c.reversed << " " << c.value;
    }
}

TEST_F (SliderEditors, TheThumbIsMadeOnceAsAFramedChildThatFollowsTheValue)
{
    CSliderControlEditor& slider = OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 80, 30 }, INT32_MIN);
    slider.FinishCreate();
    CCustomView* thumb = slider.GetThumb();
    ASSERT_NE (thumb, nullptr);
    EXPECT_EQ (slider.GetFirstChild(), thumb);
    EXPECT_EQ (thumb->GetNextSibling(), nullptr) << "one thumb however often the slider is completed";
    EXPECT_EQ (thumb->GetID(), kSliderThumbID);
    EXPECT_TRUE (thumb->IsFramed());
    EXPECT_EQ (thumb->GetStyleBits(), kStyleRidgesAcross);
    EXPECT_EQ (Describe (thumb->GetRect()), Describe (Rect { 65, 10, 80, 30 }));

    view->SetValue (INT32_MAX);
    EXPECT_EQ (Describe (thumb->GetRect()), Describe (Rect { 0, 10, 15, 30 }));
    const Point anchor = slider.GetAnchorPoint();
    EXPECT_EQ (anchor.v, 7);
    EXPECT_EQ (anchor.h, 20);

    auto lying = Described<CSliderControlEditor> ("! Slider (('Sl02') ('NONE'))", { 0, 0, 20, 100 });
    lying->FinishCreate();
    ASSERT_NE (lying->GetThumb(), nullptr);
    EXPECT_EQ (lying->GetThumb()->GetStyleBits(), kStyleRidgesDown);
}

TEST_F (SliderEditors, QuietChangesMoveTheThumbForTheNextUpdate)
{
    CSliderControlEditor& slider = OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 80, 30 }, INT32_MIN);
    toolbox.validateWindow (window);
    view->Store (INT32_MAX);
    slider.ValueChangedQuiet();
    EXPECT_EQ (Describe (slider.GetThumb()->GetRect()), Describe (Rect { 0, 10, 15, 30 }));
    const auto update = toolbox.updateRegion (window);
    EXPECT_FALSE (update.empty()) << "the old and the new place are marked for the host's update";
}

TEST_F (SliderEditors, DraggingTheThumbSetsTheValueByTheDistanceAlongTheTravel)
{
    CSliderControlEditor& slider = OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 80, 30 }, 0);
    ASSERT_EQ (Describe (slider.GetThumb()->GetRect()), Describe (Rect { 33, 10, 48, 30 }));
    toolbox.setMouseScript ({ Down (20, 40), Down (20, 40), Down (20, 30), Down (20, 30), Up (20, 30) });
    Click (MouseDown (20, 40));
    EXPECT_EQ (view->written, std::vector<int32_t> { 693802408 }) << "10 pixels up of 65: step 43; the unmoved mouse writes nothing";
    EXPECT_EQ (Describe (slider.GetThumb()->GetRect()), Describe (Rect { 22, 10, 37, 30 }));
    EXPECT_EQ (slider.GetThumb()->GetHilite(), 0) << "the thumb is lit only while dragged";

    view->SetValue (0);
    view->written.clear();
    toolbox.setMouseScript ({ Down (20, 40), Down (20, 40), Down (20, -20), Up (20, -20) });
    Click (MouseDown (20, 40, kFineDragModifier));
    ASSERT_EQ (view->written.size(), 1u) << "a fine drag starts from the value without a jump";
    EXPECT_EQ (view->written[0], 660764198) << "60 pixels up of 6 x 65";
    EXPECT_NEAR (double (view->written[0]), 693802408.0, 4294967295.0 / 65) << "about what 10 pixels do without the modifier";

    view->written.clear();
    toolbox.setMouseScript ({ Down (20, 5), Down (20, 60), Up (20, 60) });
    Click (MouseDown (20, 5));
    EXPECT_TRUE (view->written.empty()) << "a click beside the thumb does not move it";
}

TEST_F (SliderEditors, AHorizontalSliderTakesMovesToTheRightAsIncreases)
{
    CSliderControlEditor& slider = OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 20, 110 }, 0);
    ASSERT_EQ (Describe (slider.GetThumb()->GetRect()), Describe (Rect { 0, 52, 20, 67 }));
    toolbox.setMouseScript ({ Down (60, 10), Down (70, 10), Down (50, 10), Down (50, 15), Up (50, 15) });
    Click (MouseDown (60, 10));
    EXPECT_EQ (view->written, (std::vector<int32_t> { 530554783, -480025757 }))
        << "10 right of 85: step 53; 10 left: step 33; a move across the slider changes nothing";
    EXPECT_EQ (Describe (slider.GetThumb()->GetRect()), Describe (Rect { 0, 42, 20, 57 }));
}

// A pop-up passes its clicks on as synthetic ones: the drag then ends where the mouse lies inside
// the slider but outside what shows of it.
TEST_F (SliderEditors, ASyntheticDragEndsWhereTheMouseLeavesTheVisiblePartOfTheSlider)
{
    CSliderControlEditor& slider = OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 80, 30 }, 0);
    slider.SetLimitRect ({ 0, 0, 45, 120 });
    const std::vector<HostExtMouseSample> samples { Down (20, 40), Down (20, 30), Down (20, 50), Down (20, 20), Up (20, 20) };
    toolbox.setMouseScript (samples);
    slider.TrackMouse (MouseDown (20, 40), true);
    EXPECT_EQ (view->written, std::vector<int32_t> { 693802408 });
    EXPECT_EQ (toolbox.pendingMouseSamples(), 2u) << "ended at v 50, below the visible part";
    EXPECT_EQ (slider.GetThumb()->GetHilite(), 0);

    view->SetValue (0);
    view->written.clear();
    toolbox.setMouseScript (samples);
    slider.TrackMouse (MouseDown (20, 40), false);
    EXPECT_EQ (view->written.size(), 3u) << "a real drag goes on until the button is up";
    EXPECT_EQ (toolbox.pendingMouseSamples(), 0u);
}

TEST_F (SliderEditors, DragsPastTheEndsStopThereAndReverseSlidersTurnTheDirection)
{
    OpenSlider ("! Slider (('Sl01') ('Gain') (reverse))", { 0, 10, 80, 30 }, 0);
    toolbox.setMouseScript ({ Down (20, 40), Down (20, 30), Down (20, 200), Up (20, 200) });
    Click (MouseDown (20, 40));
    EXPECT_EQ (view->written, (std::vector<int32_t> { -627725989, INT32_MAX })) << "up decreases, far down is the maximum";

    for (const char* refused : { "! Slider (('Sl01') ('Gain') (reverse reverse))", "! Slider (('Sl01') ('Gain') (cyclical))",
                                 "! Slider (('Sl01') ('Gain') (5))" })
        EXPECT_EQ (Described<CSliderControlEditor> (refused), nullptr) << refused;
}

TEST_F (SliderEditors, TheSliderDrawsASunkGrooveUnderItsThumb)
{
    OpenSlider ("! Slider (('Sl01') ('Gain'))", { 0, 10, 80, 30 }, INT32_MIN);
    Redraw();
    EXPECT_EQ (PixelAt (19, 30), 0xFF333333u) << "the groove's left edge is dark";
    EXPECT_EQ (PixelAt (21, 30), 0xFF999999u) << "its right edge light";
    EXPECT_EQ (PixelAt (20, 30), kWhitePixel) << "the panel shows between them";
    EXPECT_EQ (PixelAt (12, 30), kWhitePixel);
    EXPECT_EQ (PixelAt (20, 70), 0xFFAAAAAAu) << "the thumb's face at the bottom";
    EXPECT_EQ (PixelAt (20, 10), kWhitePixel) << "and nothing of it at the top";
}

// ---- Dials ----

class DialEditors : public EditorTest
{
protected:
    // `plate`: what follows the dial's ID in its first list.
    CDialControlEditor& OpenDial (const std::string& keywords, int32_t value, Rect bounds = { 0, 60, 56, 116 }, const std::string& plate = "")
    {
        CDialControlEditor* dial = nullptr;
        Open ([&] (CCustomView& root) {
            view = &AddView<ScriptedControlView> (root, kGain, { 70, 0, 80, 10 });
            view->SetValue (value);
            dial = &AddDescribed<CDialControlEditor> (root, "! Dial (('Dl01'" + plate + ") ('Gain') (" + keywords + "))", bounds);
        });
        view->written.clear();
        return *dial;
    }

    // A point far out from the centre of `dial` at the angle (degrees clockwise from straight up).
    static Point AtAngle (const CDialControlEditor& dial, double degrees)
    {
        const Rect frame = dial.GetRect();
        const double radians = degrees * 3.14159265358979 / 180.0;
        return { int16_t ((frame.top + frame.bottom) / 2 - std::lround (1000 * std::cos (radians))),
                 int16_t ((frame.left + frame.right) / 2 + std::lround (1000 * std::sin (radians))) };
    }

    ScriptedControlView* view = nullptr;
};

TEST (DialGeometry, ThePointerTurnsFromStraightUpClockwise)
{
    struct Case
    {
        const char* keywords;
        int32_t value;
        Point inner;
        Point outer;
    };
    // A 56 x 56 dial: radius 20 about (28, 28) once inset by 8.
    // clang-format off
    const Case cases[] = {
        { "",                 0,          { 23, 27 }, { 8, 27 } },
        { "",                 INT32_MAX,  { 32, 30 }, { 44, 39 } },
        { "cyclical",         INT32_MAX,  { 33, 27 }, { 48, 27 } },
        { "reverse",          INT32_MAX,  { 32, 25 }, { 44, 16 } },
        { "",                 INT32_MIN,  { 32, 25 }, { 44, 16 } },
        { "cyclical",         INT32_MIN,  { 33, 28 }, { 48, 28 } },
        { "cyclical",         1073741824, { 28, 33 }, { 28, 48 } },
        { "",                 1073741824, { 26, 32 }, { 21, 47 } },
        { "cyclical reverse", 1073741824, { 28, 23 }, { 28, 8 } },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        auto dial = Described<CDialControlEditor> (std::string ("! Dial (('Dl01') ('NONE') (") + c.keywords + "))", { 0, 0, 56, 56 });
        ASSERT_NE (dial, nullptr);
        Point inner {}, outer {};
        dial->PointerFor (c.value, &inner, &outer);
        EXPECT_EQ (inner.v, c.inner.v) << c.keywords << " " << c.value;
        EXPECT_EQ (inner.h, c.inner.h) << c.keywords << " " << c.value;
        EXPECT_EQ (outer.v, c.outer.v) << c.keywords << " " << c.value;
        EXPECT_EQ (outer.h, c.outer.h) << c.keywords << " " << c.value;
    }
    for (const char* refused : { "! Dial (('Dl01') ('Gain') (plate))", "! Dial (('Dl01') ('Gain') (\"reverse\"))", "! Dial (('Dl01'))" })
        EXPECT_EQ (Described<CDialControlEditor> (refused), nullptr) << refused;
}

TEST_F (DialEditors, AngularTrackingMapsWholeDegreesOntoTheRangeThroughTheBottom)
{
    struct Case
    {
        const char* keywords;
        double degrees;
        int32_t value;
    };
    // clang-format off
    const Case cases[] = {
        { "cyclical",          0,   0 },
        { "cyclical",          90,  0x40008000 },
        { "cyclical",          179, 2135555730 },
        { "cyclical",          180, 0x7FFFFFFE },
        { "cyclical",          181, -2135490560 },
        { "cyclical",          270, -1073741824 },
        { "",                  100, 1491317190 },
        { "",                  144, 0x7FFFFFFE },
        { "",                  160, 0x7FFFFFFE },
        { "",                  200, INT32_MIN },
        { "cyclical reverse",  90,  -1073741824 },
        { "reverse",           300, 894790314 },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        auto dial = Described<CDialControlEditor> (std::string ("! Dial (('Dl01') ('NONE') (") + c.keywords + "))", { 0, 0, 80, 80 });
        ASSERT_NE (dial, nullptr);
        EXPECT_EQ (dial->AngularValue (AtAngle (*dial, c.degrees), 12345 << 16), c.value) << c.keywords << " " << c.degrees;
    }
    auto dial = Described<CDialControlEditor> ("! Dial (('Dl01') ('NONE') (cyclical))", { 0, 0, 80, 80 });
    EXPECT_EQ (dial->AngularValue (AtAngle (*dial, 90), 0x40001234), 0x40001234) << "the same 1/65536 of a turn keeps the value";
}

TEST_F (DialEditors, LinearTrackingCountsTheLargerOfOpposedMovesAndStopsAtTheEnds)
{
    CDialControlEditor& dial = OpenDial ("", 0);
    struct Case
    {
        int dh;
        int dv; // upward positive
        bool fine;
        int32_t current;
        int32_t value;
    };
    // clang-format off
    const Case cases[] = {
        { 3, -5, false, 0, -5 * 4 * kDialPixelStep },
        { 5, -3, false, 0, 5 * 4 * kDialPixelStep },
        { 4, -4, false, 0, -4 * 4 * kDialPixelStep },
        { -2, 3, false, 0, 3 * 4 * kDialPixelStep },
        { 2, 3, false, 0, 5 * 4 * kDialPixelStep },
        { 1, 0, true, 0, kDialPixelStep },
        { 10, 0, false, INT32_MAX - 100, INT32_MAX },
        { 0, -100, false, INT32_MIN + 5, INT32_MIN },
        { 30000, 30000, false, 0, INT32_MAX },
        { -30000, -30000, true, 0, INT32_MIN },
    };
    // clang-format on
    for (const Case& c : cases)
    {
        uint8_t keys[16] {};
        if (c.fine)
            keys[kDialFineKeyCode / 8] = uint8_t (1u << (kDialFineKeyCode % 8));
        toolbox.setKeyMap (keys);
        const Point last { 0, 0 };
        const Point mouse { int16_t (-c.dv), int16_t (c.dh) };
        EXPECT_EQ (dial.LinearValue (mouse, last, c.current), c.value) << c.dh << "," << c.dv << " fine " << c.fine;
    }
}

TEST_F (DialEditors, DraggingTurnsTheKnobAndWritesTheValueOfEveryPollThatMoved)
{
    CDialControlEditor& dial = OpenDial ("cyclical", INT32_MIN);
    toolbox.setMouseScript ({ Down (88, 2), Down (88, 2), Down (88, 2), Down (88, 54), Down (88, 55), Up (88, 55) });
    Click (MouseDown (88, 2));
    EXPECT_EQ (view->written, (std::vector<int32_t> { 0, 0x7FFFFFFE, 0x7FFFFFFE }))
        << "the first poll counts even where the click was, an unmoved mouse writes nothing, a move to the same value writes it again";
    EXPECT_EQ (dial.GetHilite(), 0);

    dial.SetAngularTracking (false);
    view->written.clear();
    toolbox.setKeyMap (std::array<uint8_t, 16> {}.data());
    toolbox.setMouseScript ({ Down (80, 20), Down (83, 20), Up (83, 20) });
    view->SetValue (0);
    view->written.clear();
    Click (MouseDown (80, 20));
    EXPECT_EQ (view->written, (std::vector<int32_t> { 4 * 4 * kDialPixelStep })) << "the click's pixel to the left, then 3 more";
}

// A pop-up's synthetic click starts at the click itself (so an unmoved first poll writes nothing)
// and ends where the mouse lies inside the dial but outside what shows of it.
TEST_F (DialEditors, ASyntheticDragStartsAtTheClickAndEndsOutsideTheVisiblePart)
{
    CDialControlEditor& dial = OpenDial ("cyclical", INT32_MIN);
    dial.SetLimitRect ({ 0, 0, 28, 120 });
    toolbox.setMouseScript ({ Down (88, 2), Down (88, 2), Down (100, 10), Down (88, 50), Down (88, 2), Up (88, 2) });
    dial.TrackMouse (MouseDown (88, 2), true);
    EXPECT_EQ (view->written, std::vector<int32_t> { dial.AngularValue (At (100, 10), INT32_MIN) });
    EXPECT_EQ (toolbox.pendingMouseSamples(), 2u) << "ended at v 50, below the visible part";
    EXPECT_EQ (dial.GetHilite(), 0);
}

TEST_F (DialEditors, TheKnobDrawsAFaceAFrameAndAPointerThatMovesWithTheValue)
{
    CDialControlEditor& dial = OpenDial ("", 0);
    Redraw();
    const uint32_t frame = PixelOf (kDefaultForeColor);
    EXPECT_EQ (PixelAt (87, 12), frame) << "the pointer straight up";
    EXPECT_EQ (PixelAt (95, 30), 0xFFAAAAAAu) << "the face";
    EXPECT_EQ (PixelAt (88, 4), frame) << "the frame at the top of the face";
    EXPECT_EQ (PixelAt (62, 2), kWhitePixel) << "the corner outside the face";

    view->SetValue (INT32_MAX);
    EXPECT_EQ (PixelAt (87, 12), 0xFFAAAAAAu) << "the old pointer is erased at once";
    EXPECT_EQ (PixelAt (99, 44), frame) << "and the new one drawn";
    const Point anchor = dial.GetAnchorPoint();
    EXPECT_EQ (anchor.v, 44);
    EXPECT_EQ (anchor.h, 99);

    dial.Offset (5, -3);
    const Point moved = dial.GetAnchorPoint();
    EXPECT_EQ (moved.v, 41);
    EXPECT_EQ (moved.h, 104);
}

TEST_F (DialEditors, QuietChangesMoveThePointerForTheNextUpdate)
{
    CDialControlEditor& dial = OpenDial ("cyclical", 0);
    Redraw();
    toolbox.validateWindow (window);
    view->Store (INT32_MAX);
    dial.ValueChangedQuiet();
    EXPECT_EQ (PixelAt (87, 12), PixelOf (kDefaultForeColor)) << "nothing is drawn at once";
    EXPECT_FALSE (toolbox.updateRegion (window).empty());
    EXPECT_EQ (dial.GetAnchorPoint().v, 48) << "the pointer points down";
    toolbox.validateWindow (window);
    dial.ValueChangedQuiet();
    EXPECT_TRUE (toolbox.updateRegion (window).empty()) << "an unmoved pointer asks for nothing";
}

TEST_F (DialEditors, TheFrameTakesTheHighlightsColourWhileTheControlIsHighlighted)
{
    CDialControlEditor& dial = OpenDial ("", 0);
    view->SetHighlighted (true);
    view->SetHighlight (0, 0, nullptr);
    const RGBColor red = dial.GetForeColor();
    EXPECT_EQ (PixelOf (red), 0xFFFF3333u) << "red: colour 4 of the red set";
    view->SetHighlight (7, 0, nullptr);
    EXPECT_EQ (PixelOf (dial.GetForeColor()), PixelOf (kDefaultForeColor)) << "an unknown colour keeps the custom view's";
    view->SetHighlighted (false);
    dial.SetHilite (1);
    EXPECT_EQ (PixelOf (dial.GetForeColor()), PixelOf (kHighlightColor)) << "a dial being turned draws in the highlight blue";
}

TEST_F (DialEditors, ColourSetsOneAndFourFrameTheKnobInTheirOwnBlues)
{
    struct Case
    {
        const char* colourSet;
        uint32_t frame;
    };
    const Case cases[] = { { "", PixelOf (kDefaultForeColor) }, { " 1", 0xFF0066FFu }, { " 4", 0xFF0000AAu }, { " 3", PixelOf (kDefaultForeColor) } };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.colourSet);
        auto dial = Described<CDialControlEditor> (std::string ("! Dial (('Dl02'") + c.colourSet + ") ('NONE'))");
        ASSERT_NE (dial, nullptr);
        EXPECT_EQ (PixelOf (dial->GetForeColor()), c.frame);
    }
    OpenDial ("", 0, { 0, 60, 56, 116 }, " 4");
    Redraw();
    EXPECT_EQ (PixelAt (88, 4), 0xFF0000AAu) << "the frame at the top of the face";
    EXPECT_EQ (PixelAt (87, 12), 0xFF0000AAu) << "and the pointer";
}

} // namespace
