// Custom views: the plate and inverse frames in pixels, grip ridges, draw states of highlighted
// controls, styles, background colours and patterns, and the shared patterns' users.

#include "ViewTestSupport.h"

#include "process/base/FourCharCode.h"
#include "views/custom/CCustomView.h"
#include "views/custom/ColourSets.h"
#include "views/custom/SharedBackPatterns.h"
#include "views/description/ViewFromDescription.h"

namespace
{

// Set 0, lightest first, as the plate draws with it.
const RGBColor kSet0[6] = { { 0xDDDD, 0xDDDD, 0xDDDD }, { 0xBBBB, 0xBBBB, 0xBBBB }, { 0xAAAA, 0xAAAA, 0xAAAA }, { 0x8888, 0x8888, 0x8888 }, { 0x5555, 0x5555, 0x5555 }, { 0x2222, 0x2222, 0x2222 } };
// Set 3, the green one.
const RGBColor kSet3[6] = { { 0xCCCC, 0xFFFF, 0xCCCC }, { 0xCCCC, 0xFFFF, 0x9999 }, { 0x9999, 0xCCCC, 0x9999 }, { 0x6666, 0x9999, 0x6666 }, { 0x3333, 0x6666, 0x3333 }, { 0x0000, 0x3333, 0x0000 } };

// A custom view standing in for a control view: it can be highlighted with a colour.
class HighlightableView : public CCustomView
{
public:
    bool highlighted = false;
    int16_t colour = 0;
    bool IsHighlighted() const override { return highlighted; }
    void GetHighlight (int16_t* outColour, int16_t* extra, uint8_t* text) const override
    {
        *outColour = colour;
        *extra = 0;
        text[0] = 0;
    }
};

class CustomViews : public ViewToolboxTest
{
protected:
    void SetUp() override
    {
        ViewToolboxTest::SetUp();
        root = std::make_unique<LoggingView> ("root", Rect { 0, 0, kHeight, kWidth }, nullptr, kWhite);
        root->SetWindow (window);
    }

    void TearDown() override
    {
        root.reset();
        ViewToolboxTest::TearDown();
    }

    template <class View = CCustomView>
    View& Add (Rect frame)
    {
        auto view = std::make_unique<View>();
        view->SetRect (frame);
        View& added = *view;
        root->AddChild (std::move (view), false);
        added.SetWindow (window);
        return added;
    }

    std::unique_ptr<LoggingView> root;
};

// Pixels of a plate on the frame (T 10, L 20, B 40, R 60), by the colour index that draws them.
struct SFramePixel
{
    int x, y;
    int colour;
};

TEST_F (CustomViews, APlateAndAnInversePlateDrawTheirEdgesWithTheColoursOfTheirSet)
{
    constexpr int L = 20, T = 10, R = 60, B = 40;
    // clang-format off
    const SFramePixel plate[] = {
        { L, T + 5, 0 },     { L + 5, T, 0 },     { L + 1, T + 5, 1 }, { L + 5, T + 1, 1 },
        { L + 5, T + 5, 2 }, { R - 4, B - 4, 2 }, { L + 5, B - 3, 3 }, { R - 3, T + 5, 3 },
        { L + 1, B - 2, 3 }, { R - 2, T + 1, 3 }, { L + 5, B - 2, 4 }, { R - 2, T + 5, 4 },
        { L + 5, B - 1, 5 }, { R - 1, T + 5, 5 }, { L + 1, B - 1, 5 },
    };
    const SFramePixel inverse[] = {
        { L, T + 5, 5 },     { L + 5, T, 5 },     { L + 1, T + 5, 4 }, { L + 5, T + 1, 4 },
        { L + 2, T + 5, 3 }, { L + 5, T + 2, 3 }, { L + 1, B - 2, 3 }, { L + 5, T + 5, 2 },
        { R - 3, B - 3, 2 }, { L + 5, B - 2, 1 }, { R - 2, T + 5, 1 }, { L + 5, B - 1, 0 },
        { R - 1, T + 5, 0 },
    };
    // clang-format on
    struct Case
    {
        const char* name;
        const char* description;
        const SFramePixel* pixels;
        size_t count;
        const RGBColor* colours;
    };
    const Case cases[] = {
        { "plate", "! Background (('Plat' plate))", plate, std::size (plate), kSet0 },
        { "inverse", "! Background (('Invr' inversePlate))", inverse, std::size (inverse), kSet0 },
        { "green plate", "! Background (('Gren' plate 3))", plate, std::size (plate), kSet3 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.name);
        const std::string text = c.description;
        SDialogItem item { { T, L, B, R }, 4, reinterpret_cast<const uint8_t*> (text.data()), text.size() };
        bool ok = false;
        std::unique_ptr<CCustomView> view = CreateViewFromDescription (item, &ok);
        ASSERT_TRUE (ok);
        CCustomView& framed = *view;
        root->AddChild (std::move (view), false);
        framed.SetWindow (window);
        root->Invalidate (nullptr);
        for (size_t i = 0; i < c.count; ++i)
        {
            const SFramePixel& p = c.pixels[i];
            EXPECT_EQ (PixelAt (p.x, p.y), PixelOf (c.colours[p.colour])) << "at " << p.x << "," << p.y << " colour " << p.colour;
        }
        EXPECT_EQ (PixelAt (L - 1, T), kWhitePixel);
        EXPECT_EQ (PixelAt (R, B - 1), kWhitePixel);
        EXPECT_EQ (PixelOf (framed.GetBackColor()), PixelOf (c.colours[2]));
        root->RemoveChild (&framed);
    }
}

TEST_F (CustomViews, FramingKeepsThePortsForeColour)
{
    CCustomView& view = Add ({ 10, 20, 40, 60 });
    view.SetStyle (true, 0, 0);
    HostToolbox().SetPort (window);
    const RGBColor fore { 0x1234, 0x5678, 0x9ABC };
    HostToolbox().RGBForeColor (&fore);
    view.DrawFrame (view.GetRect());
    EXPECT_EQ (PixelOf (toolbox.portState (window).fore), PixelOf (fore));
    EXPECT_EQ (PixelAt (25, 15), PixelOf (kSet0[2]));
}

TEST_F (CustomViews, GripRidgesRunAcrossOrDownTheFace)
{
    constexpr int L = 20, T = 10, R = 60, B = 40;
    struct Case
    {
        uint16_t bits;
        int x, y;
        int colour;
    };
    const Case cases[] = {
        { 0, 25, 13, 2 },
        { kStyleRidgesAcross, 25, 13, 0 },
        { kStyleRidgesAcross, 25, 14, 3 },
        { kStyleRidgesAcross, 25, 15, 2 },
        { kStyleRidgesDown, 23, 20, 0 },
        { kStyleRidgesDown, 24, 20, 3 },
        { kStyleRidgesDown, 25, 20, 2 },
    };
    CCustomView& view = Add ({ T, L, B, R });
    for (const Case& c : cases)
    {
        SCOPED_TRACE (std::to_string (c.bits) + " at " + std::to_string (c.x) + "," + std::to_string (c.y));
        view.SetStyle (true, 0, c.bits);
        EXPECT_EQ (PixelAt (c.x, c.y), PixelOf (kSet0[c.colour]));
    }
}

TEST_F (CustomViews, SettingAStyleRedrawsAndARangeOutsideTheSetsIsRefused)
{
    CCustomView& view = Add ({ 10, 20, 40, 60 });
    root->Invalidate (nullptr);
    EXPECT_EQ (PixelAt (25, 15), kWhitePixel) << "unframed views draw no background of their own";
    view.SetStyle (true, 3, 0);
    EXPECT_EQ (PixelAt (25, 15), PixelOf (kSet3[2]));
    for (int16_t bad : { int16_t (-3), int16_t (7), int16_t (1000) })
    {
        EXPECT_EQ (ThrownCode ([&] { view.SetStyle (false, bad, 1); }), -7400);
        EXPECT_TRUE (view.IsFramed());
        EXPECT_EQ (view.GetColourSetIndex(), 3);
        EXPECT_EQ (view.GetStyleBits(), 0);
    }
}

TEST_F (CustomViews, TheDrawStateFollowsTheHighlight)
{
    HighlightableView& view = Add<HighlightableView> ({ 10, 20, 40, 60 });
    view.SetStyle (true, 4, 0);
    EXPECT_EQ (view.GetDrawState(), 4);
    view.highlighted = true;
    const int16_t expected[] = { 2, 5, 3, 6, 4, 4 };
    for (int16_t colour = 0; colour < 6; ++colour)
    {
        view.colour = colour;
        EXPECT_EQ (view.GetDrawState(), expected[colour]) << "highlight colour " << colour;
    }
    view.SetHilite (1);
    EXPECT_EQ (view.GetDrawState(), 1) << "a view highlighted itself draws with set 1";
    view.SetHilite (0);
    EXPECT_EQ (view.GetDrawState(), 4);
}

TEST_F (CustomViews, FramedViewsAnswerTheSharedPatternOfTheirSetAndOthersTheirParents)
{
    CCustomView& plain = Add ({ 0, 0, 10, 10 });
    EXPECT_EQ (plain.GetBackPattern(), nullptr);
    plain.SetStyle (true, 0, 0);
    ASSERT_NE (GetSharedBackPattern (kPlainBackPatternID), nullptr);
    EXPECT_EQ (plain.GetBackPattern(), GetSharedBackPattern (kPlainBackPatternID));
    plain.SetStyle (true, -1, 0);
    EXPECT_EQ (plain.GetBackPattern(), GetSharedBackPattern (kColouredBackPatternID));
    EXPECT_NE (GetSharedBackPattern (kColouredBackPatternID), nullptr);

    // ApplyBackPattern installs it in the port, RestoreBackPattern puts the port's own back.
    HostToolbox().SetPort (window);
    plain.ApplyBackPattern();
    EXPECT_EQ (toolbox.portState (window).backPattern, GetSharedBackPattern (kColouredBackPatternID));
    plain.RestoreBackPattern();
    EXPECT_EQ (toolbox.portState (window).backPattern, nullptr);
}

TEST_F (CustomViews, SharedPatternsAreCountedOncePerViewAndReleasedOnce)
{
    const size_t before = toolbox.objectCounts().patterns;
    auto first = std::make_unique<CCustomView>();
    EXPECT_EQ (toolbox.objectCounts().patterns, before + 2);

    const std::string text = "! Background (('Desc' plate))";
    SDialogItem item { { 0, 0, 10, 10 }, 4, reinterpret_cast<const uint8_t*> (text.data()), text.size() };
    bool ok = false;
    std::unique_ptr<CCustomView> described = CreateViewFromDescription (item, &ok);
    ASSERT_TRUE (ok);
    EXPECT_EQ (toolbox.objectCounts().patterns, before + 2) << "loaded once for all users";

    first.reset();
    EXPECT_NE (GetSharedBackPattern (kPlainBackPatternID), nullptr) << "the described view still uses them";
    described.reset();
    EXPECT_EQ (GetSharedBackPattern (kPlainBackPatternID), nullptr);
    EXPECT_EQ (toolbox.objectCounts().patterns, before);

    auto again = std::make_unique<CCustomView>();
    EXPECT_EQ (toolbox.objectCounts().patterns, before + 2) << "a later user loads them again";
}

TEST_F (CustomViews, AViewThatFoundNoPatternsReleasesNoneOfALaterUsers)
{
    FSSpec missing {};
    std::strncpy (missing.path, KESTRUNE_VIEW_MODULE ".missing", sizeof missing.path - 1);
    SetPlugInFileSpec (missing);
    auto without = std::make_unique<CCustomView>();
    EXPECT_EQ (GetSharedBackPattern (kPlainBackPatternID), nullptr);

    FSSpec spec {};
    std::strncpy (spec.path, KESTRUNE_VIEW_MODULE, sizeof spec.path - 1);
    SetPlugInFileSpec (spec);
    auto holder = std::make_unique<CCustomView>();
    ASSERT_NE (GetSharedBackPattern (kPlainBackPatternID), nullptr);
    without.reset();
    EXPECT_NE (GetSharedBackPattern (kPlainBackPatternID), nullptr) << "the view that never counted released nothing";
    holder.reset();
    EXPECT_EQ (GetSharedBackPattern (kPlainBackPatternID), nullptr);
}

TEST (ColourSets, SetsOutsideMinusTwoToSixAreRefused)
{
    EXPECT_EQ (ThrownCode ([] { GetColourSet (-3); }), -7400);
    EXPECT_EQ (ThrownCode ([] { GetColourSet (7); }), -7400);
    EXPECT_EQ (GetColourSet (6)[5].red, 0x3333);
    EXPECT_EQ (GetColourSet (0)[0].red, 0xDDDD);
}

TEST (ColourSets, TwelveShadesAreStepsOfAnEleventhOfEachComponent)
{
    // step = component / 11 + 0.5, truncated: 0x8888 gives 3177, 0x1000 gives 372, 0xFFFF 5958.
    const int32_t factors[12] = { 14, 12, 11, 10, 8, 7, 5, 4, 2, 1, 0, 0 };
    const auto shades = ShadesOf ({ 0x8888, 0x1000, 0xFFFF });
    for (size_t i = 0; i < 12; ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_EQ (shades[i].red, std::min (3177 * factors[i], 65535));
        EXPECT_EQ (shades[i].green, 372 * factors[i]);
        EXPECT_EQ (shades[i].blue, std::min (5958 * factors[i], 65535));
    }
}

} // namespace
